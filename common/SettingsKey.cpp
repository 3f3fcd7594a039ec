#include "common/SettingsKey.h"

#include "common/RegistryValues.h"

namespace qn {

std::int32_t ReadSetting(RegistryKey& key, const IntSetting& setting) {
    return ReadDword(key, setting.name).value_or(setting.defaultValue);
}

bool ReadSetting(RegistryKey& key, const SwitchSetting& setting) {
    const auto value = ReadDword(key, setting.name);
    return value ? *value != 0 : setting.defaultValue;
}

double ReadSetting(RegistryKey& key, const FloatSetting& setting) {
    return ReadFloat64(key, setting.name).value_or(setting.defaultValue);
}

std::string ReadSetting(RegistryKey& key, const TextSetting& setting) {
    return ReadText(key, setting.name).value_or(std::string(setting.defaultValue));
}

bool WriteSetting(RegistryKey& key, const IntSetting& setting, std::int32_t value) {
    return WriteDword(key, setting.name, value);
}

bool WriteSetting(RegistryKey& key, const SwitchSetting& setting, bool value) {
    return WriteDword(key, setting.name, value ? 1 : 0);
}

bool WriteSetting(RegistryKey& key, const FloatSetting& setting, double value) {
    return WriteFloat64(key, setting.name, value);
}

bool WriteSetting(RegistryKey& key, const TextSetting& setting, std::string_view value) {
    return WriteText(key, setting.name, value);
}

} // namespace qn
