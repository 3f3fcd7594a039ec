#include "common/Language.h"

#include "common/SettingsKey.h"

namespace qn {
namespace {

Language g_textLanguage = Language::Japanese;

} // namespace

Language ChooseLanguage(std::int32_t stored, bool windowsIsJapanese) {
    if (stored == setting::kLanguageJapanese) {
        return Language::Japanese;
    }
    if (stored == setting::kLanguageEnglish) {
        return Language::English;
    }
    return windowsIsJapanese ? Language::Japanese : Language::English;
}

std::int32_t StoredLanguage(RegistryKey& currentUser) {
    const auto key = currentUser.OpenSubkeyFor(kSettingsKeyPath, ValueAccess::Query).key;
    return key ? ReadSetting(*key, setting::kLanguage) : setting::kLanguage.defaultValue;
}

Language TextLanguage() {
    return g_textLanguage;
}

void SetTextLanguage(Language language) {
    g_textLanguage = language;
}

} // namespace qn
