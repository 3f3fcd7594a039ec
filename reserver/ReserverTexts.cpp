#include "reserver/ReserverTexts.h"

namespace qn {

const ReserverTextSet& ReserverTexts() {
    return kReserverJapanese;
}

} // namespace qn
