// Whether the start at log-on names the programs' own files, on real files: short 8.3 names, the file system's
// letter case and the system's environment strings.
#include "common/win32/FileNames.h"
#include "common/win32/Utf.h"
#include "tests/support/Driver.h"

#include <gtest/gtest.h>
#include <windows.h>

namespace qn::win32 {
namespace {

TEST(FileNamesTest, PathsAreComparedAsTheFileSystemNamesThem) {
    const e2e::TempDir temp(L"file names");
    // No 8.3 name, so it has a short one of its own; "Ö" is a letter whose case only Unicode knows.
    const std::filesystem::path folder = temp.Path() / L"Ölmühle Programme";
    std::filesystem::create_directories(folder);
    const std::wstring monitor = folder / L"Mossik.exe";
    CloseHandle(CreateFileW(monitor.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
    wchar_t shortName[MAX_PATH] = {};
    ASSERT_NE(GetShortPathNameW(monitor.c_str(), shortName, MAX_PATH), 0u);
    ASSERT_NE(shortName, monitor) << "no short name to compare";

    const std::pair<std::wstring, bool> cases[] = {{shortName, true},
                                                   {(temp.Path() / L"ölmühle programme\\mossik.EXE").wstring(), true},
                                                   {(temp.Path() / L"Olmuhle Programme\\Mossik.exe").wstring(), false},
                                                   {folder.wstring(), false}};
    Win32FileNames names;
    for (const auto& [candidate, same] : cases) {
        EXPECT_EQ(names.SameFile(Narrow(candidate), Narrow(monitor)), same) << Narrow(candidate);
    }
    ASSERT_TRUE(SetEnvironmentVariableW(L"QN_FOLDER", folder.c_str()));
    EXPECT_EQ(names.ExpandEnvironment("%QN_FOLDER%\\Mossik.exe %QN_NOT_SET%"), Narrow(monitor + L" %QN_NOT_SET%"));
}

} // namespace
} // namespace qn::win32
