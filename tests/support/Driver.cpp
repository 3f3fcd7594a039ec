#include "tests/support/Driver.h"

#include "common/win32/Utf.h"
#include "tests/support/Display.h"
#include "tests/support/Host.h"

#include <commctrl.h>

#include <algorithm>
#include <cwchar>
#include <fstream>
#include <sstream>
#include <system_error>

namespace qn::e2e {

std::filesystem::path BinDir() {
    std::wstring buffer(32768, L'\0');
    const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    buffer.resize(length);
    return std::filesystem::path(buffer).parent_path();
}

std::filesystem::path ProductPath(const wchar_t* fileName) {
    return BinDir() / fileName;
}

std::optional<std::int64_t> EnvironmentNumber(const wchar_t* name) {
    wchar_t value[32] = {};
    const DWORD length = GetEnvironmentVariableW(name, value, 32);
    if (length == 0 || length >= 32) {
        return std::nullopt;
    }
    wchar_t* end = nullptr;
    const long long number = std::wcstoll(value, &end, 10);
    return *end == L'\0' ? std::optional<std::int64_t>(number) : std::nullopt;
}

bool DefaultReservationIsBounded() {
    if (sizeof(void*) == 4) {
        return true;
    }
    const auto limitMB = EnvironmentNumber(L"QN_ADDRESS_LIMIT_MB");
    return limitMB && *limitMB <= kLargestTestReservationMB;
}

std::wstring Quoted(const std::filesystem::path& path) {
    return L"\"" + path.wstring() + L"\"";
}

Separators LocaleSeparators(LCID locale) {
    const auto text = [&](LCTYPE type) {
        wchar_t value[8] = {};
        GetLocaleInfoW(locale, type, value, static_cast<int>(std::size(value)));
        return std::wstring(value);
    };
    return {text(LOCALE_STHOUSAND), text(LOCALE_SDECIMAL)};
}

std::wstring RegexLiteral(const std::wstring& text) {
    std::wstring pattern;
    for (const wchar_t c : text) {
        if (std::wcschr(L"\\^$.|?*+()[]{}", c)) {
            pattern += L'\\';
        }
        pattern += c;
    }
    return pattern;
}

namespace {

// On Windows, the job whose members may each commit at most QN_ADDRESS_LIMIT_MB, when the test's environment sets
// it; programs they start belong to it too. Under Wine, which does not enforce a job's memory limits,
// cmake/wine-emulator.sh limits the address space of the whole Wine process tree instead.
HANDLE MemoryLimitJob() {
    static const win32::UniqueHandle job = []() -> win32::UniqueHandle {
        const auto limitMB = EnvironmentNumber(L"QN_ADDRESS_LIMIT_MB");
        if (!limitMB || *limitMB <= 0 || RunsUnderWine()) {
            return {};
        }
        win32::UniqueHandle created(CreateJobObjectW(nullptr, nullptr));
        JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
        limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_PROCESS_MEMORY;
        limits.ProcessMemoryLimit = static_cast<SIZE_T>(*limitMB) * 1048576;
        if (!created ||
            !SetInformationJobObject(created.get(), JobObjectExtendedLimitInformation, &limits, sizeof limits)) {
            throw std::system_error(static_cast<int>(GetLastError()), std::system_category(), "memory limit job");
        }
        return created;
    }();
    return job.get();
}

// The caller's environment block with `additions` replacing or adding variables, sorted as Windows wants it.
std::wstring EnvironmentBlock(const std::map<std::wstring, std::wstring>& additions) {
    std::map<std::wstring, std::wstring> variables;
    if (wchar_t* block = GetEnvironmentStringsW()) {
        for (const wchar_t* entry = block; *entry; entry += wcslen(entry) + 1) {
            const std::wstring text(entry);
            const std::size_t equals = text.find(L'=', 1);
            if (equals != std::wstring::npos) {
                variables[text.substr(0, equals)] = text.substr(equals + 1);
            }
        }
        FreeEnvironmentStringsW(block);
    }
    for (const auto& [name, value] : additions) {
        variables[name] = value;
    }
    std::wstring result;
    for (const auto& [name, value] : variables) {
        result += name + L"=" + value;
        result += L'\0';
    }
    result += L'\0';
    return result;
}

} // namespace

Process Process::Start(const std::wstring& commandLine, const std::filesystem::path& directory,
                       const std::map<std::wstring, std::wstring>& environment) {
    std::wstring mutableLine = commandLine;
    std::wstring block = environment.empty() ? std::wstring() : EnvironmentBlock(environment);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    const std::wstring dir = directory.wstring();
    // Started suspended when it must join the job first, so that not one page is committed outside the limit.
    const HANDLE job = MemoryLimitJob();
    const DWORD flags = CREATE_UNICODE_ENVIRONMENT | (job ? CREATE_SUSPENDED : 0);
    if (!CreateProcessW(nullptr, mutableLine.data(), nullptr, nullptr, FALSE, flags,
                        block.empty() ? nullptr : block.data(), dir.empty() ? nullptr : dir.c_str(), &startup, &info)) {
        throw std::system_error(static_cast<int>(GetLastError()), std::system_category(),
                                "CreateProcessW " + ToUtf8(commandLine));
    }
    const win32::UniqueHandle thread(info.hThread);
    Process process;
    process.m_process.reset(info.hProcess);
    process.m_id = info.dwProcessId;
    if (job) {
        if (!AssignProcessToJobObject(job, info.hProcess)) {
            throw std::system_error(static_cast<int>(GetLastError()), std::system_category(),
                                    "AssignProcessToJobObject " + ToUtf8(commandLine));
        }
        ResumeThread(thread.get());
    }
    return process;
}

Process::~Process() {
    Kill();
}

std::optional<DWORD> Process::WaitForExit(Milliseconds timeout) const {
    if (!m_process) {
        return std::nullopt;
    }
    if (WaitForSingleObject(m_process.get(), static_cast<DWORD>(timeout.count())) != WAIT_OBJECT_0) {
        return std::nullopt;
    }
    DWORD code = 0;
    GetExitCodeProcess(m_process.get(), &code);
    return code;
}

void Process::Kill() {
    if (m_process && IsRunning()) {
        TerminateProcess(m_process.get(), 99);
        WaitForSingleObject(m_process.get(), 5000);
    }
}

namespace {

struct WindowSearch {
    DWORD processId;
    const wchar_t* className;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM param) {
    auto& search = *reinterpret_cast<WindowSearch*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search.processId && (!search.className || ClassName(window) == search.className)) {
        search.found.push_back(window);
    }
    return TRUE;
}

} // namespace

