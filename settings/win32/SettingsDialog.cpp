#include "settings/win32/SettingsDialog.h"

#include "common/AutoStart.h"
#include "common/MemoryUnits.h"
#include "common/Trace.h"
#include "common/win32/SystemLocale.h"
#include "common/win32/Utf.h"
#include "common/win32/WindowsAppearance.h"
#include "common/win32/Win32Error.h"
#include "settings/SettingsIds.h"
#include "settings/SettingsTexts.h"

#include <commctrl.h>

#include <exception>

namespace qn::win32 {

// The hot-key control's flags and the virtual keys that the portable code names, as the system defines them.
static_assert(hot_key_control::kShift == HOTKEYF_SHIFT);
static_assert(hot_key_control::kControl == HOTKEYF_CONTROL);
static_assert(hot_key_control::kAlt == HOTKEYF_ALT);
static_assert(hot_key_control::kExtended == HOTKEYF_EXT);
static_assert(extended_key::kPageUp == VK_PRIOR && extended_key::kDownArrow == VK_DOWN);
static_assert(extended_key::kInsert == VK_INSERT && extended_key::kDelete == VK_DELETE);
static_assert(extended_key::kDivide == VK_DIVIDE && extended_key::kNumLock == VK_NUMLOCK);
static_assert(IDC_OK == IDOK && IDC_CANCEL == IDCANCEL);

namespace {

std::string ItemText(HWND dialog, int id) {
    HWND item = GetDlgItem(dialog, id);
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(item)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(item, text.data(), static_cast<int>(text.size()))));
    return Narrow(text);
}

void SetItemText(HWND dialog, int id, const std::string& text) {
    SetDlgItemTextW(dialog, id, Widen(text).c_str());
}

bool Checked(HWND dialog, int id) {
    return IsDlgButtonChecked(dialog, id) == BST_CHECKED;
}

void Check(HWND dialog, int id, bool on) {
    CheckDlgButton(dialog, id, on ? BST_CHECKED : BST_UNCHECKED);
}

int ControlOf(FormField field) {
    switch (field) {
    case FormField::ReserveThreshold:
        return IDC_RESERVE_THRESHOLD;
    case FormField::AskThreshold:
        return IDC_ASK_THRESHOLD;
    case FormField::Period:
        return IDC_PERIOD;
    case FormField::HotKey:
        return IDC_HOT_KEY;
    case FormField::TargetFree:
        return IDC_TARGET_FREE;
    }
    return IDOK;
}

// The fields named by the captions before and after them (none after: the one before alone).
struct FieldName {
    int controlId;
    std::string_view SettingsTextSet::*before;
    std::string_view SettingsTextSet::*after;
};
constexpr FieldName kFieldNames[] = {
    {IDC_RESERVE_THRESHOLD, &SettingsTextSet::remainingBefore, &SettingsTextSet::remainingAfter},
    {IDC_ASK_THRESHOLD, &SettingsTextSet::remainingBefore, &SettingsTextSet::remainingAfter},
    {IDC_PERIOD, &SettingsTextSet::periodic, &SettingsTextSet::periodUnit},
    {IDC_HOT_KEY, &SettingsTextSet::hotKeyGroup, nullptr},
};

} // namespace

bool SettingsDialog::Run(HINSTANCE instance) {
    const INT_PTR result =
        DialogBoxParamW(instance, MAKEINTRESOURCEW(IDD_SETTINGS), nullptr, Procedure, reinterpret_cast<LPARAM>(this));
    ThrowLastErrorIf(result == -1);
    if (m_failure) {
        std::rethrow_exception(m_failure);
    }
    return result == IDOK;
}

INT_PTR CALLBACK SettingsDialog::Procedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        reinterpret_cast<SettingsDialog*>(lParam)->m_dialog = dialog;
    }
    auto* self = reinterpret_cast<SettingsDialog*>(GetWindowLongPtrW(dialog, DWLP_USER));
    if (!self) {
        return FALSE;
    }
    try {
        return self->OnMessage(message, wParam, lParam);
    } catch (...) {
        // Nothing was written; leaving the dialog is the only safe answer. The error is reported once it is gone.
        self->m_failure = std::current_exception();
        EndDialog(dialog, IDABORT);
        return TRUE;
    }
}

