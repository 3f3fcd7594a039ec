#include "reserver/win32/ReserverPlatform.h"

#include "common/PathUtil.h"
#include "common/Trace.h"
#include "common/win32/ProcessInfo.h"
#include "common/win32/Registry.h"
#include "common/win32/ShellLaunch.h"
#include "common/win32/SystemClock.h"
#include "common/win32/SystemLocale.h"
#include "common/win32/SystemMemory.h"
#include "reserver/ZeroFill.h"
#include "reserver/win32/FillThreads.h"
#include "reserver/win32/ProgressWindow.h"

#include <windows.h>
#include <shellapi.h>

#include <limits>

namespace qn::win32 {
namespace {

void* ReserveRange(std::uint64_t bytes) {
    if (bytes == 0 || bytes > std::numeric_limits<SIZE_T>::max()) {
        return nullptr;
    }
    return VirtualAlloc(nullptr, static_cast<SIZE_T>(bytes), MEM_RESERVE, PAGE_NOACCESS);
}

} // namespace

std::uint64_t ReserverPlatform::HoldLargestBlockMB(std::uint64_t limitMB) {
    const std::uint64_t sizeMB = LargestReservableMB(limitMB);
    m_held.reset(ReserveRange(sizeMB * kMegabyte));
    m_heldBytes = m_held ? sizeMB * kMegabyte : 0;
    return m_held ? sizeMB : 0;
}

DialogAnswer ReserverPlatform::ShowMessage(const std::string& text, const std::string& title, unsigned style) {
    return m_dialogs.ShowMessage(text, title, style);
}

MemoryStatus ReserverPlatform::QueryMemoryStatus() {
    return win32::QueryMemoryStatus();
}

ReserveOutcome ReserverPlatform::ReserveAndRelease(std::uint64_t bytes, bool showProgress) {
    // The block goes into the range held for it where it fits; otherwise the system is asked afresh.
    ReservedRange block;
    if (m_held && bytes <= m_heldBytes) {
        block = std::move(m_held);
    } else {
        m_held.reset();
        block.reset(ReserveRange(bytes));
    }
    if (!block || !VirtualAlloc(block.get(), static_cast<SIZE_T>(bytes), MEM_COMMIT, PAGE_READWRITE)) {
        return ReserveOutcome{false, reinterpret_cast<std::uintptr_t>(__builtin_return_address(0))};
    }
    std::atomic<std::uint64_t> written{0};
    FillThreads helpers;
    const auto fill = [&] {
        ZeroFill(static_cast<std::byte*>(block.get()), bytes, PageBytes(), FillThreadCount(LogicalProcessorCount()),
                 helpers, written);
    };
    if (showProgress) {
        FillShowingProgress(written, bytes, fill);
    } else {
        fill();
    }
    // The block is released right below; this keeps the compiler from treating the zero fill as dead stores.
    asm volatile("" : : "r"(block.get()) : "memory");
    block.reset(); // MEM_RELEASE: the pages go back to the system before the free memory is measured
    return ReserveOutcome{true, 0};
}

NumberSeparators ReserverPlatform::Separators() {
    return SystemNumberSeparators();
}

std::string ReserverPlatform::ProgramFileName() {
    return FileNameOf(ModuleFileName());
}

std::string ReserverPlatform::ProgramPath() {
    return ModuleFileName();
}

void ReserverPlatform::Open(const std::string& path) {
    // The monitor that handed over comes back without the download question; what a user named keeps it.
    const bool ours = IsProductProgram(path, ModuleFileName());
    const std::intptr_t result = ShellOpen("open", path, "", "", SW_SHOW, ours ? ZoneCheck::Skip : ZoneCheck::Check);
    if (result <= SE_ERR_DLLNOTFOUND) {
        Trace(TraceLevel::Warning, "not opened: " + path, static_cast<std::uint32_t>(result));
    }
}

} // namespace qn::win32

namespace qn::win32 {

DateTime ReserverPlatform::Now() {
    return win32::Now();
}

std::uint64_t ReserverPlatform::SteadyMilliseconds() {
    return GetTickCount64();
}

void ReserverPlatform::StoreRecord(const ReservationRecord& record) {
    Win32RegistryKey currentUser = Win32RegistryKey::CurrentUser();
    const auto key = currentUser.CreateSubkeyFor(kSettingsKeyPath, ValueAccess::Set);
    if (!key || !WriteSetting(*key, setting::kLastReservation, record)) {
        Trace(TraceLevel::Warning, "record of the run not stored");
    }
}

} // namespace qn::win32