std::vector<HWND> TopLevelWindows(DWORD processId, const wchar_t* className) {
    WindowSearch search{processId, className, {}};
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND WaitForWindow(DWORD processId, const wchar_t* className, Milliseconds timeout, const wchar_t* title) {
    HWND found = nullptr;
    WaitUntil(
        [&] {
            for (HWND window : TopLevelWindows(processId, className)) {
                if (IsWindowVisible(window) && (!title || WindowText(window) == title)) {
                    found = window;
                    return true;
                }
            }
            return false;
        },
        timeout);
    return found;
}

HWND WaitForDialog(DWORD processId, Milliseconds timeout) {
    return WaitForNextDialog(processId, nullptr, timeout);
}

HWND WaitForNextDialog(DWORD processId, HWND answered, Milliseconds timeout) {
    HWND found = nullptr;
    WaitUntil(
        [&] {
            for (HWND dialog : TopLevelWindows(processId, L"#32770")) {
                if (dialog != answered && IsWindowVisible(dialog)) {
                    found = dialog;
                    return true;
                }
            }
            return false;
        },
        timeout);
    return found;
}

std::wstring WindowText(HWND window) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

std::wstring ClassName(HWND window) {
    wchar_t name[256] = {};
    GetClassNameW(window, name, static_cast<int>(std::size(name)));
    return name;
}

void PressKeys(std::initializer_list<WORD> keys) {
    std::vector<INPUT> inputs;
    for (const WORD key : keys) {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = key;
        inputs.push_back(input);
    }
    for (auto it = std::rbegin(keys); it != std::rend(keys); ++it) {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = *it;
        input.ki.dwFlags = KEYEVENTF_KEYUP;
        inputs.push_back(input);
    }
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

std::optional<std::wstring> WaitForTrayBalloonText(Milliseconds timeout) {
    HWND balloon = nullptr;
    const auto shown = [&] {
        while ((balloon = FindWindowExW(nullptr, balloon, TOOLTIPS_CLASSW, nullptr))) {
            if (IsWindowVisible(balloon) && (GetWindowLongW(balloon, GWL_STYLE) & TTS_BALLOON)) {
                return true;
            }
        }
        return false;
    };
    if (!WaitUntil(shown, timeout)) {
        return std::nullopt;
    }
    wchar_t text[512] = {};
    DWORD_PTR copied = 0;
    SendMessageTimeoutW(balloon, WM_GETTEXT, std::size(text), reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 5000,
                        &copied);
    return std::wstring(text);
}

namespace {

// A system icon drawn on a uniform background, pixel by pixel.
std::vector<COLORREF> RenderIcon(HDC reference, LPCWSTR iconId, COLORREF background, int width, int height) {
    std::vector<COLORREF> pixels;
    win32::UniqueMemoryDc memory(CreateCompatibleDC(reference));
    win32::UniqueBitmap bitmap(CreateCompatibleBitmap(reference, width, height));
    {
        win32::SelectedObject selected(memory.get(), bitmap.get());
        win32::UniqueBrush brush(CreateSolidBrush(background));
        const RECT all{0, 0, width, height};
        FillRect(memory.get(), &all, brush.get());
        DrawIconEx(memory.get(), 0, 0, LoadIconW(nullptr, iconId), 0, 0, 0, nullptr, DI_NORMAL | DI_DEFAULTSIZE);
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                pixels.push_back(GetPixel(memory.get(), x, y));
            }
        }
    }
    return pixels;
}

// The icon control of a message box differs in id between systems; it is the static control with SS_ICON.
HWND FindIconControl(HWND dialog) {
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (ClassName(child) == L"Static" && (GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON &&
            IsWindowVisible(child)) {
            return child;
        }
    }
    return nullptr;
}

BoxIcon IdentifyIcon(HWND dialog) {
    HWND control = FindIconControl(dialog);
    if (!control) {
        return BoxIcon::None;
    }
    const int width = GetSystemMetrics(SM_CXICON);
    const int height = GetSystemMetrics(SM_CYICON);
    const std::vector<COLORREF> shown = CaptureClientArea(control, width, height).pixels;
    if (shown.empty()) {
        return BoxIcon::Unknown;
    }
    // The corner is background in every standard icon.
    const COLORREF background = shown.front();
    win32::WindowDc screen(nullptr);
    const std::pair<LPCWSTR, BoxIcon> candidates[] = {{IDI_INFORMATION, BoxIcon::Information},
                                                      {IDI_ERROR, BoxIcon::Stop},
                                                      {IDI_QUESTION, BoxIcon::Question},
                                                      {IDI_WARNING, BoxIcon::Warning}};
    for (const auto& [id, kind] : candidates) {
        if (RenderIcon(screen.get(), id, background, width, height) == shown) {
            return kind;
        }
    }
    return BoxIcon::Unknown;
}

} // namespace

