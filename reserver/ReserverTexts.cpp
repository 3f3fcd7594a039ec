#include "reserver/ReserverTexts.h"

#include "common/Language.h"

namespace qn {

const ReserverTextSet& ReserverTexts() {
    return InTextLanguage(kReserverJapanese, kReserverEnglish);
}

} // namespace qn
