#include "reserver/ZeroFill.h"

#include <algorithm>
#include <cstring>

namespace qn {

unsigned FillThreadCount(unsigned logicalProcessors) {
    return std::clamp(logicalProcessors, 1u, kMaxFillThreads);
}

std::vector<FillSlice> SliceBlock(std::uint64_t bytes, unsigned count, std::uint64_t alignment) {
    std::vector<FillSlice> slices;
    const std::uint64_t units = (bytes + alignment - 1) / alignment;
    const std::uint64_t sliceCount = std::min<std::uint64_t>(std::max(count, 1u), units);
    std::uint64_t offset = 0;
    for (std::uint64_t i = 0; i < sliceCount; ++i) {
        // The first `units % sliceCount` slices take one unit more.
        const std::uint64_t sliceUnits = units / sliceCount + (i < units % sliceCount ? 1 : 0);
        const std::uint64_t size = std::min(sliceUnits * alignment, bytes - offset);
        slices.push_back({offset, size});
        offset += size;
    }
    return slices;
}

void ZeroFill(std::byte* block, std::uint64_t bytes, unsigned threadCount, FillThreadStarter& starter,
              std::atomic<std::uint64_t>& written, std::uint64_t chunkBytes) {
    const std::vector<FillSlice> slices = SliceBlock(bytes, threadCount, kFillSliceAlignment);
    std::atomic<std::size_t> nextSlice{0};
    const auto work = [&] {
        for (std::size_t i; (i = nextSlice.fetch_add(1, std::memory_order_relaxed)) < slices.size();) {
            std::byte* const start = block + slices[i].offset;
            for (std::uint64_t done = 0; done < slices[i].size;) {
                const std::uint64_t chunk = std::min(chunkBytes, slices[i].size - done);
                std::memset(start + done, 0, static_cast<std::size_t>(chunk));
                done += chunk;
                written.fetch_add(chunk, std::memory_order_relaxed);
            }
        }
    };
    // A helper that cannot be started is no failure: its slice stays in the queue for the threads that run.
    for (std::size_t i = 1; i < slices.size(); ++i) {
        starter.Start(work);
    }
    work();
    starter.JoinAll();
}

} // namespace qn
