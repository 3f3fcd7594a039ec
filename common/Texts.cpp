#include "common/Texts.h"

namespace qn {

const SharedTextSet& SharedTexts() {
    return kSharedJapanese;
}

} // namespace qn
