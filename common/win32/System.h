#pragma once
#include "common/DateTime.h"
#include "common/Dialogs.h"
#include "common/MemoryUnits.h"
#include "common/NumberFormat.h"
#include "common/Texts.h"

#include <cstdint>
#include <exception>
#include <new>
#include <optional>
#include <string>
#include <vector>

namespace qn::win32 {

// Restricts where this process looks for DLLs to the system folder, so that a DLL lying next to the program (the
// programs are unzipped anywhere, Downloads included) is never loaded in place of a system one. Called first
// thing in every program, before any call can load a DLL. Looked up at run time: a system without it keeps its
// default search order, and the result is false.
bool RestrictDllSearchToSystemFolder();

// The full path of the running executable, however long.
std::string ModuleFileName();

// This process's arguments, split from its wide command line by the product's rules.
std::vector<std::string> ProcessArguments();

// Physical memory from GlobalMemoryStatusEx.
MemoryStatus QueryMemoryStatus();

// The number separators of the system's default locale or the user's, a comma and a point where the locale
// gives none.
NumberSeparators SystemNumberSeparators();
NumberSeparators UserNumberSeparators();

// Now, in local time to the millisecond.
DateTime Now();

// ShellExecuteW with no owner window; `verb` empty means the default verb. Returns the shell's result
// (greater than 32 on success).
std::intptr_t ShellOpen(const std::string& verb, const std::string& file, const std::string& parameters,
                        const std::string& directory, int showCommand);

// Ownerless message boxes through MessageBoxW.
class MessageBoxDialogs final : public DialogPort {
public:
    DialogAnswer ShowMessage(const std::string& text, const std::string& title, unsigned style) override;
};

// The window-less tools' last-resort report of an error that nothing handled.
void ShowApplicationError(std::string_view errorClass, std::uintptr_t codeAddress, std::string_view message);

// Runs the whole of a window-less tool and returns its exit code; an error that nothing handled is shown in the
// last-resort report, at `codeAddress`, and gives exit code 1.
template <typename Body>
int RunWindowlessTool(Body body, std::uintptr_t codeAddress) {
    try {
        return body();
    } catch (const std::bad_alloc&) {
        ShowApplicationError(kOutOfMemoryClass, codeAddress, kOutOfMemoryText);
    } catch (const std::exception& error) {
        ShowApplicationError("Exception", codeAddress, error.what());
    }
    return 1;
}

} // namespace qn::win32
