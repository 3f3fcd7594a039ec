#pragma once
// The end-to-end driver: starts the real programs, finds their windows, reads and presses their dialogs.
// Written against plain Win32 so that it runs the same under Wine and on Windows.
#include "common/win32/UniqueHandle.h"

#include <windows.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <initializer_list>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace qn::e2e {

using namespace std::chrono_literals;
using Milliseconds = std::chrono::milliseconds;

// The folder of the running test program; the product's programs are built next to it.
std::filesystem::path BinDir();
std::filesystem::path ProductPath(const wchar_t* fileName);

// A started program. The destructor ends it if it still runs, so no test leaves a process behind.
class Process {
public:
    // Starts `commandLine` (program path included, quoted as needed) in `directory` (empty: the caller's), with
    // `environment` added to the caller's environment.
    static Process Start(const std::wstring& commandLine, const std::filesystem::path& directory = {},
                         const std::map<std::wstring, std::wstring>& environment = {});
    Process(Process&&) noexcept = default;
    Process& operator=(Process&&) noexcept = default;
    ~Process();

    DWORD Id() const { return m_id; }
    HANDLE Handle() const { return m_process.get(); }
    // The exit code once the process has ended within `timeout`; nothing while it still runs.
    std::optional<DWORD> WaitForExit(Milliseconds timeout = 10s) const;
    bool IsRunning() const { return !WaitForExit(0ms); }
    void Kill();

private:
    Process() = default;
    win32::UniqueHandle m_process;
    DWORD m_id = 0;
};

// A number from the test's environment, when the variable is set to one.
std::optional<std::int64_t> EnvironmentNumber(const wchar_t* name);

// The largest reservation a test may make, in MB: the machine is shared and has no swap.
inline constexpr std::int64_t kLargestTestReservationMB = 8192;

// Whether a reservation of the default size may run: always in a 32-bit program, which cannot obtain more than a
// few GB; in a 64-bit one only when the test's processes are limited in memory (QN_ADDRESS_LIMIT_MB: under Wine
// cmake/wine-emulator.sh limits their address space, on Windows Process::Start puts them in a job that limits
// their commit), because the default size is all of the machine's memory.
bool DefaultReservationIsBounded();

// Quotes a path for a command line.
std::wstring Quoted(const std::filesystem::path& path);

// The separators a locale (LOCALE_SYSTEM_DEFAULT, LOCALE_USER_DEFAULT) puts into figures.
struct Separators {
    std::wstring thousands;
    std::wstring decimal;
};
Separators LocaleSeparators(LCID locale);
// A regular expression that matches exactly `text`.
std::wstring RegexLiteral(const std::wstring& text);

// Top-level windows of a process, optionally of one class, visible or not.
std::vector<HWND> TopLevelWindows(DWORD processId, const wchar_t* className = nullptr);
// Waits for a top-level window of the process with that class (and title, when given).
HWND WaitForWindow(DWORD processId, const wchar_t* className, Milliseconds timeout = 10s,
                   const wchar_t* title = nullptr);
// Waits for a message box or dialog box of the process.
HWND WaitForDialog(DWORD processId, Milliseconds timeout = 10s);
// Waits for one other than `answered`, which may still be there for a moment after its button was pressed.
HWND WaitForNextDialog(DWORD processId, HWND answered, Milliseconds timeout = 10s);
// Waits until `condition` holds, polling; false when the time ran out.
template <typename Condition>
bool WaitUntil(Condition condition, Milliseconds timeout = 10s) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        if (condition()) {
            return true;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            return false;
        }
        ::Sleep(20);
    }
}

// How long a test watches for something that must not happen: far longer than a program start, a dialog or a
// folder window take under Wine, so that the fault, where it is there, shows within it.
inline constexpr Milliseconds kQuietPeriod = 4s;
// True when `condition` never held during `period`; returns as soon as it holds.
template <typename Condition>
bool StaysFalse(Condition condition, Milliseconds period = kQuietPeriod) {
    return !WaitUntil(condition, period);
}

std::wstring WindowText(HWND window);
std::wstring ClassName(HWND window);

enum class BoxIcon { None, Information, Stop, Question, Warning, Unknown };

// What a message box shows, read from outside its process.
struct DialogSnapshot {
    std::wstring title;
    std::wstring text;
    std::vector<int> buttons; // ids of the push buttons present (IDOK, IDCANCEL, ...), ascending
    bool topmost = false;     // system-modal boxes are topmost
    BoxIcon icon = BoxIcon::None;
};
DialogSnapshot ReadDialog(HWND dialog);
// Presses a button of a dialog by its id.
void PressButton(HWND dialog, int buttonId);
// Presses a button of a program's dialog and waits for what follows: the program's next dialog (null when none came
// within `timeout`), or its end (its exit code; nothing while it still runs).
HWND PressAndWaitForDialog(const Process& program, HWND dialog, int buttonId, Milliseconds timeout = 10s);
std::optional<DWORD> PressAndWaitForExit(const Process& program, HWND dialog, int buttonId, Milliseconds timeout = 10s);

// Presses a combination of keys as the keyboard would, for the system's hot keys: down in order, up in reverse.
void PressKeys(std::initializer_list<WORD> keys);

// Waits for a balloon notification of a tray icon as Wine's shell shows it, a balloon tool tip of the shell's own
// process, one at a time, and reads its text. Its title cannot be read from outside: Wine 8's tool tips do not
// answer TTM_GETTITLE. (Windows 10 and later show a toast instead, which no other program can read.)
std::optional<std::wstring> WaitForTrayBalloonText(Milliseconds timeout = 10s);

// A fresh folder below the temporary folder, with the given name inside it, removed with everything in it at the
// end of the scope. Its path is the long form, as programs see their own paths, even where the temporary folder
// is named in short 8.3 form (C:\Users\RUNNER~1\...).
class TempDir {
public:
    explicit TempDir(const std::wstring& leafName = L"qn");
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    ~TempDir();
    const std::filesystem::path& Path() const { return m_path; }

private:
    std::filesystem::path m_root;
    std::filesystem::path m_path;
};

// UTF-8 file contents, and UTF-16 views of them.
std::string ReadFileUtf8(const std::filesystem::path& path);
std::wstring ToWide(const std::string& utf8);
std::string ToUtf8(const std::wstring& utf16);

// What the recorder program (QnRecorder.exe) wrote when a program started it: its own path, its arguments as
// one text (the command line after the program), and its working directory.
struct Recording {
    std::wstring modulePath;
    std::wstring arguments;
    std::wstring workingDirectory;
};
// The environment variable that tells the recorder where to write; pass it to Process::Start.
inline constexpr const wchar_t* kRecordFileVariable = L"QN_RECORD_FILE";
std::optional<Recording> ReadRecording(const std::filesystem::path& recordFile);

} // namespace qn::e2e
