#pragma once
#include "common/RegistryKey.h"
#include "common/SettingsKey.h"
#include "monitor/MainUnit/PositionRecord.h"

#include <cstdint>
#include <optional>

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

// The monitor's only way to its settings key, through the one description of its values. Every operation opens
// the key, reads or writes one value and closes it again, so a value that the settings program changed is seen at
// the next read; none of them fails: an unreadable value gives its default and a refused write is dropped. The
// monitor writes no integer.
class SettingsStore {
public:
    // `currentUser` is HKEY_CURRENT_USER or a stand-in for it.
    SettingsStore(RegistryKey& currentUser, MeterWindowPort& meterWindow)
        : m_currentUser(currentUser), m_meterWindow(meterWindow) {}

    std::int32_t ReadSettingInt(const IntSetting& setting);
    bool ReadSettingBool(const SwitchSetting& setting);
    void WriteSettingBool(const SwitchSetting& setting, bool value);
    double ReadSettingFloat(const FloatSetting& setting);
    void WriteSettingFloat(const FloatSetting& setting, double value);
    // The record of the last reservation run; nothing when there is none or it is unusable.
    std::optional<ReservationRecord> ReadLastReservation();

    // Moves the meter window to the stored position, if there is a usable one.
    void LoadPosition();
    // Stores the meter window's placement as the position record.
    void SavePosition();

private:
    // Reads one value, or its default when the key cannot be opened. Even a read creates the key, so the first
    // start of the monitor leaves it in place.
    template <typename T>
    T Read(const Setting<T>& setting);
    template <typename T>
    void Write(const Setting<T>& setting, T value);

    RegistryKey& m_currentUser;
    MeterWindowPort& m_meterWindow;
};

} // namespace qn
