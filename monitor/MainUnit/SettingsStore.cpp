#include "monitor/MainUnit/SettingsStore.h"

#include "common/RegistryValues.h"
#include "common/SettingsKey.h"
#include "common/Trace.h"

namespace qn {

std::unique_ptr<RegistryKey> SettingsStore::Key(ValueAccess access) {
    // Only the rights the step needs, and only a write creates the key: where a policy leaves the key readable but
    // not writable, full access would be refused and every value would read as its default.
    const bool create = m_mayCreateKey && access == ValueAccess::Set;
    auto key = create ? m_currentUser.CreateSubkeyFor(kSettingsKeyPath, access)
                      : m_currentUser.OpenSubkeyFor(kSettingsKeyPath, access).key;
    if (!key) {
        Trace(create ? TraceLevel::Warning : TraceLevel::Info, "settings key cannot be opened");
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

void SettingsStore::CreateKey() {
    // Asked for with read rights only: an existing key that a policy keeps read-only still opens, and stays as it is.
    if (m_mayCreateKey && !m_currentUser.CreateSubkeyFor(kSettingsKeyPath, ValueAccess::Query)) {
        Trace(TraceLevel::Info, "settings key cannot be created");
    }
}

void SettingsStore::LoadPosition() {
    std::string record;
    {
        // Only the parent is created; both are opened to be read only, as every read is.
        const auto parent = m_currentUser.CreateSubkeyFor(kSettingsParentPath, ValueAccess::Query);
        if (!parent) {
            return;
        }
        if (const auto key = parent->OpenSubkeyFor(kSettingsSubkeyName, ValueAccess::Query).key) {
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

} // namespace qn
