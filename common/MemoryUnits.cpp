#include "common/MemoryUnits.h"

#include <limits>

namespace qn {

std::int32_t BytesToKilobytesRounded(std::uint64_t bytes) {
    std::uint64_t kilobytes = bytes / kKilobyte;
    const std::uint64_t remainder = bytes % kKilobyte;
    if (remainder > kKilobyte / 2 || (remainder == kKilobyte / 2 && kilobytes % 2 == 1)) {
        ++kilobytes;
    }
    constexpr auto kMax = static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max());
    return static_cast<std::int32_t>(kilobytes > kMax ? kMax : kilobytes);
}

} // namespace qn
