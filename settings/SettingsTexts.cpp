#include "settings/SettingsTexts.h"

#include "common/Language.h"

namespace qn {

const SettingsTextSet& SettingsTexts() {
    return InTextLanguage(kSettingsJapanese, kSettingsEnglish);
}

} // namespace qn
