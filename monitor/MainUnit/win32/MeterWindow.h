#pragma once
// The monitor's windows: the hidden application window that carries the instance marker, and the meter window
// with its gauge, popup menu, timer, tray icon and hot key. The meter window drives the monitor's logic and is
// the view that logic works on.
#include "common/win32/DpiAwareWindow.h"
#include "common/win32/WindowObject.h"
#include "monitor/Gauges/win32/Gauge.h"
#include "monitor/HKey/win32/HKey.h"
#include "monitor/MainUnit/MeterAnnotation.h"
#include "monitor/MainUnit/Monitor.h"
#include "monitor/MainUnit/win32/MeterAnnotationWin32.h"
#include "monitor/TrayIcon/win32/PopupMenuWin32.h"
#include "monitor/TrayIcon/win32/TrayIcon.h"

#include <windows.h>

#include <memory>
#include <optional>

namespace qn::win32 {

// A hidden top-level window that owns the meter window, so that the program has no taskbar button.
// Other programs find the monitor by its title, the instance marker; a close sent to it closes the meter window,
// as a close sent there does.
class ApplicationWindow final : public WindowObject {
public:
    ApplicationWindow();
    void SetMainWindow(HWND mainWindow) { m_mainWindow = mainWindow; }

private:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    HWND m_mainWindow = nullptr;
    UINT m_taskbarCreated;
};

class MeterWindow final : public DpiAwareWindow, public MonitorView {
public:
    // The meter window at its design place and size (scaled to the DPI it is shown at), hidden, its components in
    // place; the timer runs from here. `smallIcon` is the title bar's and the tray's image, `icon` when null.
    MeterWindow(ApplicationWindow& application, HICON icon, HICON smallIcon = nullptr);
    ~MeterWindow() override;

    // Connects the logic; every message that reaches it from here on goes to `monitor`.
    void Attach(Monitor& monitor) { m_monitor = &monitor; }
    HMENU MenuHandle() const { return m_menu->Handle(); }
    const TGauge& Gauge() const { return *m_gauge; }

    // MonitorView
    void MarkApplicationWindow() override;
    void SetMeterVisible(bool visible) override;
    void ApplyTopmost(bool topmost) override;
    void SetMeterTitle(const std::string& title) override;
    void SetMeterReading(const std::string& reading) override;
    void SetGaugeMaximum(std::int32_t kilobytes) override;
    void SetGaugeProgress(std::int32_t kilobytes) override;
    void SetGaugeHint(const std::string& hint) override;
    void StartTimer() override;
    void StopTimer() override;
    void SetChecked(MenuCommand entry, bool checked) override;
    void SetEnabled(MenuCommand entry, bool enabled) override;
    void ShowTrayIcon() override;
    void RemoveTrayIcon() override;
    void ShowTrayFigure(const TrayFigure& figure) override;
    void ShowTrayBalloon(const std::string& title, const std::string& text) override;
    void AddHotKey(int index, std::int32_t shortcut) override;
    void RemoveHotKey(int index) override;
    void CloseMeter() override;

private:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    // The gauge fills the client area, its font at the window's DPI.
    void FitContents() override;
    // The tray figure last shown, drawn again at the size the taskbar's scale asks for now.
    void DrawTrayFigureAtTaskbarScale();

    ApplicationWindow& m_application;
    Monitor* m_monitor = nullptr;
    std::unique_ptr<TGauge> m_gauge;
    // Screen readers hear the gauge, which fills the client, as a progress bar.
    std::unique_ptr<AccPropAnnotation> m_annotationPort;
    std::unique_ptr<MeterAnnotation> m_annotation;
    std::unique_ptr<TPopupMenu> m_menu;
    std::unique_ptr<TTrayIcon> m_tray;
    std::unique_ptr<THKey> m_hotKey;
    bool m_timerRunning = false;
    std::optional<TrayFigure> m_trayFigure;
    // The shell's broadcast that a new taskbar stands.
    UINT m_taskbarCreated;
};

// The item id of a menu command (its position plus one), and back.
UINT MenuItemId(MenuCommand command);
MenuCommand CommandOfItem(UINT itemId);

} // namespace qn::win32