INT_PTR SettingsDialog::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (ColoursChanged(message, wParam, lParam)) {
        FollowAppearance();
        return FALSE;
    }
    switch (message) {
    case WM_INITDIALOG:
        m_stored = ReadProgramSettings(m_currentUser);
        Show();
        NameFields();
        FollowAppearance();
        return TRUE;
    case WM_DESTROY:
        if (m_annotation) {
            for (const FieldName& field : kFieldNames) {
                m_annotation->Clear(GetDlgItem(m_dialog, field.controlId));
            }
        }
        return FALSE;
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
        return ControlColours(message, reinterpret_cast<HDC>(wParam));
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK:
            Accept();
            return TRUE;
        case IDCANCEL:
            EndDialog(m_dialog, IDCANCEL);
            return TRUE;
        }
        break;
    }
    return FALSE;
}

void SettingsDialog::Show() {
    const SettingsTextSet& texts = SettingsTexts();
    SetWindowTextW(m_dialog, Widen(texts.caption).c_str());
    for (const ControlCaption& control : kControlCaptions) {
        SetItemText(m_dialog, control.controlId, std::string(texts.*control.text));
    }
    const SettingsForm form = FormOf(m_stored);
    for (const SwitchField& field : kSwitchFields) {
        Check(m_dialog, field.checkBox, form.*field.shown);
    }
    SetItemText(m_dialog, IDC_RESERVE_THRESHOLD, form.reserveThresholdMB);
    SetItemText(m_dialog, IDC_ASK_THRESHOLD, form.askThresholdMB);
    SetItemText(m_dialog, IDC_PERIOD, form.periodMinutes);
    SetItemText(m_dialog, IDC_TARGET_FREE, form.targetFreeMB);
    for (const std::string_view choice : texts.languageChoices) {
        SendDlgItemMessageW(m_dialog, IDC_LANGUAGE, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(choice).c_str()));
    }
    SendDlgItemMessageW(m_dialog, IDC_LANGUAGE, CB_SETCURSEL, static_cast<WPARAM>(form.language), 0);
    HWND hotKey = GetDlgItem(m_dialog, IDC_HOT_KEY);
    // A global hot key without Ctrl or Alt would take a key away from typing: the control adds Ctrl+Alt.
    SendMessageW(hotKey, HKM_SETRULES, HKCOMB_NONE | HKCOMB_S, MAKELPARAM(HOTKEYF_CONTROL | HOTKEYF_ALT, 0));
    SendMessageW(hotKey, HKM_SETHOTKEY, HotKeyControlFromShortcut(form.hotKey), 0);
    const AutoStartState autoStart = ReadAutoStart(m_currentUser, m_directory, m_names);
    m_autoStartShown = autoStart == AutoStartState::On;
    Check(m_dialog, IDC_AUTO_START, m_autoStartShown);
    if (autoStart == AutoStartState::Unreadable) {
        SetItemText(m_dialog, IDC_MESSAGE, std::string(texts.autoStartUnreadable));
    }
    SetItemText(m_dialog, IDC_TOTAL_MEMORY,
                std::string(texts.totalMemoryBefore) + std::to_string(WholeMegabytes(m_totalPhysBytes)) +
                    std::string(texts.totalMemoryAfter));
    // The monitor's separators: the figures read as the monitor's balloon shows them.
    SetItemText(m_dialog, IDC_LAST_RESERVATION,
                LastReservationLine(ReadLastReservation(m_currentUser), UserNumberSeparators()));
}

void SettingsDialog::NameFields() {
    // A reader names a field by the static text just before it in the tab order: the threshold boxes would be
    // "When" alone, and the period and the hot key, whose captions are check boxes, nothing.
    const SettingsTextSet& texts = SettingsTexts();
    m_annotation.emplace();
    for (const FieldName& field : kFieldNames) {
        std::string name(texts.*field.before);
        if (field.after) {
            name.append(" ").append(texts.*field.after);
        }
        m_annotation->SetName(GetDlgItem(m_dialog, field.controlId), name);
    }
}

