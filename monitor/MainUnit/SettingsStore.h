#pragma once
#include "common/RegistryKey.h"
#include "common/RegistryValues.h"
#include "common/SettingsKey.h"
#include "monitor/MainUnit/PositionRecord.h"

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

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
// the next read; none of them fails: an unreadable value gives its default and a refused write is dropped.
class SettingsStore {
public:
    // `currentUser` is HKEY_CURRENT_USER or a stand-in for it.
    SettingsStore(RegistryKey& currentUser, MeterWindowPort& meterWindow)
        : m_currentUser(currentUser), m_meterWindow(meterWindow) {}

    // Reads one value, or its default when the key cannot be opened. A read opens the key to be read only and
    // never creates it; a write creates it, until StopCreatingKey.
    template <typename T>
    auto Read(const Setting<T>& setting) {
        using Value = decltype(ReadSetting(std::declval<RegistryKey&>(), setting));
        const auto key = Key(ValueAccess::Query);
        return key ? ReadSetting(*key, setting) : Value(setting.defaultValue);
    }
    template <typename T>
    void Write(const Setting<T>& setting, std::type_identity_t<T> value) {
        const auto key = Key(ValueAccess::Set);
        if (!key || !WriteSetting(*key, setting, value)) {
            TraceRefusedWrite(setting.name);
        }
    }
    // The record of the last reservation run; nothing when there is none or it is unusable.
    std::optional<ReservationRecord> ReadLastReservation();

    // The stored values of these names exactly as they are, absent ones as absent, and putting them back so.
    std::vector<ValueSnapshot> Snapshot(std::initializer_list<std::string_view> names);
    void Restore(const std::vector<ValueSnapshot>& snapshots);

    // Makes sure the key exists, so that the first start leaves it in place even where it writes nothing.
    void CreateKey();
    // Moves the meter window to the stored position, if there is a usable one.
    void LoadPosition();

    // From the monitor's end on, reads and writes use the key only while it exists: the removal tool deletes it
    // while the monitor runs, and the product once removed must leave no key behind.
    void StopCreatingKey() { m_mayCreateKey = false; }
    // Stores the meter window's placement as the position record, into the key only while it exists: it is
    // stored as the monitor ends.
    void SavePosition();

private:
    // The settings key, created where that is still allowed, or else opened with `access` when it exists.
    std::unique_ptr<RegistryKey> Key(ValueAccess access);
    void TraceRefusedWrite(std::string_view name) const;

    RegistryKey& m_currentUser;
    MeterWindowPort& m_meterWindow;
    bool m_mayCreateKey = true;
};

} // namespace qn
