#include "settings/SettingsTexts.h"

namespace qn {

const SettingsTextSet& SettingsTexts() {
    return kSettingsJapanese;
}

} // namespace qn