DialogSnapshot ReadDialog(HWND dialog) {
    DialogSnapshot snapshot;
    snapshot.title = WindowText(dialog);
    wchar_t text[4096] = {};
    GetDlgItemTextW(dialog, 0xFFFF, text, static_cast<int>(std::size(text)));
    snapshot.text = text;
    for (int id : {IDOK, IDCANCEL, IDABORT, IDRETRY, IDIGNORE, IDYES, IDNO}) {
        HWND button = GetDlgItem(dialog, id);
        if (button && IsWindowVisible(button)) {
            snapshot.buttons.push_back(id);
        }
    }
    snapshot.topmost = (GetWindowLongW(dialog, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
    // The icon is read from the screen, so the box must have been painted.
    WaitUntil([&] { return IdentifyIcon(dialog) != BoxIcon::Unknown; }, 2s);
    snapshot.icon = IdentifyIcon(dialog);
    return snapshot;
}

void PressButton(HWND dialog, int buttonId) {
    SendMessageW(GetDlgItem(dialog, buttonId), BM_CLICK, 0, 0);
}

HWND PressAndWaitForDialog(const Process& program, HWND dialog, int buttonId, Milliseconds timeout) {
    PressButton(dialog, buttonId);
    return WaitForNextDialog(program.Id(), dialog, timeout);
}

std::optional<DWORD> PressAndWaitForExit(const Process& program, HWND dialog, int buttonId, Milliseconds timeout) {
    PressButton(dialog, buttonId);
    return program.WaitForExit(timeout);
}

TempDir::TempDir(const std::wstring& leafName) {
    wchar_t temp[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH + 1, temp);
    std::wstring base(32768, L'\0');
    const DWORD length = GetLongPathNameW(temp, base.data(), static_cast<DWORD>(base.size()));
    base.resize(length);
    if (length == 0) {
        base = temp;
    }
    for (unsigned attempt = GetTickCount();; ++attempt) {
        m_root = std::filesystem::path(base) /
                 (L"qn-e2e-" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(attempt));
        if (std::filesystem::create_directory(m_root)) {
            break;
        }
    }
    m_path = m_root / leafName;
    std::filesystem::create_directories(m_path);
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(m_root, ignored);
}

std::string ReadFileUtf8(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

std::wstring ToWide(const std::string& utf8) {
    return win32::Widen(utf8);
}

std::string ToUtf8(const std::wstring& utf16) {
    return win32::Narrow(utf16);
}

std::optional<Recording> ReadRecording(const std::filesystem::path& recordFile) {
    if (!std::filesystem::exists(recordFile)) {
        return std::nullopt;
    }
    std::istringstream lines(ReadFileUtf8(recordFile));
    Recording recording;
    std::string modulePath, arguments, directory;
    std::getline(lines, modulePath);
    std::getline(lines, arguments);
    std::getline(lines, directory);
    recording.modulePath = ToWide(modulePath);
    recording.arguments = ToWide(arguments);
    recording.workingDirectory = ToWide(directory);
    return recording;
}

} // namespace qn::e2e
