// Kolvane.exe driven from outside: its five dialogs, the settings key and the files in its own folder.
#include "tests/support/Driver.h"
#include "tests/support/Host.h"
#include "tests/support/RunKey.h"
#include "tests/support/TestRegistry.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sddl.h>

#include <fstream>

namespace qn::e2e {
namespace {

namespace fs = std::filesystem;
using testing::ElementsAre;

constexpr const wchar_t* kConfirmRegistry = L"確認します｡\r\nQeltoNimbiのレジストリ情報を削除しますか？";
constexpr const wchar_t* kConfirmRegistryInEnglish =
    L"Please confirm.\r\nDelete QeltoNimbi's settings from the registry?";
constexpr const wchar_t* kRegistryFailed = L"レジストリ情報の削除に失敗しました｡\r\n手動で削除してください｡";
constexpr const wchar_t* kConfirmFiles =
    L"レジストリ情報を削除しました｡\r\n\r\nQeltoNimbiの\r\n関連ファイルの削除をしますか？";
constexpr const wchar_t* kFilesFailed = L"ファイルの削除に失敗しました｡\r\n手動で削除してください｡";
constexpr const wchar_t* kDone = L"このプログラムを終了後\r\nKolvane.EXEを削除してください｡";

const wchar_t* const kProductFiles[] = {L"Qelto.EXE", L"Mossik.EXE", L"Dunfel.EXE", L"ReadMe.Txt", L"History.Txt"};

struct FolderSearch {
    std::wstring leaf;
    std::wstring path;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectFolderWindow(HWND window, LPARAM param) {
    auto& search = *reinterpret_cast<FolderSearch*>(param);
    const std::wstring cls = ClassName(window);
    const std::wstring title = WindowText(window);
    // Wine's folder windows are ExplorerWClass, Windows' CabinetWClass; either titles them with the folder, and
    // Windows 11 adds the name of its file manager ("QeltoNimbi - File Explorer").
    if (IsWindowVisible(window) && (cls == L"ExplorerWClass" || cls == L"CabinetWClass") &&
        (title == search.leaf || title == search.path || title.starts_with(search.leaf + L" - "))) {
        search.found.push_back(window);
    }
    return TRUE;
}

// The folder windows open on `folder`, from any process.
std::vector<HWND> FolderWindows(const fs::path& folder) {
    FolderSearch search{folder.filename().wstring(), folder.wstring(), {}};
    EnumWindows(CollectFolderWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Closes them. Under Wine each folder window is an explorer process of its own, ended when closing does not end
// it: left behind, it would keep the test runner's output open. On Windows the window belongs to the shell
// itself, which must go on running.
void CloseFolderWindows(const fs::path& folder) {
    for (HWND window : FolderWindows(folder)) {
        DWORD processId = 0;
        GetWindowThreadProcessId(window, &processId);
        const win32::UniqueHandle process(OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, processId));
        PostMessageW(window, WM_CLOSE, 0, 0);
        if (!RunsUnderWine()) {
            WaitUntil([&] { return !IsWindow(window); }, 3s);
        } else if (process && WaitForSingleObject(process.get(), 3000) != WAIT_OBJECT_0) {
            TerminateProcess(process.get(), 0);
        }
    }
}

// HKEY_CURRENT_USER as the kernel names it, which is what a registry link's target must be written as.
std::wstring CurrentUserKernelPath() {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) {
        return std::wstring();
    }
    const win32::UniqueHandle owned(token);
    DWORD size = 0;
    GetTokenInformation(token, TokenUser, nullptr, 0, &size);
    std::vector<BYTE> user(size);
    wchar_t* sid = nullptr;
    if (!GetTokenInformation(token, TokenUser, user.data(), size, &size) ||
        !ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(user.data())->User.Sid, &sid)) {
        return std::wstring();
    }
    std::wstring path = L"\\Registry\\User\\" + std::wstring(sid);
    LocalFree(sid);
    return path;
}

// Makes `link` (below HKEY_CURRENT_USER) a symbolic link to `target`; false where the registry has no links.
bool MakeRegistryLink(const std::wstring& link, const std::wstring& target) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, link.c_str(), 0, nullptr, REG_OPTION_CREATE_LINK | REG_OPTION_VOLATILE,
                        KEY_ALL_ACCESS | KEY_CREATE_LINK, nullptr, &key, nullptr) != ERROR_SUCCESS) {
        return false;
    }
    const std::wstring to = CurrentUserKernelPath() + L"\\" + target;
    const bool set = RegSetValueExW(key, L"SymbolicLinkValue", 0, REG_LINK, reinterpret_cast<const BYTE*>(to.data()),
                                    static_cast<DWORD>(to.size() * sizeof(wchar_t))) == ERROR_SUCCESS;
    RegCloseKey(key);
    return set;
}

