#include "monitor/MainUnit/SettingsStore.h"

#include "common/RegistryValues.h"
#include "common/SettingsKey.h"

namespace qn {

std::int32_t SettingsStore::ReadSettingInt(std::string_view name) {
    // Even a read creates the key, so the first start of the monitor leaves it in place.
    const auto key = m_currentUser.CreateSubkey(kSettingsKeyPath);
    return key ? ReadDword(*key, name).value_or(0) : 0;
}

bool SettingsStore::ReadSettingBool(std::string_view name) {
    return ReadSettingInt(name) != 0;
}

void SettingsStore::WriteSettingBool(std::string_view name, bool value) {
    if (const auto key = m_currentUser.CreateSubkey(kSettingsKeyPath)) {
        WriteDword(*key, name, value ? 1 : 0);
    }
}

double SettingsStore::ReadSettingFloat(std::string_view name) {
    const auto key = m_currentUser.CreateSubkey(kSettingsKeyPath);
    return key ? ReadFloat64(*key, name).value_or(0.0) : 0.0;
}

void SettingsStore::WriteSettingFloat(std::string_view name, double value) {
    if (const auto key = m_currentUser.CreateSubkey(kSettingsKeyPath)) {
        WriteFloat64(*key, name, value);
    }
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
            record = ReadText(*key, setting::kPosition).value_or(std::string());
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
        WriteText(*key, setting::kPosition, FormatPositionRecord(*placement));
    }
}

} // namespace qn
