#pragma once
#include "common/win32/UniqueHandle.h"
#include "reserver/ZeroFill.h"

#include <cstdint>
#include <functional>
#include <vector>

namespace qn::win32 {

// The fill's helper threads as system threads with small stacks; the destructor waits for any still running.
class FillThreads final : public FillThreadStarter {
public:
    FillThreads() = default;
    FillThreads(const FillThreads&) = delete;
    FillThreads& operator=(const FillThreads&) = delete;
    ~FillThreads() override;

    bool Start(std::function<void()> work) override;
    void JoinAll() override;

private:
    std::vector<UniqueHandle> m_threads;
};

// The logical processors this process can run on.
unsigned LogicalProcessorCount();

// The size of a page of memory, the unit in which the system supplies it.
std::uint64_t PageBytes();

// Runs `work` on a new thread and returns its handle, or an empty handle when no thread can be started or the
// work cannot be handed over for want of memory.
UniqueHandle StartThread(std::function<void()> work, std::size_t stackBytes);

} // namespace qn::win32