// A copy of Kolvane.exe in a folder of its own, next to stand-ins for the product's files.
class KolvaneTest : public testing::Test {
protected:
    explicit KolvaneTest(const std::wstring& folderName = L"QeltoNimbi") : folder(folderName) {}

    void SetUp() override {
        ForgetSettings();
        ForgetRunCommand();
        fs::copy_file(ProductPath(L"Kolvane.exe"), Dir() / L"Kolvane.EXE");
        for (const wchar_t* name : kProductFiles) {
            Touch(name);
        }
        Touch(L"Other.txt");
    }
    void TearDown() override {
        ExpectFolderWindowThenClose();
        ForgetSettings();
        ForgetRunCommand();
    }

    // A run that went past the second question opened a folder window, also when deleting failed.
    void ExpectFolderWindowThenClose() {
        if (m_folderExpected) {
            EXPECT_TRUE(WaitUntil([&] { return !FolderWindows(Dir()).empty(); })) << "no folder window";
        }
        CloseFolderWindows(Dir());
        m_folderExpected = false;
    }

    const fs::path& Dir() const { return folder.Path(); }
    void Touch(const wchar_t* name) { std::ofstream(Dir() / name) << "x"; }
    bool Has(const wchar_t* name) const { return fs::exists(Dir() / name); }

    Process Start() { return Process::Start(Quoted(Dir() / L"Kolvane.EXE"), Dir()); }

    // One whole run: each dialog in turn must show its text and gets its answer; the run then ends with 0.
    void Run(std::initializer_list<std::pair<const wchar_t*, int>> dialogs) {
        Process kolvane = Start();
        for (const auto& [text, answer] : dialogs) {
            Expect(kolvane, text, answer);
        }
        EXPECT_EQ(kolvane.WaitForExit(), 0u);
    }

    // The next dialog of the run must show `text` with the buttons and icon that belong to it; answers it.
    void Expect(const Process& kolvane, const wchar_t* text, int answer) {
        HWND box = WaitForNextDialog(kolvane.Id(), m_lastBox);
        ASSERT_NE(box, nullptr) << "no dialog: " << ToUtf8(text);
        m_lastBox = box;
        const DialogSnapshot shown = ReadDialog(box);
        EXPECT_EQ(shown.title, L"QeltoNimbi");
        EXPECT_EQ(shown.text, text);
        EXPECT_TRUE(shown.topmost) << "system-modal";
        const bool question = text == kConfirmRegistry || text == kConfirmRegistryInEnglish || text == kConfirmFiles;
        const bool failure = text == kRegistryFailed || text == kFilesFailed;
        if (question) {
            EXPECT_THAT(shown.buttons, ElementsAre(IDOK, IDCANCEL));
        } else {
            EXPECT_THAT(shown.buttons, ElementsAre(IDOK));
        }
        EXPECT_EQ(shown.icon, failure ? BoxIcon::Stop : BoxIcon::Information);
        if (text == kConfirmFiles && answer == IDOK) {
            m_folderExpected = true;
        }
        PressButton(box, answer);
    }

