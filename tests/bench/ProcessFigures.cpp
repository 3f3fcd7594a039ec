// ProcessFigures.exe: prints the open handle count and the process id (four hexadecimal digits at least, as Wine's
// debug traces write it) of the process that owns the top-level window with the given title, for scripts that
// watch a program over time ("handles 123 process 00e8"). The count comes from the system's process
// list (NtQuerySystemInformation), which Wine fills, while GetProcessHandleCount gives 0 there. Exit code 1 when
// there is no such window or no count.
#include <windows.h>
#include <winternl.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <vector>

namespace {

using QuerySystemInformation = NTSTATUS(NTAPI*)(SYSTEM_INFORMATION_CLASS, PVOID, ULONG, PULONG);

bool HandleCount(DWORD processId, ULONG& count) {
    const FARPROC found = GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQuerySystemInformation");
    if (!found) {
        return false;
    }
    const auto query = reinterpret_cast<QuerySystemInformation>(reinterpret_cast<void (*)()>(found));
    std::vector<BYTE> buffer(1 << 16);
    for (;;) {
        ULONG needed = 0;
        const NTSTATUS status =
            query(SystemProcessInformation, buffer.data(), static_cast<ULONG>(buffer.size()), &needed);
        if (status == static_cast<NTSTATUS>(0xC0000004L)) { // STATUS_INFO_LENGTH_MISMATCH
            buffer.resize(std::max<std::size_t>(buffer.size() * 2, needed));
            continue;
        }
        if (status < 0) {
            return false;
        }
        break;
    }
    for (std::size_t offset = 0;;) {
        const auto* process = reinterpret_cast<const SYSTEM_PROCESS_INFORMATION*>(buffer.data() + offset);
        if (reinterpret_cast<std::uintptr_t>(process->UniqueProcessId) == processId) {
            count = process->HandleCount;
            return true;
        }
        if (process->NextEntryOffset == 0) {
            return false;
        }
        offset += process->NextEntryOffset;
    }
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) {
        std::fputs("usage: ProcessFigures.exe <window title>\n", stderr);
        return 2;
    }
    const HWND window = FindWindowW(nullptr, argv[1]);
    DWORD processId = 0;
    if (!window || !GetWindowThreadProcessId(window, &processId)) {
        std::fputs("no such window\n", stderr);
        return 1;
    }
    ULONG handles = 0;
    if (!HandleCount(processId, handles)) {
        std::fputs("no handle count\n", stderr);
        return 1;
    }
    std::printf("handles %lu process %04lx\n", handles, static_cast<unsigned long>(processId));
    return 0;
}
