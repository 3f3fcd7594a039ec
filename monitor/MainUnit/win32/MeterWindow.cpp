#include "monitor/MainUnit/win32/MeterWindow.h"

#include "common/DisplayScale.h"
#include "common/Language.h"
#include "common/Trace.h"
#include "common/win32/Dpi.h"
#include "common/win32/Utf.h"
#include "common/win32/Win32Error.h"
#include "common/win32/WindowsAppearance.h"
#include "monitor/MainUnit/win32/TrayFigureIcon.h"

#include <windowsx.h>

namespace qn::win32 {
namespace {

constexpr UINT_PTR kTimerId = 1;
constexpr UINT kTickMs = 1000;
// The design size of the client area and the gauge's font, in 96-DPI units; the window shows them at the DPI of
// the monitor it is on.
constexpr int kClientWidth = 230;
constexpr int kClientHeight = 22;
constexpr int kFontHeight = 12;
constexpr const char* kFontFace = "ＭＳ Ｐゴシック";
constexpr int kDesignLeft = 212;
constexpr int kDesignTop = 108;
// A single fixed border with a title bar and no title-bar buttons at all.
constexpr DWORD kMeterStyle = WS_POPUP | WS_CAPTION | WS_CLIPCHILDREN;

// The face of the gauge's figure: the Japanese meter keeps its own, the English one takes the system's message
// font; empty, the gauge's default, where the system names none.
std::string FontFace() {
    if (TextLanguage() == Language::Japanese) {
        return kFontFace;
    }
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) {
        return {};
    }
    return Narrow(metrics.lfMessageFont.lfFaceName);
}

RECT ClientRect(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    return client;
}

} // namespace

UINT MenuItemId(MenuCommand command) {
    for (std::size_t i = 0; i < kMenuLayout.size(); ++i) {
        if (kMenuLayout[i] == command) {
            return static_cast<UINT>(i + 1);
        }
    }
    return 0;
}

MenuCommand CommandOfItem(UINT itemId) {
    return itemId >= 1 && itemId <= kMenuLayout.size() ? kMenuLayout[itemId - 1] : MenuCommand::None;
}

ApplicationWindow::ApplicationWindow() : m_taskbarCreated(RegisterWindowMessageW(L"TaskbarCreated")) {
    CreateParams params;
    params.className = L"TApplication";
    params.style = WS_POPUP;
    params.title = L"Mossik";
    CreateWindowObject(params);
}

LRESULT ApplicationWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CLOSE && m_mainWindow) {
        // Left to the default, the close would destroy this window and the meter with it, without the close
        // query that stores the position.
        SendMessageW(m_mainWindow, WM_CLOSE, 0, 0);
        return 0;
    }
    if ((message == WM_TIMECHANGE || message == WM_SETTINGCHANGE || message == WM_SYSCOLORCHANGE ||
         message == WM_DISPLAYCHANGE || (message == m_taskbarCreated && m_taskbarCreated != 0)) &&
        m_mainWindow) {
        // The broadcasts reach hidden windows only where they have no owner: the meter may be hidden. Told twice
        // where it is shown, it does nothing the second time but draw the tray figure once more.
        SendMessageW(m_mainWindow, message, wParam, lParam);
    }
    return WindowObject::OnMessage(message, wParam, lParam);
}

