#pragma once
// Windows' appearance as the programs follow it: the decision for the current user and system, and the calls that
// carry it out. Every call is looked up at run time; where one is missing or fails, the window keeps the look it
// had, nothing is shown, and a trace says what was missing.
#include "common/Appearance.h"

#include <windows.h>

#include <optional>

namespace qn::win32 {

bool HighContrastOn();
// The build number of the running Windows, as the kernel reports it whatever the manifest says; 0 where unknown.
std::uint32_t WindowsBuild();
// The decision for now: the apps' theme, high contrast and this build.
Appearance CurrentAppearance();

// A dark or light title bar for `window`, where the build has the attribute, redrawn at once.
void ApplyTitleBar(HWND window, const Appearance& appearance);
// The popup menus' dark mode for the whole process, where the build has uxtheme's entries for it; menus opened
// afterwards show it.
void ApplyMenuEntries(const Appearance& appearance);
// SetWindowTheme: both null take the control back to its default theme, both L" " draw it without one.
void SetControlTheme(HWND control, const wchar_t* subApp, const wchar_t* idList);

// Whether `message` tells that Windows' colours changed: the apps' theme ("ImmersiveColorSet"), high contrast,
// or the system colours.
bool ColoursChanged(UINT message, WPARAM wParam, LPARAM lParam);

} // namespace qn::win32