void SettingsDialog::FollowAppearance() {
    const Appearance appearance = CurrentAppearance();
    const bool dark = appearance.colours == ColourSet::Dark;
    ApplyTitleBar(m_dialog, appearance);
    if (dark && !m_background) {
        m_background.reset(CreateSolidBrush(kDarkDialog.background));
        m_field.reset(CreateSolidBrush(kDarkDialog.field));
        if (!m_background || !m_field) {
            Trace(TraceLevel::Warning, "dark dialog brushes not made", GetLastError());
            m_background.reset();
            m_field.reset();
            return;
        }
    }
    if (dark == m_dark) {
        return;
    }
    m_dark = dark;
    for (HWND control = GetWindow(m_dialog, GW_CHILD); control; control = GetWindow(control, GW_HWNDNEXT)) {
        wchar_t className[32] = {};
        GetClassNameW(control, className, 32);
        const auto is = [&](const wchar_t* name) {
            return CompareStringOrdinal(className, -1, name, -1, TRUE) == CSTR_EQUAL;
        };
        const LONG_PTR buttonStyle = GetWindowLongPtrW(control, GWL_STYLE) & BS_TYPEMASK;
        const bool pushButton = buttonStyle == BS_PUSHBUTTON || buttonStyle == BS_DEFPUSHBUTTON;
        if (!dark) {
            SetControlTheme(control, nullptr, nullptr);
        } else if (is(L"Button") && pushButton) {
            SetControlTheme(control, L"DarkMode_Explorer", nullptr);
        } else if (is(L"Button")) {
            // The dark theme draws the captions of check boxes and group boxes black, whatever WM_CTLCOLORSTATIC
            // says: without a theme they take the dialog's light text.
            SetControlTheme(control, L" ", L" ");
        } else if (is(L"Edit") || is(L"ComboBox")) {
            SetControlTheme(control, L"DarkMode_CFD", nullptr);
        }
    }
    RedrawWindow(m_dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

INT_PTR SettingsDialog::ControlColours(UINT message, HDC dc) const {
    if (!m_dark || !m_background) {
        return FALSE;
    }
    // The fields (edits, the hot-key field, the drop-down's list) on their own shade, the rest on the dialog's.
    const bool field = message == WM_CTLCOLOREDIT || message == WM_CTLCOLORLISTBOX;
    SetTextColor(dc, field ? kDarkDialog.fieldText : kDarkDialog.text);
    SetBkColor(dc, field ? kDarkDialog.field : kDarkDialog.background);
    return reinterpret_cast<INT_PTR>(field ? m_field.get() : m_background.get());
}

SettingsForm SettingsDialog::Entered() const {
    SettingsForm form;
    for (const SwitchField& field : kSwitchFields) {
        form.*field.shown = Checked(m_dialog, field.checkBox);
    }
    form.reserveThresholdMB = ItemText(m_dialog, IDC_RESERVE_THRESHOLD);
    form.askThresholdMB = ItemText(m_dialog, IDC_ASK_THRESHOLD);
    form.periodMinutes = ItemText(m_dialog, IDC_PERIOD);
    form.targetFreeMB = ItemText(m_dialog, IDC_TARGET_FREE);
    const LRESULT language = SendDlgItemMessageW(m_dialog, IDC_LANGUAGE, CB_GETCURSEL, 0, 0);
    form.language = language == CB_ERR ? setting::kLanguageWindows : static_cast<std::int32_t>(language);
    const auto control = static_cast<std::uint16_t>(SendDlgItemMessageW(m_dialog, IDC_HOT_KEY, HKM_GETHOTKEY, 0, 0));
    form.hotKey = ShortcutFromHotKeyControl(control);
    return form;
}

void SettingsDialog::Accept() {
    const auto result = SettingsFromForm(Entered(), m_stored, m_totalPhysBytes);
    if (const auto* error = std::get_if<FormError>(&result)) {
        Complain(ControlOf(error->field), error->message);
        return;
    }
    switch (SaveSettings(m_currentUser, std::get<ProgramSettings>(result), m_directory, m_autoStartShown,
                         Checked(m_dialog, IDC_AUTO_START), m_names)) {
    case SaveFailure::None:
        EndDialog(m_dialog, IDOK);
        return;
    case SaveFailure::AutoStart:
        Complain(IDC_AUTO_START, std::string(SettingsTexts().autoStartNotSaved));
        return;
    case SaveFailure::Settings:
        Complain(IDOK, std::string(SettingsTexts().settingsNotSaved));
        return;
    }
}

void SettingsDialog::Complain(int controlId, const std::string& message) {
    SetItemText(m_dialog, IDC_MESSAGE, message);
    MessageBeep(MB_ICONWARNING);
    HWND control = GetDlgItem(m_dialog, controlId);
    SendMessageW(m_dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
    SendMessageW(control, EM_SETSEL, 0, -1);
}

} // namespace qn::win32
