#include "remover/RemoverTexts.h"

#include "common/Language.h"

namespace qn {

const RemoverTextSet& RemoverTexts() {
    return InTextLanguage(kRemoverJapanese, kRemoverEnglish);
}

} // namespace qn
