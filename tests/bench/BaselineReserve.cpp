// The floor a reservation is measured against: one block of N MB from VirtualAlloc, memset to zero and
// released, and nothing else. Usage: BaselineReserve.exe <MB>
#include <windows.h>

#include <cwchar>
#include <cstring>

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) {
        return 2;
    }
    const SIZE_T size = static_cast<SIZE_T>(wcstoul(argv[1], nullptr, 10)) * 1048576;
    void* block = VirtualAlloc(nullptr, size, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
    if (!block) {
        return 1;
    }
    std::memset(block, 0, size);
    asm volatile("" : : "r"(block) : "memory");
    VirtualFree(block, 0, MEM_RELEASE);
    return 0;
}