    TempDir folder;

private:
    HWND m_lastBox = nullptr;
    bool m_folderExpected = false;
};

TEST_F(KolvaneTest, AMissingKeyIsCreatedAndDeletedThenEveryProductFileGoes) {
    Process kolvane = Start();
    Expect(kolvane, kConfirmRegistry, IDOK);
    Expect(kolvane, kConfirmFiles, IDOK);
    HWND done = WaitForDialog(kolvane.Id());
    ASSERT_NE(done, nullptr);
    // By the last dialog the work is done.
    EXPECT_FALSE(KeyExists(kSettingsKey));
    EXPECT_TRUE(KeyExists(kSettingsParent)) << "the parent key stays";
    for (const wchar_t* name : kProductFiles) {
        EXPECT_FALSE(Has(name)) << ToUtf8(name);
    }
    EXPECT_TRUE(Has(L"Kolvane.EXE")) << "never deletes itself";
    EXPECT_TRUE(Has(L"Other.txt"));
    Expect(kolvane, kDone, IDOK);
    EXPECT_EQ(kolvane.WaitForExit(), 0u);
}

TEST_F(KolvaneTest, NestedSubkeysGoWithTheKeyAndCancelAtTheFileQuestionKeepsEveryFile) {
    PutDword(L"Show", 1);
    for (const wchar_t* sub : {L"\\A", L"\\A\\B\\C", L"\\A\\B2", L"\\D", L"\\E\\F", L"\\G", L"\\H"}) {
        MakeKey(std::wstring(kSettingsKey) + sub);
    }
    MakeKey(L"Software\\Harvelt\\Other");
    Run({{kConfirmRegistry, IDOK}, {kConfirmFiles, IDCANCEL}});
    EXPECT_TRUE(StaysFalse([&] { return !FolderWindows(Dir()).empty(); })) << "no folder window after Cancel";
    EXPECT_FALSE(KeyExists(kSettingsKey));
    EXPECT_TRUE(KeyExists(L"Software\\Harvelt\\Other"));
    for (const wchar_t* name : kProductFiles) {
        EXPECT_TRUE(Has(name)) << ToUtf8(name);
    }
}

// The value as a user's tool may leave it: REG_EXPAND_SZ, the folder in an environment string and in its 8.3 form.
TEST_F(KolvaneTest, TheRegistryStageRemovesTheStartAtLogOnOfThisFolderOnly) {
    wchar_t shortDir[MAX_PATH] = {};
    ASSERT_NE(GetShortPathNameW(Dir().c_str(), shortDir, MAX_PATH), 0u);
    ASSERT_NE(shortDir, Dir().wstring()) << "no short name to compare";
    ASSERT_TRUE(SetEnvironmentVariableW(L"QN_FOLDER", shortDir)); // the tool inherits it
    const std::wstring expandable = L"\"%QN_FOLDER%\\MOSSIK.EXE\"";
    PutRaw(kRunValue, REG_EXPAND_SZ, BytesOf(expandable.c_str(), expandable.size() + 1), kRunKey);
    Run({{kConfirmRegistry, IDOK}, {kConfirmFiles, IDCANCEL}});
    EXPECT_FALSE(GetRaw(kRunValue, kRunKey));

    const std::wstring elsewhere = L"\"C:\\Other Folder\\Mossik.exe\"";
    PutRunCommand(elsewhere);
    Run({{kConfirmRegistry, IDOK}, {kConfirmFiles, IDCANCEL}});
    EXPECT_EQ(RunCommand(), elsewhere);
}

