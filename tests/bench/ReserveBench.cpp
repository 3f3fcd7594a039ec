// Times `Qelto.exe /NOMSG /M:N` against its two floors, the baseline program of the same N MB in its two modes:
// one thread writing every byte, and every core writing one zero per page. Whole processes, run in turn, paired,
// in one session. Usage: ReserveBench.exe [MB=1024] [runs=5]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

std::wstring BinDir() {
    wchar_t path[32768] = {};
    GetModuleFileNameW(nullptr, path, 32768);
    std::wstring dir(path);
    return dir.substr(0, dir.find_last_of(L'\\'));
}

// Wall time of one whole run in milliseconds, or a negative value when it failed.
double TimeRun(const std::wstring& commandLine) {
    std::wstring line = commandLine;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
        return -1;
    }
    WaitForSingleObject(info.hProcess, INFINITE);
    QueryPerformanceCounter(&end);
    DWORD code = 1;
    GetExitCodeProcess(info.hProcess, &code);
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    return code == 0 ? 1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) / frequency.QuadPart : -1;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    const unsigned megabytes = argc > 1 ? static_cast<unsigned>(_wtoi(argv[1])) : 1024;
    const int runs = argc > 2 ? _wtoi(argv[2]) : 5;
    const std::wstring dir = BinDir();
    const std::wstring size = std::to_wstring(megabytes);
    const std::wstring qelto = L"\"" + dir + L"\\Qelto.exe\" /NOMSG /M:" + size;
    const std::wstring bytes = L"\"" + dir + L"\\BaselineReserve.exe\" " + size + L" bytes";
    const std::wstring pages = L"\"" + dir + L"\\BaselineReserve.exe\" " + size + L" pages";

    // Warm-up: the first start of each program loads it from disk.
    TimeRun(qelto);
    TimeRun(bytes);
    std::vector<double> qeltoTimes, bytesTimes, pagesTimes;
    for (int i = 0; i < runs; ++i) {
        const double q = TimeRun(qelto);
        const double b = TimeRun(bytes);
        const double p = TimeRun(pages);
        if (q < 0 || b < 0 || p < 0) {
            std::fprintf(stderr, "run %d failed\n", i + 1);
            return 1;
        }
        qeltoTimes.push_back(q);
        bytesTimes.push_back(b);
        pagesTimes.push_back(p);
        std::printf("run %2d: Qelto %8.1f ms   every byte, one thread %8.1f ms   one zero per page, every core %8.1f "
                    "ms\n",
                    i + 1, q, b, p);
    }
    const double q = Median(qeltoTimes);
    const double b = Median(bytesTimes);
    const double p = Median(pagesTimes);
    SYSTEM_INFO system{};
    GetSystemInfo(&system);
    std::printf("%u MB, %d-bit, %lu logical processors, %d paired runs, medians: Qelto %.1f ms; every byte on one "
                "thread %.1f ms (Qelto %.2fx); one zero per page on every core %.1f ms (Qelto %.2fx, target <= "
                "1.10x)\n",
                megabytes, static_cast<int>(8 * sizeof(void*)), system.dwNumberOfProcessors, runs, q, b, q / b, p,
                q / p);
    return 0;
}
