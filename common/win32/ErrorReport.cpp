#include "common/win32/ErrorReport.h"

#include "common/ApplicationError.h"
#include "common/PathUtil.h"
#include "common/win32/ProcessInfo.h"
#include "common/win32/Utf.h"

#include <utility>

namespace qn::win32 {
namespace {

struct ErrorBoxLook {
    std::string_view title; // empty: the system's default title
    UINT flags;
};

ErrorBoxLook LookOf(ErrorKind kind) {
    switch (kind) {
    case ErrorKind::WindowMessage:
        break;
    case ErrorKind::Monitor:
        return {kInstanceMarker, MB_OK | MB_ICONERROR};
    case ErrorKind::SettingsProgram:
        return {kTitlePlain, MB_OK | MB_ICONSTOP};
    case ErrorKind::WindowlessTool:
        return {SharedTexts().applicationErrorTitle, MB_OK | MB_ICONSTOP | MB_TASKMODAL};
    }
    return {{}, MB_OK | MB_ICONERROR};
}

ApplicationErrorHandler& CurrentErrorHandler() {
    static ApplicationErrorHandler handler;
    return handler;
}

} // namespace

std::string ErrorReportText(ErrorKind kind, std::string_view message, const ErrorOrigin& origin) {
    switch (kind) {
    case ErrorKind::SettingsProgram:
        return std::string(message);
    case ErrorKind::WindowlessTool:
        return FormatApplicationError(origin.errorClass, FileNameOf(ModuleFileName()), origin.codeAddress, message);
    case ErrorKind::WindowMessage:
    case ErrorKind::Monitor:
        break;
    }
    return std::string(message) + ".";
}

void ReportError(ErrorKind kind, std::string_view message, const ErrorOrigin& origin) {
    const ErrorBoxLook look = LookOf(kind);
    const std::wstring title = Widen(look.title);
    ::MessageBoxW(origin.owner, Widen(ErrorReportText(kind, message, origin)).c_str(),
                  look.title.empty() ? nullptr : title.c_str(), look.flags);
}

void SetApplicationErrorHandler(ApplicationErrorHandler handler) {
    CurrentErrorHandler() = std::move(handler);
}

void HandleApplicationError(const std::string& message) {
    try {
        if (const ApplicationErrorHandler& handler = CurrentErrorHandler()) {
            handler(message);
        } else {
            ReportError(ErrorKind::WindowMessage, message);
        }
    } catch (...) {
        // The report of an error must not become one more error inside a window procedure.
    }
}

} // namespace qn::win32
