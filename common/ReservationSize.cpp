#include "common/ReservationSize.h"

#include <algorithm>
#include <limits>

namespace qn {
namespace {

// Commit the default size leaves to the rest of the machine: this much at least, or a tenth of the commit limit.
constexpr std::uint64_t kLeftCommitFloorMB = 256;
constexpr std::uint64_t kLeftCommitShareDivisor = 10;
// What the run itself commits besides the block: thread stacks, the progress window, heap.
constexpr std::uint64_t kOwnUseMB = 64;

// What a target run takes beyond the shortfall: free memory moves while the run starts, and other programs take
// some of what it frees at once.
constexpr std::uint64_t kTargetMarginFloorMB = 64;
constexpr std::uint64_t kTargetMarginShareDivisor = 100;

} // namespace

std::uint64_t WantedDefaultSizeMB(const MemoryStatus& status) {
    return WholeMegabytes(status.totalPhys) + 1;
}

std::int32_t DefaultSizeMB(const MemoryStatus& status, std::uint64_t obtainableMB) {
    // Filling the block takes the whole of it from the commit left: other programs' allocations would fail, and
    // data be lost, if nothing were left for them while it lasts.
    const std::uint64_t kept =
        std::max(kLeftCommitFloorMB * kMegabyte, status.commitLimit / kLeftCommitShareDivisor) + kOwnUseMB * kMegabyte;
    const std::uint64_t commitRoomMB = status.commitAvail > kept ? WholeMegabytes(status.commitAvail - kept) : 0;
    return static_cast<std::int32_t>(std::min({WantedDefaultSizeMB(status), obtainableMB, commitRoomMB,
                                               static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max())}));
}

TargetRunSize SizeForTarget(std::int32_t targetMB, std::int32_t highestThresholdKB, std::uint64_t freeBytes,
                            std::int32_t defaultSizeMB) {
    if (targetMB <= 0 || std::int64_t{targetMB} * 1024 <= highestThresholdKB) {
        return {};
    }
    const std::uint64_t target = static_cast<std::uint64_t>(targetMB) * kMegabyte;
    if (freeBytes >= target) {
        return {TargetRun::Skip};
    }
    // Where the default takes nothing, neither does a target run: the tool is left to find that out itself.
    if (defaultSizeMB <= 0) {
        return {};
    }
    const std::uint64_t margin = std::max(kTargetMarginFloorMB * kMegabyte, target / kTargetMarginShareDivisor);
    const std::uint64_t sizeMB = (target - freeBytes + margin + kMegabyte - 1) / kMegabyte;
    return {TargetRun::Sized, static_cast<std::int32_t>(std::min(sizeMB, static_cast<std::uint64_t>(defaultSizeMB)))};
}

} // namespace qn
