#include "monitor/MainUnit/SettingsStore.h"

#include "common/RegistryValues.h"
#include "common/SettingsKey.h"

namespace qn {

template <typename T>
T SettingsStore::Read(const Setting<T>& setting) {
    const auto key = m_currentUser.CreateSubkey(kSettingsKeyPath);
    return key ? ReadSetting(*key, setting) : setting.defaultValue;
}

template <typename T>
void SettingsStore::Write(const Setting<T>& setting, T value) {
    if (const auto key = m_currentUser.CreateSubkey(kSettingsKeyPath)) {
        WriteSetting(*key, setting, value);
    }
}

std::int32_t SettingsStore::ReadSettingInt(const IntSetting& setting) {
    return Read(setting);
}

bool SettingsStore::ReadSettingBool(const SwitchSetting& setting) {
    return Read(setting);
}

void SettingsStore::WriteSettingBool(const SwitchSetting& setting, bool value) {
    Write(setting, value);
}

double SettingsStore::ReadSettingFloat(const FloatSetting& setting) {
    return Read(setting);
}

void SettingsStore::WriteSettingFloat(const FloatSetting& setting, double value) {
    Write(setting, value);
}

std::optional<ReservationRecord> SettingsStore::ReadLastReservation() {
    const auto key = m_currentUser.CreateSubkey(kSettingsKeyPath);
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
            record = ReadSetting(*key, setting::kPosition);
        }
    }
    if (const auto position = ReadPositionRecord(record)) {
        m_meterWindow.ApplyPosition(position->left, position->top);
    }
}

void SettingsStore::SavePosition() {
    const auto placement = m_meterWindow.GetPlacement();
    if (!placement) {
        return;
    }
    const auto parent = m_currentUser.CreateSubkey(kSettingsParentPath);
    if (!parent) {
        return;
    }
    if (const auto key = parent->CreateSubkey(kSettingsSubkeyName)) {
        WriteSetting(*key, setting::kPosition, FormatPositionRecord(*placement));
    }
}

} // namespace qn
