#pragma once
#include <string_view>

namespace qn {

// The product's programs, as they are named in the one folder they are installed in together. Windows compares
// file names regardless of case; where a command line or a dialog names one, it keeps the spelling it has always
// had there.
inline constexpr std::string_view kReserverFile = "Qelto.exe";
inline constexpr std::string_view kMonitorFile = "Mossik.exe";
inline constexpr std::string_view kSettingsProgramFile = "Dunfel.exe";
inline constexpr std::string_view kRemoverFile = "Kolvane.exe";
inline constexpr std::string_view kProductPrograms[] = {kReserverFile, kMonitorFile, kSettingsProgramFile,
                                                        kRemoverFile};

} // namespace qn
