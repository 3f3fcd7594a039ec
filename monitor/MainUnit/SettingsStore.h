#pragma once
#include "monitor/MainUnit/PositionRecord.h"
#include "common/RegistryKey.h"

#include <cstdint>
#include <optional>
#include <string_view>

namespace qn {

// What the settings store needs of the meter window: where it is, and moving it.
class MeterWindowPort {
public:
    virtual ~MeterWindowPort() = default;
    // The window's placement; nothing when it cannot be read.
    virtual std::optional<WindowPlacement> GetPlacement() = 0;
    // Moves the window's normal rectangle to `left` and, when given, `top`, in the coordinates that
    // GetPlacement reports, keeping its size.
    virtual void ApplyPosition(std::int32_t left, std::optional<std::int32_t> top) = 0;
};

// The monitor's only way to its settings key. Every operation opens the key, reads or writes one value and
// closes it again, so a value that the settings program changed is seen at the next read; none of them
// fails: an unreadable value gives its default and a refused write is dropped.
class SettingsStore {
public:
    // `currentUser` is HKEY_CURRENT_USER or a stand-in for it.
    SettingsStore(RegistryKey& currentUser, MeterWindowPort& meterWindow)
        : m_currentUser(currentUser), m_meterWindow(meterWindow) {}

    std::int32_t ReadSettingInt(std::string_view name);
    bool ReadSettingBool(std::string_view name);
    void WriteSettingBool(std::string_view name, bool value);
    double ReadSettingFloat(std::string_view name);
    void WriteSettingFloat(std::string_view name, double value);

    // Moves the meter window to the stored position, if there is a usable one.
    void LoadPosition();
    // Stores the meter window's placement as the position record.
    void SavePosition();

private:
    RegistryKey& m_currentUser;
    MeterWindowPort& m_meterWindow;
};

} // namespace qn
