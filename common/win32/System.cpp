#include "common/win32/System.h"

#include "common/ApplicationError.h"
#include "common/CommandLine.h"
#include "common/PathUtil.h"
#include "common/Texts.h"
#include "common/win32/Utf.h"

#include <windows.h>
#include <shellapi.h>

namespace qn::win32 {

bool RestrictDllSearchToSystemFolder() {
    // LOAD_LIBRARY_SEARCH_SYSTEM32; the headers offer it only to programs that require Windows 8.
    constexpr DWORD kSearchSystem32 = 0x00000800;
    using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);
    const HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
    const FARPROC found = kernel ? GetProcAddress(kernel, "SetDefaultDllDirectories") : nullptr;
    if (!found) {
        return false;
    }
    // Through void(*)(), the one function pointer type that converts to any other without a warning.
    const auto setDefaultDllDirectories =
        reinterpret_cast<SetDefaultDllDirectoriesFunction>(reinterpret_cast<void (*)()>(found));
    return setDefaultDllDirectories(kSearchSystem32) != FALSE;
}

std::string ModuleFileName() {
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) {
            return std::string();
        }
        if (length < buffer.size()) {
            buffer.resize(length);
            return Narrow(buffer);
        }
        buffer.resize(buffer.size() * 2);
    }
}

std::vector<std::string> ProcessArguments() {
    return SplitArguments(Narrow(GetCommandLineW()));
}

MemoryStatus QueryMemoryStatus() {
    MEMORYSTATUSEX status{};
    status.dwLength = sizeof status;
    if (!GlobalMemoryStatusEx(&status)) {
        return MemoryStatus{};
    }
    return MemoryStatus{status.ullTotalPhys, status.ullAvailPhys};
}

namespace {

// The first character of a locale text (one UTF-16 unit, or a surrogate pair), or `fallback` when it is empty.
std::string FirstCharacter(LCID locale, LCTYPE type, const char* fallback) {
    wchar_t text[8] = {};
    if (GetLocaleInfoW(locale, type, text, static_cast<int>(std::size(text))) <= 1) {
        return fallback;
    }
    const bool pair = IS_HIGH_SURROGATE(text[0]) && IS_LOW_SURROGATE(text[1]);
    return Narrow(std::wstring_view(text, pair ? 2 : 1));
}

NumberSeparators SeparatorsOf(LCID locale) {
    return NumberSeparators{FirstCharacter(locale, LOCALE_STHOUSAND, ","),
                            FirstCharacter(locale, LOCALE_SDECIMAL, ".")};
}

} // namespace

NumberSeparators SystemNumberSeparators() {
    return SeparatorsOf(GetSystemDefaultLCID());
}

NumberSeparators UserNumberSeparators() {
    return SeparatorsOf(GetUserDefaultLCID());
}

DateTime Now() {
    SYSTEMTIME t{};
    GetLocalTime(&t);
    return EncodeDateTime(LocalTime{t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond, t.wMilliseconds});
}

std::intptr_t ShellOpen(const std::string& verb, const std::string& file, const std::string& parameters,
                        const std::string& directory, int showCommand) {
    const std::wstring wideVerb = Widen(verb);
    const HINSTANCE result = ShellExecuteW(nullptr, verb.empty() ? nullptr : wideVerb.c_str(), Widen(file).c_str(),
                                           Widen(parameters).c_str(), Widen(directory).c_str(), showCommand);
    return reinterpret_cast<std::intptr_t>(result);
}

DialogAnswer MessageBoxDialogs::ShowMessage(const std::string& text, const std::string& title, unsigned style) {
    switch (MessageBoxW(nullptr, Widen(text).c_str(), Widen(title).c_str(), style)) {
    case IDOK:
        return DialogAnswer::Ok;
    case IDCANCEL:
        return DialogAnswer::Cancel;
    default:
        return DialogAnswer::Other;
    }
}

void ShowApplicationError(std::string_view errorClass, std::uintptr_t codeAddress, std::string_view message) {
    const std::string text = FormatApplicationError(errorClass, FileNameOf(ModuleFileName()), codeAddress, message);
    MessageBoxW(nullptr, Widen(text).c_str(), Widen(kApplicationErrorTitle).c_str(),
                MB_OK | MB_ICONSTOP | MB_TASKMODAL);
}

} // namespace qn::win32
