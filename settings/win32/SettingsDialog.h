#pragma once
#include "common/Appearance.h"
#include "common/win32/AccessibleAnnotation.h"
#include "common/win32/FileNames.h"
#include "common/win32/UniqueHandle.h"
#include "settings/SettingsProgram.h"

#include <windows.h>

#include <exception>
#include <optional>
#include <string>

namespace qn::win32 {

// The settings dialog: shows the stored values, checks what the user entered and writes it on OK.
class SettingsDialog {
public:
    // `directory` is the program's own folder, where the monitor it starts at log-on lies.
    SettingsDialog(RegistryKey& currentUser, std::uint64_t totalPhysBytes, std::string directory)
        : m_currentUser(currentUser), m_totalPhysBytes(totalPhysBytes), m_directory(std::move(directory)) {}
    SettingsDialog(const SettingsDialog&) = delete;
    SettingsDialog& operator=(const SettingsDialog&) = delete;

    // Runs the dialog to its end; true when the values were written. An error that ended the dialog, or that kept
    // it from showing, is thrown from here once the dialog is gone, for the program's error report.
    bool Run(HINSTANCE instance);

private:
    static INT_PTR CALLBACK Procedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void Show();
    // The dialog and its controls in the apps' theme: dark, or back to the system's look.
    void FollowAppearance();
    // Names for screen readers of the fields whose caption is a check box, or is split around them.
    void NameFields();
    // The brush a control's background takes, its colours set on `dc`; null leaves it to the system.
    INT_PTR ControlColours(UINT message, HDC dc) const;
    SettingsForm Entered() const;
    void Accept();
    void Complain(int controlId, const std::string& message);

    RegistryKey& m_currentUser;
    std::uint64_t m_totalPhysBytes;
    std::string m_directory;
    ProgramSettings m_stored;
    HWND m_dialog = nullptr;
    Win32FileNames m_names;
    // What the start-at-log-on box showed: OK changes the start only when the user changed the box.
    bool m_autoStartShown = false;
    // Dark while the apps' theme is dark and high contrast is off; the brushes the dark colours paint with.
    bool m_dark = false;
    UniqueBrush m_background;
    UniqueBrush m_field;
    std::optional<AccessibleAnnotation> m_annotation;
    // An error that escaped a message of the dialog, which it ended.
    std::exception_ptr m_failure;
};

} // namespace qn::win32
