#pragma once
#include "SettingsProgram.h"

#include <windows.h>

namespace qn::win32 {

// The settings dialog: shows the stored values, checks what the user entered and writes it on OK.
class SettingsDialog {
public:
    SettingsDialog(RegistryKey& currentUser, std::uint64_t totalPhysBytes)
        : m_currentUser(currentUser), m_totalPhysBytes(totalPhysBytes) {}
    SettingsDialog(const SettingsDialog&) = delete;
    SettingsDialog& operator=(const SettingsDialog&) = delete;

    // Runs the dialog to its end; true when the values were written.
    bool Run(HINSTANCE instance);

private:
    static INT_PTR CALLBACK Procedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR OnMessage(UINT message, WPARAM wParam);
    void Show();
    SettingsForm Entered() const;
    void Accept();
    void Complain(int controlId, const std::string& message);

    RegistryKey& m_currentUser;
    std::uint64_t m_totalPhysBytes;
    ProgramSettings m_stored;
    HWND m_dialog = nullptr;
};

} // namespace qn::win32
