#pragma once
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

namespace qn {

// More threads than this only queue for the same memory bus.
inline constexpr unsigned kMaxFillThreads = 32;
// The fill threads add to the progress counter once per this many bytes, so that counting costs nothing.
inline constexpr std::uint64_t kFillChunkBytes = 4 * 1024 * 1024;
// Slices start on page boundaries, so that no two threads write into the same page.
inline constexpr std::uint64_t kFillSliceAlignment = 64 * 1024;

// One thread per logical processor, at least one, at most kMaxFillThreads.
unsigned FillThreadCount(unsigned logicalProcessors);

// A part of the block that one thread writes: `size` bytes from `offset`.
struct FillSlice {
    std::uint64_t offset = 0;
    std::uint64_t size = 0;
    bool operator==(const FillSlice&) const = default;
};

// Splits `bytes` into at most `count` consecutive slices that start at multiples of `alignment` and differ in size
// by at most one alignment unit, the last one taking the remainder; never an empty slice.
std::vector<FillSlice> SliceBlock(std::uint64_t bytes, unsigned count, std::uint64_t alignment);

// Starts the helper threads of one fill.
class FillThreadStarter {
public:
    virtual ~FillThreadStarter() = default;
    // Runs `work` on a new thread; false when the system cannot start one.
    virtual bool Start(std::function<void()> work) = 0;
    // Waits until every thread started so far has ended.
    virtual void JoinAll() = 0;
};

// Writes zero over every byte of `block` on `threadCount` threads, the calling thread among them, each taking its
// own slice and then any slice still left; a thread that cannot be started leaves its slice to the others.
// `written` grows by each chunk written. Returns once every byte is written and every helper has ended.
void ZeroFill(std::byte* block, std::uint64_t bytes, unsigned threadCount, FillThreadStarter& starter,
              std::atomic<std::uint64_t>& written, std::uint64_t chunkBytes = kFillChunkBytes);

} // namespace qn
