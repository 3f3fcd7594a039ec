#pragma once
// File names for the portable tests: %ProgramFiles% is "C:\Program Files", and paths are alike when they differ at
// most in the case of the letters A to Z (the system's own comparison is the Win32 side's, tested under Wine).
#include "common/AutoStart.h"
#include "tests/unit/support/FakeRegistry.h"

namespace qn::fake {

class FileNames final : public FileNamePort {
public:
    std::string ExpandEnvironment(std::string_view text) override {
        std::string result(text);
        const std::string_view name = "%ProgramFiles%";
        for (std::size_t at; (at = result.find(name)) != std::string::npos;) {
            result.replace(at, name.size(), "C:\\Program Files");
        }
        return result;
    }
    bool SameFile(std::string_view a, std::string_view b) override { return Lower(a) == Lower(b); }
};

} // namespace qn::fake