MeterWindow::MeterWindow(ApplicationWindow& application, HICON icon, HICON smallIcon)
    : m_application(application), m_taskbarCreated(RegisterWindowMessageW(L"TaskbarCreated")) {
    DpiWindowParams params;
    params.className = L"TForm1";
    params.style = kMeterStyle;
    params.designClient = SIZE{kClientWidth, kClientHeight};
    params.position = POINT{kDesignLeft, kDesignTop};
    params.owner = application.Handle(); // the meter window gets no taskbar button of its own
    const std::wstring caption = Widen(kMeterCaption);
    params.title = caption.c_str();
    params.cursor = LoadCursorW(nullptr, IDC_ARROW);
    const HICON small = smallIcon ? smallIcon : icon;
    params.icon = icon;
    params.smallIcon = small;
    CreateDpiWindow(params);
    application.SetMainWindow(Handle());

    m_gauge = std::make_unique<TGauge>(Handle(), ClientRect(Handle()));
    FitContents();
    m_gauge->SetForeColor(color::kLime);
    m_gauge->SetBackColor(color::kRed);
    m_gauge->SetContrastColors(SystemHighContrastColors());
    m_gauge->SetShowHint(true);
    m_annotationPort = std::make_unique<AccPropAnnotation>(m_gauge->Handle());
    m_annotation = std::make_unique<MeterAnnotation>(*m_annotationPort, std::string(MonitorTexts().meterName));

    // Before the first menu opens: the popup menu follows a dark apps' theme.
    ApplyMenuEntries(CurrentAppearance());
    m_menu = std::make_unique<TPopupMenu>(Handle());
    for (std::size_t i = 0; i < kMenuLayout.size(); ++i) {
        if (kMenuLayout[i] == MenuCommand::None) {
            m_menu->AddSeparator();
        } else {
            m_menu->AddItem(static_cast<UINT>(i + 1), std::string(MenuCaption(kMenuLayout[i])));
        }
    }

    m_tray = std::make_unique<TTrayIcon>(Handle());
    m_tray->SetIcon(small);
    m_tray->SetTipHelp(kMeterCaption);
    m_tray->SetRBPopupMenu(m_menu.get());
    m_tray->SetVisible(false);
    m_tray->OnDblClick = [this] {
        if (m_monitor) {
            m_monitor->OpenSettings();
        }
    };
    m_tray->Loaded();

    m_hotKey = std::make_unique<THKey>(Handle());
    m_hotKey->OnHotKey = [this](std::int32_t index) {
        if (m_monitor) {
            m_monitor->HotKeyPressed(index);
        }
    };

    StartTimer();
}

MeterWindow::~MeterWindow() {
    m_monitor = nullptr;
    m_application.SetMainWindow(nullptr);
}

LRESULT MeterWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_TIMER:
        if (wParam == kTimerId && m_monitor) {
            m_monitor->Tick();
        }
        return 0;
    case WM_TIMECHANGE:
        if (m_monitor) {
            m_monitor->TimeChanged();
        }
        return 0;
    case WM_SETTINGCHANGE:
    case WM_SYSCOLORCHANGE:
        // The apps' and the taskbar's theme, high contrast and the system colours: the gauge, the tray figure and
        // the next menu follow at once, the title bar in the base class.
        if (ColoursChanged(message, wParam, lParam)) {
            ApplyMenuEntries(CurrentAppearance());
            m_gauge->SetContrastColors(SystemHighContrastColors());
            if (m_monitor) {
                m_monitor->ThemeChanged();
            }
        }
        return DpiAwareWindow::OnMessage(message, wParam, lParam);
    case WM_DISPLAYCHANGE:
        DrawTrayFigureAtTaskbarScale();
        return DpiAwareWindow::OnMessage(message, wParam, lParam);
    case WM_COMMAND:
        if (HIWORD(wParam) == 0 && m_monitor) {
            RunMenuCommand(*m_monitor, CommandOfItem(LOWORD(wParam)));
        }
        return 0;
    case WM_CONTEXTMENU: {
        POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        if (at.x == -1 && at.y == -1) {
            GetCursorPos(&at);
        }
        m_menu->Popup(at.x, at.y); // the menu brings its window to the foreground itself
        return 0;
    }
    case WM_QUERYENDSESSION:
        // The end of the user's log-on asks the window, like any close, and the answer is yes.
        if (m_monitor) {
            m_monitor->CloseQuery();
        }
        return TRUE;
    case WM_CLOSE:
        if (m_monitor) {
            m_monitor->CloseQuery();
        }
        DestroyWindow(Handle());
        return 0;
    case WM_DESTROY:
        // The gauge goes after this window: its annotation goes while it is still there.
        m_annotation->Clear();
        KillTimer(Handle(), kTimerId);
        m_timerRunning = false;
        if (m_monitor) {
            m_monitor->MeterDestroyed();
        }
        if (m_tray) {
            m_tray->SetVisible(false);
        }
        PostQuitMessage(0);
        return 0;
    default:
        if (message == m_taskbarCreated && m_taskbarCreated != 0) {
            // A new taskbar may stand at another scale than the one that went.
            DrawTrayFigureAtTaskbarScale();
            return 0;
        }
        return DpiAwareWindow::OnMessage(message, wParam, lParam);
    }
}

