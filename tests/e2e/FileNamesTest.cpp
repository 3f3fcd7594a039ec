// How the programs tell whether the start at log-on names their own files: the system's environment strings,
// short 8.3 names and the file system's letter case, on real files.
#include "common/win32/FileNames.h"
#include "common/win32/Utf.h"
#include "tests/support/Driver.h"

#include <gtest/gtest.h>
#include <windows.h>

namespace qn::win32 {
namespace {

namespace fs = std::filesystem;

TEST(FileNamesTest, PathsAreComparedAsTheFileSystemNamesThem) {
    const e2e::TempDir temp(L"file names");
    // A name that is no 8.3 name has a short one of its own, and "Ö" is a letter whose case only Unicode knows.
    const fs::path folder = temp.Path() / L"Ölmühle Programme";
    fs::create_directories(folder);
    const fs::path monitor = folder / L"Mossik.exe";
    CloseHandle(CreateFileW(monitor.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
    wchar_t shortName[MAX_PATH] = {};
    ASSERT_NE(GetShortPathNameW(monitor.c_str(), shortName, MAX_PATH), 0u);
    ASSERT_NE(fs::path(shortName), monitor) << "no short name to compare";

    const std::string path = Narrow(monitor.wstring());
    const std::string lower = Narrow((temp.Path() / L"ölmühle programme" / L"mossik.EXE").wstring());
    const std::string other = Narrow((temp.Path() / L"Olmuhle Programme" / L"Mossik.exe").wstring());
    const std::pair<std::string, bool> cases[] = {
        {path, true}, {Narrow(shortName), true}, {lower, true}, {other, false}, {Narrow(folder.wstring()), false}};
    Win32FileNames names;
    for (const auto& [candidate, same] : cases) {
        EXPECT_EQ(names.SameFile(candidate, path), same) << candidate;
    }
    EXPECT_TRUE(names.SameFile(Narrow(fs::path(shortName).parent_path().wstring()), Narrow(folder.wstring())));

    ASSERT_TRUE(SetEnvironmentVariableW(L"QN_FOLDER", folder.c_str()));
    const std::wstring expanded = L"\"" + folder.wstring() + L"\\Mossik.exe\" %QN_NOT_SET%";
    EXPECT_EQ(names.ExpandEnvironment("\"%QN_FOLDER%\\Mossik.exe\" %QN_NOT_SET%"), Narrow(expanded));
}

} // namespace
} // namespace qn::win32
