#pragma once
#include "monitor/MainUnit/MonitorPorts.h"
#include "monitor/MainUnit/SettingsStore.h"

namespace qn {

// The monitor's settings as its logic reaches them: the settings store behind the logic's port.
class StoredSettings final : public MonitorSettings {
public:
    explicit StoredSettings(SettingsStore& store) : m_store(store) {}

    std::int32_t ReadSettingInt(std::string_view name) override { return m_store.ReadSettingInt(name); }
    bool ReadSettingBool(std::string_view name) override { return m_store.ReadSettingBool(name); }
    void WriteSettingBool(std::string_view name, bool value) override { m_store.WriteSettingBool(name, value); }
    double ReadSettingFloat(std::string_view name) override { return m_store.ReadSettingFloat(name); }
    void WriteSettingFloat(std::string_view name, double value) override { m_store.WriteSettingFloat(name, value); }
    void LoadPosition() override { m_store.LoadPosition(); }
    void SavePosition() override { m_store.SavePosition(); }

private:
    SettingsStore& m_store;
};

} // namespace qn