void MeterWindow::FitContents() {
    if (m_gauge) {
        m_gauge->SetBounds(ClientRect(Handle()));
        m_gauge->SetFont(GaugeFont{FontFace(), ScaleForDpi(kFontHeight, Dpi())});
    }
    // A change of scale may be the taskbar's too.
    DrawTrayFigureAtTaskbarScale();
}

void MeterWindow::MarkApplicationWindow() {
    SetWindowTextW(m_application.Handle(), Widen(kInstanceMarker).c_str());
    ShowWindow(m_application.Handle(), SW_HIDE);
}

void MeterWindow::SetMeterVisible(bool visible) {
    ShowWindow(Handle(), visible ? SW_SHOWNA : SW_HIDE);
}

void MeterWindow::ApplyTopmost(bool topmost) {
    RECT bounds{};
    GetWindowRect(Handle(), &bounds);
    const HWND after = topmost ? HWND_TOPMOST : HWND_NOTOPMOST;
    // Never activated: the monitor that starts, or comes back after a hand-over, must not take the foreground
    // from what the user is doing (a full-screen game would lose it).
    SetWindowPos(m_application.Handle(), after, bounds.left, bounds.top, bounds.right - bounds.left,
                 bounds.bottom - bounds.top, SWP_FRAMECHANGED | SWP_NOACTIVATE);
    // Windows carries owned windows along with their owner; saying so for the meter window as well keeps the
    // state exact where the system does not.
    SetWindowPos(Handle(), after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void MeterWindow::SetMeterTitle(const std::string& title) {
    SetWindowTextW(Handle(), Widen(title).c_str());
}

void MeterWindow::SetMeterReading(const std::string& reading) {
    m_annotation->Show(reading);
}

void MeterWindow::SetGaugeMaximum(std::int32_t kilobytes) {
    m_gauge->SetMaxValue(kilobytes);
}

void MeterWindow::SetGaugeProgress(std::int32_t kilobytes) {
    m_gauge->SetProgress(kilobytes);
}

void MeterWindow::SetGaugeHint(const std::string& hint) {
    m_gauge->SetHint(hint);
}

void MeterWindow::StartTimer() {
    if (!m_timerRunning) {
        // Without its timer the monitor would never tick again: an error the user is told of, not a trace.
        ThrowLastErrorIf(SetTimer(Handle(), kTimerId, kTickMs, nullptr) == 0);
        m_timerRunning = true;
    }
}

void MeterWindow::StopTimer() {
    KillTimer(Handle(), kTimerId);
    m_timerRunning = false;
}

void MeterWindow::SetChecked(MenuCommand entry, bool checked) {
    CheckMenuItem(m_menu->Handle(), MenuItemId(entry), MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}

void MeterWindow::SetEnabled(MenuCommand entry, bool enabled) {
    EnableMenuItem(m_menu->Handle(), MenuItemId(entry), MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
}

void MeterWindow::ShowTrayIcon() {
    m_tray->SetVisible(true);
}

void MeterWindow::RemoveTrayIcon() {
    m_tray->SetVisible(false);
}

void MeterWindow::ShowTrayFigure(const TrayFigure& figure) {
    m_trayFigure = figure;
    DrawTrayFigureAtTaskbarScale();
}

void MeterWindow::DrawTrayFigureAtTaskbarScale() {
    if (!m_trayFigure || !m_tray) {
        return;
    }
    // The size the shell asks for at the taskbar's scale now; GetSystemMetrics would keep the scale this program
    // started with. The tray keeps its own copy, and this one goes.
    const UniqueIcon icon = DrawTrayFigure(*m_trayFigure, SystemMetricForDpi(SM_CXSMICON, TaskbarDpi()));
    if (!TraceLastErrorIf(!icon, "tray figure not drawn")) {
        m_tray->SetIcon(icon.get());
    }
}

void MeterWindow::ShowTrayBalloon(const std::string& title, const std::string& text) {
    m_tray->ShowBalloon(title, text);
}

void MeterWindow::AddHotKey(int index, std::int32_t shortcut) {
    // Another program may hold the combination already; the monitor goes on without it.
    TraceLastErrorIf(!m_hotKey->AddHotKey(index, static_cast<std::uint32_t>(shortcut)), "hot key not registered");
}

void MeterWindow::RemoveHotKey(int index) {
    m_hotKey->RemoveHotKey(index);
}

void MeterWindow::CloseMeter() {
    SendMessageW(Handle(), WM_CLOSE, 0, 0);
}

} // namespace qn::win32
