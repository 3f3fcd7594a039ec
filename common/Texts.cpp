#include "common/Texts.h"

#include "common/Language.h"

namespace qn {

const SharedTextSet& SharedTexts() {
    return InTextLanguage(kSharedJapanese, kSharedEnglish);
}

} // namespace qn
