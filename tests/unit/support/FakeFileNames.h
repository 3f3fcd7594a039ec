#pragma once
// File names for the portable tests: environment strings from a table, paths alike when they differ at most in
// the case of the letters A to Z (the system's own comparison, with short names and every letter's case, is the
// Win32 side's, tested under Wine).
#include "common/AutoStart.h"

#include <map>
#include <string>

namespace qn::fake {

class FileNames final : public FileNamePort {
public:
    std::map<std::string, std::string> environment; // by name in upper case

    std::string ExpandEnvironment(std::string_view text) override {
        std::string result;
        std::size_t i = 0;
        while (i < text.size()) {
            const std::size_t open = text.find('%', i);
            const std::size_t close = open == std::string_view::npos ? open : text.find('%', open + 1);
            if (close == std::string_view::npos) {
                break;
            }
            const auto found = environment.find(Upper(text.substr(open + 1, close - open - 1)));
            result += text.substr(i, open - i);
            result += found == environment.end() ? std::string(text.substr(open, close - open + 1)) : found->second;
            i = close + 1;
        }
        return result + std::string(text.substr(std::min(i, text.size())));
    }
    bool SameFile(std::string_view a, std::string_view b) override { return Upper(a) == Upper(b); }

    static std::string Upper(std::string_view text) {
        std::string upper(text);
        for (char& c : upper) {
            if (c >= 'a' && c <= 'z') {
                c = static_cast<char>(c - 'a' + 'A');
            }
        }
        return upper;
    }
};

} // namespace qn::fake
