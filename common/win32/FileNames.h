#pragma once
#include "common/AutoStart.h"

namespace qn::win32 {

// File names as Windows sees them: environment strings expanded by the system, and paths compared after their
// short 8.3 names are taken for the long ones, letter case ignored the way NTFS ignores it (CompareStringOrdinal,
// not the locale's rules).
class Win32FileNames final : public FileNamePort {
public:
    std::string ExpandEnvironment(std::string_view text) override;
    bool SameFile(std::string_view a, std::string_view b) override;
};

} // namespace qn::win32
