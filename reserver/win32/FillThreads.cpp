#include "reserver/win32/FillThreads.h"

#include <windows.h>

#include <memory>

namespace qn::win32 {
namespace {

DWORD WINAPI ThreadMain(void* parameter) {
    const std::unique_ptr<std::function<void()>> work(static_cast<std::function<void()>*>(parameter));
    (*work)();
    return 0;
}

} // namespace

UniqueHandle StartThread(std::function<void()> work, std::size_t stackBytes) {
    auto owned = std::make_unique<std::function<void()>>(std::move(work));
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

unsigned LogicalProcessorCount() {
    SYSTEM_INFO info{};
    ::GetSystemInfo(&info);
    return info.dwNumberOfProcessors;
}

} // namespace qn::win32
