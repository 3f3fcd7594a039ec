#pragma once
// The one way the programs show an error that nothing else handled: a message box whose owner, title, flags and
// text follow from the kind of report. Every last-resort error box of every program comes from here.
#include "common/Texts.h"

#include <windows.h>

#include <cstdint>
#include <exception>
#include <functional>
#include <new>
#include <string>
#include <string_view>

namespace qn::win32 {

enum class ErrorKind {
    // An error that escaped a window's message handler in a program that set no handler of its own: ownerless,
    // the error's text followed by ".", the system's default title, MB_OK | MB_ICONERROR.
    WindowMessage,
    // The monitor's: an error that ended a start-up step, a command or the tick, or the whole monitor. Owned by
    // the hidden application window while it exists, the error's text followed by ".", titled "AmbrolaTrayIcon",
    // MB_OK | MB_ICONERROR.
    Monitor,
    // The settings program's: an error that ended it before its dialog was done. Ownerless, the error's text as
    // it is, titled "QeltoNimbi", MB_OK | MB_ICONSTOP.
    SettingsProgram,
    // The window-less tools' last resort, after which the tool ends with exit code 1: ownerless, titled
    // "ｱﾌﾟﾘｹｰｼｮﾝ ｴﾗｰ", the text that names the error's class, the program's file name and the code address,
    // MB_OK | MB_ICONSTOP | MB_TASKMODAL.
    WindowlessTool,
};

// What a report knows of an error beyond its message: the box's owner, and for the window-less tools the error's
// class name and the code address it is told at.
struct ErrorOrigin {
    HWND owner = nullptr;
    std::string_view errorClass = "Exception";
    std::uintptr_t codeAddress = 0;
};

// The text of the box that reports an error with `message`: the one place where a report's closing "." is added.
std::string ErrorReportText(ErrorKind kind, std::string_view message, const ErrorOrigin& origin = {});

// Shows the box that reports an error with `message`.
void ReportError(ErrorKind kind, std::string_view message, const ErrorOrigin& origin = {});

// Where an error that escaped a window's message handler goes. By default a WindowMessage report; a program sets
// its own to give the box its owner and title. The handler's own failures are swallowed: the report of an error
// must not become one more error inside a window procedure.
using ApplicationErrorHandler = std::function<void(const std::string& message)>;
void SetApplicationErrorHandler(ApplicationErrorHandler handler);
void HandleApplicationError(const std::string& message);

// Runs the whole of a window-less tool and returns its exit code; an error that nothing handled is reported as a
// WindowlessTool error at `codeAddress` and gives exit code 1.
template <typename Body>
int RunWindowlessTool(Body body, std::uintptr_t codeAddress) {
    try {
        return body();
    } catch (const std::bad_alloc&) {
        ReportError(ErrorKind::WindowlessTool, SharedTexts().outOfMemory,
                    ErrorOrigin{nullptr, kOutOfMemoryClass, codeAddress});
    } catch (const std::exception& error) {
        ReportError(ErrorKind::WindowlessTool, error.what(), ErrorOrigin{nullptr, "Exception", codeAddress});
    }
    return 1;
}

} // namespace qn::win32
