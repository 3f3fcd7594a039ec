#include "monitor/MainUnit/SettingsStore.h"

#include "common/RegistryValues.h"
#include "common/SettingsKey.h"
#include "common/Trace.h"

namespace qn {

std::unique_ptr<RegistryKey> SettingsStore::Key(ValueAccess access) {
    auto key = m_mayCreateKey ? m_currentUser.CreateSubkey(kSettingsKeyPath)
                              : m_currentUser.OpenSubkeyFor(kSettingsKeyPath, access).key;
    if (!key) {
        Trace(m_mayCreateKey ? TraceLevel::Warning : TraceLevel::Info, "settings key cannot be opened");
    }
    return key;
}

void SettingsStore::TraceRefusedWrite(std::string_view name) const {
    Trace(TraceLevel::Warning, "settings value not written: " + std::string(name));
}

std::optional<ReservationRecord> SettingsStore::ReadLastReservation() {
    const auto key = Key(ValueAccess::Query);
    return key ? ReadSetting(*key, setting::kLastReservation) : std::nullopt;
}

void SettingsStore::LoadPosition() {
    std::string record;
    {
        // Only the parent is created: the settings key itself comes into being with the first value read.
        const auto parent = m_currentUser.CreateSubkey(kSettingsParentPath);
        if (!parent) {
            return;
        }
        if (const auto key = parent->OpenSubkey(kSettingsSubkeyName)) {
            record = ReadSetting(*key, setting::kMeterPosition);
        }
    }
    if (const auto position = ReadPositionRecord(record)) {
        m_meterWindow.ApplyPosition(position->left, position->top);
    }
}

std::vector<ValueSnapshot> SettingsStore::Snapshot(std::initializer_list<std::string_view> names) {
    std::vector<ValueSnapshot> snapshots;
    if (const auto key = Key(ValueAccess::Query)) {
        for (const std::string_view name : names) {
            snapshots.push_back(TakeSnapshot(*key, name));
        }
    }
    return snapshots;
}

void SettingsStore::Restore(const std::vector<ValueSnapshot>& snapshots) {
    if (const auto key = Key(ValueAccess::Set)) {
        for (const ValueSnapshot& snapshot : snapshots) {
            RestoreSnapshot(*key, snapshot);
        }
    }
}

void SettingsStore::SavePosition() {
    const auto placement = m_meterWindow.GetPlacement();
    if (!placement) {
        return;
    }
    const auto key = m_currentUser.OpenSubkeyFor(kSettingsKeyPath, ValueAccess::Set).key;
    if (!key || !WriteSetting(*key, setting::kMeterPosition, FormatPositionRecord(*placement))) {
        TraceRefusedWrite(setting::kMeterPosition.name);
    }
}

DateTime ReadHandoverNote(RegistryKey& currentUser) {
    const auto key = currentUser.OpenSubkeyFor(kSettingsKeyPath, ValueAccess::Query).key;
    return key ? ReadSetting(*key, setting::kHandoverTime) : setting::kHandoverTime.defaultValue;
}

} // namespace qn
