#pragma once
// How the component test host and its suite talk: commands are messages to the host's main window, answered
// synchronously through the message result; the host writes each event it sees as one line to its log file.
#include <windows.h>

namespace qn::e2e::host {

inline constexpr const wchar_t* kMainClass = L"QnComponentsHost";
inline constexpr int kGaugeWidth = 230;
inline constexpr int kGaugeHeight = 22;

enum Command : UINT {
    kSetEnabled = WM_APP + 1, // wParam: Enabled of the tray icon
    kSetVisible,              // wParam: Visible of the tray icon
    kIconId,                  // result: the tray icon's id
    kAddHotKey,               // wParam: index, lParam: shortcut code; result: AddHotKey's
    kRemoveHotKey,            // wParam: index; result: RemoveHotKey's
    kSetProgress,             // wParam: the gauge's Progress (of 0..100)
    kSetShowText,             // wParam: the gauge's ShowText
    kSetHint,                 // wParam: number of lines of the gauge's hint (1 or 2)
};

// Menu commands of the tray icon's popup menu.
inline constexpr UINT kMenuReserve = 101;
inline constexpr UINT kMenuExit = 102;

// Index whose hot-key handler fails.
inline constexpr int kFailingHotKeyIndex = 3;
inline constexpr const char* kFailingHotKeyMessage = "テストの失敗";

} // namespace qn::e2e::host
