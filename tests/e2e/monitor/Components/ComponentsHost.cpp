// A test host that owns one of each monitor component the way the meter window will: a 230 x 22 gauge in lime on
// red, a tray icon with a right-button menu, and a hot key owner. It reports what the components fire to a log
// file, and with "/gdi <n>" it paints the gauge n times and writes a line to standard output before and after.
#include "common/win32/UniqueHandle.h"
#include "common/win32/Utf.h"
#include "common/win32/WindowObject.h"
#include "monitor/Gauges/win32/Gauge.h"
#include "monitor/HKey/win32/HKey.h"
#include "monitor/TrayIcon/win32/PopupMenuWin32.h"
#include "monitor/TrayIcon/win32/TrayIcon.h"
#include "tests/e2e/monitor/Components/HostProtocol.h"

#include <windows.h>
#include <shellapi.h>

#include <memory>
#include <stdexcept>
#include <string>

namespace qn::e2e::host {
namespace {

using win32::UniqueHandle;

class Log {
public:
    explicit Log(const std::wstring& path)
        : m_file(::CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                               nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr)) {}
    void Write(const std::string& line) const {
        const std::string text = line + "\n";
        DWORD written = 0;
        ::WriteFile(m_file.get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    }

private:
    UniqueHandle m_file;
};

class HostWindow final : public win32::WindowObject {
public:
    explicit HostWindow(const Log& log) : m_log(log) {
        CreateParams params;
        params.className = kMainClass;
        params.title = L"ComponentsHost";
        params.exStyle = WS_EX_TOPMOST;
        params.style = WS_POPUP | WS_VISIBLE;
        params.x = 100;
        params.y = 100;
        params.width = kGaugeWidth;
        params.height = kGaugeHeight;
        CreateWindowObject(params);

        m_gauge = std::make_unique<win32::TGauge>(Handle(), RECT{0, 0, kGaugeWidth, kGaugeHeight});
        m_gauge->SetForeColor(color::kLime);
        m_gauge->SetBackColor(color::kRed);
        m_gauge->SetFont({"ＭＳ Ｐゴシック", 12});
        m_gauge->SetShowHint(true);
        m_gauge->SetHint("Nimbi");

        m_menu = std::make_unique<win32::TPopupMenu>(Handle());
        m_menu->AddItem(kMenuReserve, "確保");
        m_menu->AddItem(kMenuExit, "終了");

        m_tray = std::make_unique<win32::TTrayIcon>(Handle());
        m_tray->SetIcon(::LoadIconW(nullptr, IDI_APPLICATION));
        m_tray->SetRBPopupMenu(m_menu.get());
        m_tray->SetTipHelp("Nimbi");
        m_tray->SetVisible(false);
        m_tray->OnClick = [this] { m_log.Write("Click"); };
        m_tray->OnDblClick = [this] { m_log.Write("DblClick"); };
        m_tray->OnMouseDown = [this](MouseButton button, ButtonsDown, int, int) {
            m_log.Write("MouseDown " + std::to_string(static_cast<int>(button)));
        };
        m_tray->SetVisible(true);

        m_hotKeys = std::make_unique<win32::THKey>(Handle());
        m_hotKeys->OnHotKey = [this](std::int32_t index) {
            if (index == kFailingHotKeyIndex) {
                throw std::runtime_error(kFailingHotKeyMessage);
            }
            const bool forward = ::GetForegroundWindow() == Handle();
            m_log.Write("HotKey " + std::to_string(index) + (forward ? " foreground" : ""));
        };
        m_log.Write("Ready");
    }

    ~HostWindow() override {
        m_tray.reset();
        m_hotKeys.reset();
        m_gauge.reset();
    }

    win32::TGauge& Gauge() { return *m_gauge; }

private:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        switch (message) {
        case kSetEnabled:
            m_tray->SetEnabled(wParam != 0);
            return 1;
        case kSetVisible:
            m_tray->SetVisible(wParam != 0);
            return 1;
        case kIconId:
            return static_cast<LRESULT>(m_tray->IconId());
        case kAddHotKey:
            return m_hotKeys->AddHotKey(static_cast<std::int32_t>(wParam), static_cast<std::uint32_t>(lParam));
        case kRemoveHotKey:
            return m_hotKeys->RemoveHotKey(static_cast<std::int32_t>(wParam));
        case kSetProgress:
            m_gauge->SetProgress(static_cast<std::int32_t>(wParam));
            return 1;
        case kSetShowText:
            m_gauge->SetShowText(wParam != 0);
            return 1;
        case kSetHint:
            m_gauge->SetHint(wParam == 2 ? "空き 1,234.56MB\n次回 12:34" : "空き 1,234.56MB");
            return 1;
        case WM_COMMAND:
            m_log.Write("Command " + std::to_string(LOWORD(wParam)));
            return 0;
        case WM_NULL:
            m_log.Write("Null");
            return 0;
        case WM_DESTROY:
            ::PostQuitMessage(0);
            return 0;
        default:
            return WindowObject::OnMessage(message, wParam, lParam);
        }
    }

    const Log& m_log;
    std::unique_ptr<win32::TGauge> m_gauge;
    std::unique_ptr<win32::TPopupMenu> m_menu;
    std::unique_ptr<win32::TTrayIcon> m_tray;
    std::unique_ptr<win32::THKey> m_hotKeys;
};

void WriteOut(const std::string& line) {
    const std::string text = line + "\n";
    DWORD written = 0;
    ::WriteFile(::GetStdHandle(STD_OUTPUT_HANDLE), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

// Paints through the setter, which repaints at once whenever the percentage changes.
void PaintRepeatedly(win32::TGauge& gauge, int paints) {
    gauge.SetProgress(1);
    WriteOut("PAINTED 1");
    for (int i = 2; i <= paints; ++i) {
        gauge.SetProgress(i % 2 == 0 ? 50 : 51);
    }
    WriteOut("PAINTED " + std::to_string(paints));
}

int Run(int argc, wchar_t** argv) {
    if (argc >= 3 && std::wstring(argv[1]) == L"/gdi") {
        const Log log(L"NUL");
        HostWindow window(log);
        PaintRepeatedly(window.Gauge(), std::stoi(argv[2]));
        return 0;
    }
    if (argc < 2) {
        return 2;
    }
    const Log log(argv[1]);
    HostWindow window(log);
    MSG message;
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
    return 0;
}

} // namespace
} // namespace qn::e2e::host

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    int argc = 0;
    wchar_t** argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
    try {
        const int code = qn::e2e::host::Run(argc, argv);
        ::LocalFree(argv);
        return code;
    } catch (const std::exception& error) {
        ::LocalFree(argv);
        qn::win32::HandleApplicationError(error.what());
        return 1;
    }
}
