#include "reserver/win32/FillThreads.h"

#include <windows.h>

#include <memory>
#include <new>

namespace qn::win32 {
namespace {

DWORD WINAPI ThreadMain(void* parameter) {
    const std::unique_ptr<std::function<void()>> work(static_cast<std::function<void()>*>(parameter));
    (*work)();
    return 0;
}

} // namespace

UniqueHandle StartThread(std::function<void()> work, std::size_t stackBytes) {
    std::unique_ptr<std::function<void()>> owned;
    try {
        owned = std::make_unique<std::function<void()>>(std::move(work));
    } catch (const std::bad_alloc&) {
        // Commit is short exactly when a fill runs: work that cannot be handed over is a thread not started.
        return UniqueHandle();
    }
    UniqueHandle thread(
        ::CreateThread(nullptr, stackBytes, &ThreadMain, owned.get(), STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr));
    if (thread) {
        owned.release(); // the thread owns it now
    }
    return thread;
}

FillThreads::~FillThreads() {
    JoinAll();
}

bool FillThreads::Start(std::function<void()> work) {
    // Room for the handle before the thread exists: a thread that runs must be waited for.
    try {
        m_threads.reserve(m_threads.size() + 1);
    } catch (const std::bad_alloc&) {
        return false;
    }
    // A zero fill needs next to no stack.
    UniqueHandle thread = StartThread(std::move(work), 64 * 1024);
    if (!thread) {
        return false;
    }
    m_threads.push_back(std::move(thread));
    return true;
}

void FillThreads::JoinAll() {
    for (const UniqueHandle& thread : m_threads) {
        ::WaitForSingleObject(thread.get(), INFINITE);
    }
    m_threads.clear();
}

namespace {

SYSTEM_INFO SystemInfo() {
    SYSTEM_INFO info{};
    ::GetSystemInfo(&info);
    return info;
}

} // namespace

unsigned LogicalProcessorCount() {
    return SystemInfo().dwNumberOfProcessors;
}

std::uint64_t PageBytes() {
    return SystemInfo().dwPageSize;
}

} // namespace qn::win32
