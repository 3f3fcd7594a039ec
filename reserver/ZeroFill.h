#pragma once
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>

namespace qn {

// More threads than this only queue for the same memory bus.
inline constexpr unsigned kMaxFillThreads = 32;
// The threads take the block in chunks of this size from one shared counter, so that a core busy with other work
// holds up at most one chunk at the end, and add to the progress counter once per chunk.
inline constexpr std::uint64_t kFillChunkBytes = 16 * 1024 * 1024;

// One thread per logical processor, at least one, at most kMaxFillThreads.
unsigned FillThreadCount(unsigned logicalProcessors);

// Starts the helper threads of one fill.
class FillThreadStarter {
public:
    virtual ~FillThreadStarter() = default;
    // Runs `work` on a new thread; false when the system cannot start one or cannot allocate what it needs.
    virtual bool Start(std::function<void()> work) = 0;
    // Waits until every thread started so far has ended.
    virtual void JoinAll() = 0;
};

// Writes one zero into every page of `block` (pages of `pageBytes`, counted from its start), from the first page
// to the last, on `threadCount` threads, the calling thread among them, each taking the next chunk of the block
// until none is left; a thread that cannot be started leaves its work to the others. `written` grows by the
// bytes of each chunk done. Returns, or throws what a start threw, only once every helper started has ended.
void ZeroFill(std::byte* block, std::uint64_t bytes, std::uint64_t pageBytes, unsigned threadCount,
              FillThreadStarter& starter, std::atomic<std::uint64_t>& written,
              std::uint64_t chunkBytes = kFillChunkBytes);

} // namespace qn