TEST_F(KolvaneTest, ALinkBelowTheSettingsKeyGoesAndTheKeyItPointsToStays) {
    const std::wstring target = L"Software\\Harvelt\\Elsewhere";
    MakeKey(target + L"\\Below");
    MakeKey(kSettingsKey);
    ASSERT_TRUE(MakeRegistryLink(std::wstring(kSettingsKey) + L"\\Link", target));
    ASSERT_TRUE(KeyExists(std::wstring(kSettingsKey) + L"\\Link\\Below")) << "the link does not lead to its target";
    Run({{kConfirmRegistry, IDOK}, {kConfirmFiles, IDCANCEL}});
    EXPECT_FALSE(KeyExists(kSettingsKey));
    EXPECT_TRUE(KeyExists(target + L"\\Below"));
}

// In English, as the settings can choose.
TEST_F(KolvaneTest, CancelAtTheFirstQuestionChangesNothing) {
    PutDword(L"Language", 2);
    PutDword(L"Time", 1);
    MakeKey(std::wstring(kSettingsKey) + L"\\Sub");
    Run({{kConfirmRegistryInEnglish, IDCANCEL}});
    EXPECT_EQ(GetDword(L"Time"), 1u);
    EXPECT_TRUE(KeyExists(std::wstring(kSettingsKey) + L"\\Sub"));
    for (const wchar_t* name : kProductFiles) {
        EXPECT_TRUE(Has(name)) << ToUtf8(name);
    }
}

TEST_F(KolvaneTest, AProgramFileInUseStopsTheStageAndASecondRunFinishes) {
    {
        // Held open without delete sharing, as a running monitor holds its executable.
        const win32::UniqueHandle held(CreateFileW((Dir() / L"Mossik.EXE").c_str(), GENERIC_READ, FILE_SHARE_READ,
                                                   nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_NE(held.get(), INVALID_HANDLE_VALUE);
        Run({{kConfirmRegistry, IDOK}, {kConfirmFiles, IDOK}, {kFilesFailed, IDOK}});
        EXPECT_FALSE(Has(L"Qelto.EXE"));
        for (const wchar_t* name : {L"Mossik.EXE", L"Dunfel.EXE", L"ReadMe.Txt", L"History.Txt"}) {
            EXPECT_TRUE(Has(name)) << ToUtf8(name);
        }
        ExpectFolderWindowThenClose();
    }
    // Qelto.EXE is gone already; that must not stop the run that follows.
    Run({{kConfirmRegistry, IDOK}, {kConfirmFiles, IDOK}, {kDone, IDOK}});
    for (const wchar_t* name : kProductFiles) {
        EXPECT_FALSE(Has(name)) << ToUtf8(name);
    }
}

TEST_F(KolvaneTest, AReadOnlyProgramFileStopsTheStage) {
    SetFileAttributesW((Dir() / L"Dunfel.EXE").c_str(), FILE_ATTRIBUTE_READONLY);
    Run({{kConfirmRegistry, IDOK}, {kConfirmFiles, IDOK}, {kFilesFailed, IDOK}});
    EXPECT_FALSE(Has(L"Mossik.EXE"));
    EXPECT_TRUE(Has(L"Dunfel.EXE"));
    EXPECT_TRUE(Has(L"ReadMe.Txt"));
    SetFileAttributesW((Dir() / L"Dunfel.EXE").c_str(), FILE_ATTRIBUTE_NORMAL);
}

// "表" and "ソ" end in a backslash byte in Shift-JIS; the folder must still be cut at the real separator.
class KolvaneJapaneseFolderTest : public KolvaneTest {
protected:
    KolvaneJapaneseFolderTest() : KolvaneTest(L"表示ソフト") {}
};

TEST_F(KolvaneJapaneseFolderTest, DeletesTheFilesInItsOwnFolder) {
    Run({{kConfirmRegistry, IDOK}, {kConfirmFiles, IDOK}, {kDone, IDOK}});
    for (const wchar_t* name : kProductFiles) {
        EXPECT_FALSE(Has(name)) << ToUtf8(name);
    }
    EXPECT_TRUE(Has(L"Kolvane.EXE"));
}

} // namespace
} // namespace qn::e2e
