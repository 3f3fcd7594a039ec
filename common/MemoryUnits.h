#pragma once
#include <cstdint>

namespace qn {

inline constexpr std::uint64_t kKilobyte = 1024;
inline constexpr std::uint64_t kMegabyte = 1024 * 1024;

// Physical memory and commit as the system reports them, in bytes; 64-bit, so figures of many GiB stay exact.
struct MemoryStatus {
    std::uint64_t totalPhys = 0;
    std::uint64_t availPhys = 0;
    // The commit limit (physical memory plus page files) and what of it is not yet committed by any process:
    // once that reaches zero, every program's allocations fail.
    std::uint64_t commitLimit = 0;
    std::uint64_t commitAvail = 0;
};

// A byte count in megabytes, the fraction kept.
inline double BytesToMegabytes(std::uint64_t bytes) {
    return static_cast<double>(bytes) / static_cast<double>(kMegabyte);
}

// The whole megabytes of a byte count, the fraction dropped.
inline constexpr std::uint64_t WholeMegabytes(std::uint64_t bytes) {
    return bytes / kMegabyte;
}

// A byte count in kilobytes, rounded to the nearest integer with halves to even, capped at the largest signed
// 32-bit value (2 TiB), which is as far as the kilobyte figures of the monitor reach.
std::int32_t BytesToKilobytesRounded(std::uint64_t bytes);

} // namespace qn
