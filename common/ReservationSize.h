#pragma once
#include "common/MemoryUnits.h"

#include <cstdint>

namespace qn {

// How much one run of the reservation tool takes: the default size, and the smaller size of an automatic run of
// the monitor where the user set a target of free memory. The reservation tool and the monitor both work it out
// here, so that the monitor never asks for more than the tool would take by default.

// The size the default aims at: the whole megabytes of total physical memory plus one.
std::uint64_t WantedDefaultSizeMB(const MemoryStatus& status);

// The default size: the wanted size, as far as one block of `obtainableMB` can be had in this process and as far
// as the commit left after it stays at max(256 MB, a tenth of the commit limit) besides the run's own needs;
// within the signed 32-bit size. 0 where that leaves nothing: the run then reserves nothing.
std::int32_t DefaultSizeMB(const MemoryStatus& status, std::uint64_t obtainableMB);

// What an automatic run does where a target of free memory may be set.
enum class TargetRun {
    DefaultSize, // no usable target: the run reserves the default size, as without one
    Skip,        // free memory is at the target already: there is nothing to free
    Sized,       // the run reserves the size given
};
struct TargetRunSize {
    TargetRun run = TargetRun::DefaultSize;
    std::int32_t sizeMB = 0; // for Sized only, more than 0
};

// The size of an automatic run that frees memory up to `targetMB` (0 or less: no target) where `freeBytes` are
// free now: the shortfall plus a margin of max(64 MB, 1 % of the target), in whole megabytes rounded up, never more
// than `defaultSizeMB`. Windows fills the block from free pages first, then from the cache, then from the oldest
// pages of working sets, so a block of the shortfall pushes out only what was used least recently.
// A target at or below `highestThresholdKB`, the higher of the low-memory thresholds that are on, is no target:
// a run that stopped there would leave memory low.
TargetRunSize SizeForTarget(std::int32_t targetMB, std::int32_t highestThresholdKB, std::uint64_t freeBytes,
                            std::int32_t defaultSizeMB);

} // namespace qn
