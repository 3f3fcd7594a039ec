#pragma once

namespace qn::win32 {

// Restricts where this process looks for DLLs to the system folder, so that a DLL lying next to the program (the
// programs are unzipped anywhere, Downloads included) is never loaded in place of a system one. Called first
// thing in every program, before any call can load a DLL. Looked up at run time: a system without it keeps its
// default search order, and the result is false.
bool RestrictDllSearchToSystemFolder();

} // namespace qn::win32
