// The floors a reservation is measured against: one block of N MB from VirtualAlloc, written and released, and
// nothing else. Usage: BaselineReserve.exe <MB> [bytes|pages]
//   bytes (the default): one thread writes zero into every byte (memset).
//   pages: every logical processor writes one zero into each page of its own equal part of the block, which is
//          all it takes for the system to supply every page: the page-fault floor.
#include <windows.h>

#include <cstring>
#include <cwchar>
#include <vector>

namespace {

struct ThreadSlice {
    char* first;
    SIZE_T pages;
    SIZE_T pageBytes;
};

DWORD WINAPI WritePages(void* parameter) {
    const ThreadSlice& slice = *static_cast<const ThreadSlice*>(parameter);
    for (SIZE_T page = 0; page < slice.pages; ++page) {
        slice.first[page * slice.pageBytes] = 0;
    }
    return 0;
}

void WriteOneZeroPerPageOnEveryCore(char* block, SIZE_T size) {
    SYSTEM_INFO system{};
    GetSystemInfo(&system);
    const SIZE_T pageBytes = system.dwPageSize;
    const SIZE_T pages = (size + pageBytes - 1) / pageBytes;
    const SIZE_T threads = system.dwNumberOfProcessors ? system.dwNumberOfProcessors : 1;
    std::vector<ThreadSlice> slices;
    for (SIZE_T i = 0, first = 0; i < threads; ++i) {
        const SIZE_T count = pages / threads + (i < pages % threads ? 1 : 0);
        slices.push_back({block + first * pageBytes, count, pageBytes});
        first += count;
    }
    std::vector<HANDLE> helpers;
    for (SIZE_T i = 1; i < threads; ++i) {
        if (HANDLE thread = CreateThread(nullptr, 64 * 1024, &WritePages, &slices[i], 0, nullptr)) {
            helpers.push_back(thread);
        } else {
            WritePages(&slices[i]);
        }
    }
    WritePages(&slices[0]);
    for (HANDLE thread : helpers) {
        WaitForSingleObject(thread, INFINITE);
        CloseHandle(thread);
    }
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) {
        return 2;
    }
    const bool pages = argc > 2 && std::wcscmp(argv[2], L"pages") == 0;
    const SIZE_T size = static_cast<SIZE_T>(wcstoul(argv[1], nullptr, 10)) * 1048576;
    void* block = VirtualAlloc(nullptr, size, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
    if (!block) {
        return 1;
    }
    if (pages) {
        WriteOneZeroPerPageOnEveryCore(static_cast<char*>(block), size);
    } else {
        std::memset(block, 0, size);
    }
    asm volatile("" : : "r"(block) : "memory");
    VirtualFree(block, 0, MEM_RELEASE);
    return 0;
}
