#include "remover/RemoverTexts.h"

namespace qn {

const RemoverTextSet& RemoverTexts() {
    return kRemoverJapanese;
}

} // namespace qn
