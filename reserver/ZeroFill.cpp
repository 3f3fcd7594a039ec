#include "reserver/ZeroFill.h"

#include <algorithm>

namespace qn {
namespace {

// What the threads of one fill share; it lives on the frame of ZeroFill, which outlasts every helper.
struct FillState {
    std::byte* block;
    std::uint64_t bytes;
    std::uint64_t pageBytes;
    std::uint64_t chunkPages;
    std::uint64_t chunkCount;
    std::atomic<std::uint64_t>& written;
    std::atomic<std::uint64_t> nextChunk{0};

    void Work() {
        const std::uint64_t pageCount = (bytes + pageBytes - 1) / pageBytes;
        for (std::uint64_t chunk; (chunk = nextChunk.fetch_add(1, std::memory_order_relaxed)) < chunkCount;) {
            const std::uint64_t firstPage = chunk * chunkPages;
            const std::uint64_t endPage = std::min(firstPage + chunkPages, pageCount);
            // A committed page comes from the system already zero, and what pushes other programs' pages out is
            // the system supplying each page, which it does at the first write to it. So one zero per page leaves
            // the block zero in every byte as surely as writing every byte does, at a fraction of the cost.
            for (std::uint64_t page = firstPage; page < endPage; ++page) {
                block[page * pageBytes] = std::byte{0};
            }
            written.fetch_add(std::min(endPage * pageBytes, bytes) - firstPage * pageBytes, std::memory_order_relaxed);
        }
    }
};

// Waits for the helpers however the fill is left: they use the state on its frame.
class JoinOnExit {
public:
    explicit JoinOnExit(FillThreadStarter& starter) : m_starter(starter) {}
    JoinOnExit(const JoinOnExit&) = delete;
    JoinOnExit& operator=(const JoinOnExit&) = delete;
    ~JoinOnExit() { m_starter.JoinAll(); }

private:
    FillThreadStarter& m_starter;
};

} // namespace

unsigned FillThreadCount(unsigned logicalProcessors) {
    return std::clamp(logicalProcessors, 1u, kMaxFillThreads);
}

void ZeroFill(std::byte* block, std::uint64_t bytes, std::uint64_t pageBytes, unsigned threadCount,
              FillThreadStarter& starter, std::atomic<std::uint64_t>& written, std::uint64_t chunkBytes) {
    const std::uint64_t chunkPages = std::max<std::uint64_t>(chunkBytes / pageBytes, 1);
    const std::uint64_t chunkBytesWhole = chunkPages * pageBytes;
    FillState state{block, bytes, pageBytes, chunkPages, (bytes + chunkBytesWhole - 1) / chunkBytesWhole, written};
    // The calling thread is one of them; never more threads than chunks.
    const std::uint64_t threads = std::min<std::uint64_t>(threadCount, state.chunkCount);
    const JoinOnExit join(starter);
    for (std::uint64_t i = 1; i < threads; ++i) {
        // The work is one pointer, which std::function holds without an allocation of its own. A helper that
        // cannot be started is no failure: its chunks stay for the threads that run.
        starter.Start([fill = &state] { fill->Work(); });
    }
    state.Work();
}

} // namespace qn
