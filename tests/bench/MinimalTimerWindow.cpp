// The yardstick for the monitor's resident cost: one small window and a one-second timer that changes its title,
// and nothing else. With the argument /dlls it also loads the system libraries the monitor needs for its tray
// icon, tool tip and settings (shell32, comctl32, advapi32), which tells their share of the cost from the
// monitor's own.
#include <windows.h>

#include <string>

namespace {

LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    static unsigned ticks = 0;
    switch (message) {
    case WM_TIMER:
        SetWindowTextW(window, (L"Minimal " + std::to_wstring(++ticks)).c_str());
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int show) {
    if (std::wstring(commandLine).find(L"/dlls") != std::wstring::npos) {
        for (const wchar_t* library : {L"shell32.dll", L"comctl32.dll", L"advapi32.dll"}) {
            LoadLibraryW(library);
        }
    }
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = Procedure;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = L"MinimalTimerWindow";
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    RegisterClassW(&windowClass);
    HWND window = CreateWindowExW(0, L"MinimalTimerWindow", L"Minimal", WS_OVERLAPPED | WS_CAPTION, 212, 108, 236, 48,
                                  nullptr, nullptr, instance, nullptr);
    ShowWindow(window, show);
    SetTimer(window, 1, 1000, nullptr);
    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        DispatchMessageW(&message);
    }
    return 0;
}
