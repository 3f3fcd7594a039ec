// QnRecorder.exe: a stand-in for a program that another program starts. It writes its own path, its arguments
// and its working directory, one per line in UTF-8, to the file named by QN_RECORD_FILE, and ends. The record is
// written under a temporary name and renamed when complete, so that a reader who sees the file sees all of it.
#include <windows.h>

#include <string>

namespace {

std::string Utf8(const std::wstring& text) {
    const int length = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string result(static_cast<std::size_t>(length > 0 ? length - 1 : 0), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, result.data(), length, nullptr, nullptr);
    return result;
}

// The command line after the program's own (possibly quoted) path and the blanks that follow it.
std::wstring ArgumentsOf(const wchar_t* line) {
    bool quoted = false;
    for (; *line && (quoted || (*line != L' ' && *line != L'\t')); ++line) {
        quoted ^= *line == L'"';
    }
    while (*line == L' ' || *line == L'\t') {
        ++line;
    }
    return line;
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    wchar_t recordFile[32768] = {};
    if (!GetEnvironmentVariableW(L"QN_RECORD_FILE", recordFile, 32768)) {
        return 2;
    }
    wchar_t module[32768] = {};
    GetModuleFileNameW(nullptr, module, 32768);
    wchar_t directory[32768] = {};
    GetCurrentDirectoryW(32768, directory);
    const std::string record =
        Utf8(module) + "\n" + Utf8(ArgumentsOf(GetCommandLineW())) + "\n" + Utf8(directory) + "\n";
    const std::wstring partFile = std::wstring(recordFile) + L".part";
    HANDLE file =
        CreateFileW(partFile.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return 3;
    }
    DWORD written = 0;
    const BOOL complete = WriteFile(file, record.data(), static_cast<DWORD>(record.size()), &written, nullptr) &&
                          written == record.size();
    CloseHandle(file);
    if (!complete || !MoveFileExW(partFile.c_str(), recordFile, MOVEFILE_REPLACE_EXISTING)) {
        DeleteFileW(partFile.c_str());
        return 4;
    }
    return 0;
}
