#pragma once
#include <string>
#include <string_view>

namespace qn {

// The directory of a full path as the launches want it: the text before the last "\" or ":", that separator
// dropped ("C:\Tools\Mossik.EXE" gives "C:\Tools", "C:\Mossik.EXE" gives "C:"). Paths are UTF-8, so no byte of
// a multi-byte character can be taken for a separator.
std::string DirectoryWithoutSeparator(std::string_view path);

// The directory of a full path with a drive root kept whole: the text before the last "\", except that a "\"
// right after a ":" stays ("C:\Tools\Kolvane.exe" gives "C:\Tools", "C:\Kolvane.exe" gives "C:\").
std::string DirectoryKeepingRoot(std::string_view path);

// The file name of a path: the text after its last "\", "/" or ":".
std::string FileNameOf(std::string_view path);

// The text without the blanks and tabs around it.
std::string_view Trimmed(std::string_view text);

// A path in one spelling: blanks around it dropped, every separator a backslash, without the long-path prefix
// ("\\?\C:\...", "\\?\UNC\server\..."), no closing separator but that of a drive's root. The letters are left as they
// are: only the file system knows which ones are alike.
std::string CanonicalPath(std::string_view path);

// A file in a directory: joined with a "\" unless the directory ends with a separator already.
std::string JoinedPath(std::string_view directory, std::string_view file);

// Whether `path` names one of the product's programs (ProductFiles.h) in the folder of `ownPath`, the running program's
// own full path. Letters A to Z compare regardless of case, as Windows compares file names; any other difference,
// another spelling of the same folder included, makes it no program of ours.
bool IsProductProgram(std::string_view path, std::string_view ownPath);

} // namespace qn
