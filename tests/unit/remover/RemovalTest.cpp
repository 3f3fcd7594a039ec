#include "common/RegistryValues.h"
#include "remover/Removal.h"
#include "remover/RemoverTexts.h"
#include "tests/unit/support/FakeFileNames.h"
#include "tests/unit/support/FakeRegistry.h"
#include "tests/unit/support/ScriptedDialogs.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>
#include <tuple>

namespace qn {
namespace {

using testing::ElementsAre;
using testing::IsEmpty;

constexpr const char* kKey = "Software\\Harvelt\\Ambrola";
constexpr unsigned kQuestion = 0x1041;
constexpr unsigned kFailure = 0x1010;
constexpr unsigned kNotice = 0x1040;

// Answers dialogs as scripted and keeps one list of everything the run did, in order.
class FakeRemover : public fake::ScriptedDialogs<RemoverPort> {
public:
    FakeRemover() : ScriptedDialogs("QeltoNimbi") {}

    std::string programPath = "C:\\Program Files\\QeltoNimbi\\Kolvane.EXE";
    bool folderOpens = true;
    std::map<std::string, FileDeletion> outcomes; // by path; anything else is deleted

    std::vector<std::string> events;

    DialogAnswer ShowMessage(const std::string& text, const std::string& title, unsigned style) override {
        events.push_back("dialog " + text);
        return ScriptedDialogs::ShowMessage(text, title, style);
    }
    std::string ProgramPath() override { return programPath; }
    bool ShowFolder(const std::string& directory) override {
        events.push_back("folder " + directory);
        return folderOpens;
    }
    FileDeletion RemoveFile(const std::string& path) override {
        events.push_back("delete " + path);
        const auto found = outcomes.find(path);
        return found == outcomes.end() ? FileDeletion::Deleted : found->second;
    }
    bool FileExists(const std::string& path) override {
        const auto found = outcomes.find(path);
        return found == outcomes.end() || found->second != FileDeletion::Missing;
    }
};

std::string Dialog(std::string_view text) {
    return "dialog " + std::string(text);
}

class RemovalTest : public testing::Test {
protected:
    int Run() {
        const int exitCode = RunRemoval(port, registry.Root(), names);
        EXPECT_EQ(registry.OpenKeys(), 0) << "a key was left open";
        return exitCode;
    }

    fake::Registry registry;
    fake::FileNames names;
    FakeRemover port;
    const std::string dir = "C:\\Program Files\\QeltoNimbi";
};

TEST_F(RemovalTest, AMissingKeyIsCreatedAndDeletedAndEveryFileGoesAfterTheFolderWindow) {
    EXPECT_EQ(Run(), 0);
    EXPECT_FALSE(registry.Exists(kKey));
    EXPECT_TRUE(registry.Exists("Software\\Harvelt"));
    EXPECT_THAT(port.events,
                ElementsAre(Dialog(kRemoverJapanese.confirmRegistry), Dialog(kRemoverJapanese.confirmFiles),
                            "folder " + dir, "delete " + dir + "\\Qelto.EXE", "delete " + dir + "\\Mossik.EXE",
                            "delete " + dir + "\\Dunfel.EXE", "delete " + dir + "\\ReadMe.Txt",
                            "delete " + dir + "\\History.Txt", Dialog(kRemoverJapanese.done)));
    ASSERT_EQ(port.shown.size(), 3u);
    EXPECT_EQ(std::tie(port.shown[0].style, port.shown[1].style, port.shown[2].style),
              std::tie(kQuestion, kQuestion, kNotice));
}

TEST_F(RemovalTest, NestedAndSiblingSubkeysAllGoButTheParentStays) {
    registry.Put(kKey, "Show", regtype::kDword, {1, 0, 0, 0});
    for (const char* path : {"\\A", "\\A\\B\\C", "\\A\\B2", "\\D", "\\E", "\\F\\G", "\\H"}) {
        registry.Make(std::string(kKey) + path);
    }
    registry.Make("Software\\Harvelt\\Other");
    port.answers = {DialogAnswer::Ok, DialogAnswer::Cancel};
    EXPECT_EQ(Run(), 0);
    EXPECT_FALSE(registry.Exists(kKey));
    EXPECT_TRUE(registry.Exists("Software\\Harvelt\\Other"));
}

TEST_F(RemovalTest, ALinkBelowTheKeyGoesAndTheKeyItPointsToStays) {
    const auto target = registry.Make("Software\\Other\\Kept");
    registry.Make("Software\\Other\\Kept\\Below");
    registry.Make(std::string(kKey) + "\\Link")->link = target;
    port.answers = {DialogAnswer::Ok, DialogAnswer::Cancel};
    EXPECT_EQ(Run(), 0);
    EXPECT_FALSE(registry.Exists(kKey));
    EXPECT_TRUE(registry.Exists("Software\\Other\\Kept\\Below"));
}

TEST_F(RemovalTest, CancelAtTheFirstQuestionChangesNothing) {
    port.answers = {DialogAnswer::Cancel};
    EXPECT_EQ(Run(), 0);
    EXPECT_FALSE(registry.Exists("Software\\Harvelt"));
    EXPECT_THAT(port.events, ElementsAre(Dialog(kRemoverJapanese.confirmRegistry)));
}

TEST_F(RemovalTest, CancelAtTheSecondQuestionLeavesEveryFileAndOpensNoFolder) {
    registry.Make(kKey);
    port.answers = {DialogAnswer::Ok, DialogAnswer::Cancel};
    EXPECT_EQ(Run(), 0);
    EXPECT_FALSE(registry.Exists(kKey));
    EXPECT_THAT(port.events,
                ElementsAre(Dialog(kRemoverJapanese.confirmRegistry), Dialog(kRemoverJapanese.confirmFiles)));
}

TEST_F(RemovalTest, AnUndeletableKeyStopsBeforeAnyFile) {
    registry.Make(std::string(kKey) + "\\Locked")->denied = true;
    EXPECT_EQ(Run(), 0);
    EXPECT_TRUE(registry.Exists(kKey));
    EXPECT_THAT(port.events,
                ElementsAre(Dialog(kRemoverJapanese.confirmRegistry), Dialog(kRemoverJapanese.registryFailed)));
    EXPECT_EQ(port.shown.back().style, kFailure);
}

TEST_F(RemovalTest, TheStartAtLogOnGoesWithTheRegistryStageOnlyWhenItStartsAProgramOfThisFolder) {
    constexpr const char* kRun = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
    const auto runValue = [&] { return registry.Get(kRun, "QeltoNimbi"); };
    registry.Put(kRun, "QeltoNimbi", regtype::kString, StringDataOf("\"" + dir + "\\Mossik.exe\""));
    port.answers = {DialogAnswer::Ok, DialogAnswer::Cancel};
    Run();
    EXPECT_FALSE(runValue());

    registry.Put(kRun, "QeltoNimbi", regtype::kString, StringDataOf("\"D:\\Other\\Mossik.exe\""));
    port.answers = {DialogAnswer::Ok, DialogAnswer::Cancel};
    Run();
    EXPECT_TRUE(runValue());
}

TEST_F(RemovalTest, AFolderWindowThatDoesNotOpenStopsBeforeAnyFile) {
    port.folderOpens = false;
    EXPECT_EQ(Run(), 0);
    EXPECT_THAT(port.events,
                ElementsAre(Dialog(kRemoverJapanese.confirmRegistry), Dialog(kRemoverJapanese.confirmFiles),
                            "folder " + dir, Dialog(kRemoverJapanese.filesFailed)));
    EXPECT_EQ(port.shown.back().style, kFailure);
}

struct FileCase {
    const char* what;
    std::map<std::string, FileDeletion> outcomes; // by file name
    std::vector<std::string> tried;               // file names, in order
    bool finished;                                // dialog 5 rather than 4
};

std::ostream& operator<<(std::ostream& out, const FileCase& c) {
    return out << c.what;
}

class FileStageTest : public RemovalTest, public testing::WithParamInterface<FileCase> {};

TEST_P(FileStageTest, ProgramFilesMustGoTextFilesMay) {
    for (const auto& [name, outcome] : GetParam().outcomes) {
        port.outcomes[dir + "\\" + name] = outcome;
    }
    EXPECT_EQ(Run(), 0);
    std::vector<std::string> tried;
    for (const std::string& event : port.events) {
        if (event.starts_with("delete ")) {
            tried.push_back(event.substr(event.rfind('\\') + 1));
        }
    }
    EXPECT_EQ(tried, GetParam().tried);
    EXPECT_EQ(port.events.back(), Dialog(GetParam().finished ? kRemoverJapanese.done : kRemoverJapanese.filesFailed));
}

const std::vector<std::string> kAll = {"Qelto.EXE", "Mossik.EXE", "Dunfel.EXE", "ReadMe.Txt", "History.Txt"};

INSTANTIATE_TEST_SUITE_P(
    Outcomes, FileStageTest,
    testing::Values(
        FileCase{"monitor running", {{"Mossik.EXE", FileDeletion::Failed}}, {"Qelto.EXE", "Mossik.EXE"}, false},
        FileCase{"first program locked", {{"Qelto.EXE", FileDeletion::Failed}}, {"Qelto.EXE"}, false},
        FileCase{"last program locked",
                 {{"Dunfel.EXE", FileDeletion::Failed}},
                 {"Qelto.EXE", "Mossik.EXE", "Dunfel.EXE"},
                 false},
        // A second run after a failure: what the first run deleted is missing now, and that is fine.
        FileCase{"second run", {{"Qelto.EXE", FileDeletion::Missing}}, kAll, true},
        // Started from a folder that is not the product's: its documents are left alone.
        FileCase{"no program file",
                 {{"Qelto.EXE", FileDeletion::Missing},
                  {"Mossik.EXE", FileDeletion::Missing},
                  {"Dunfel.EXE", FileDeletion::Missing}},
                 {},
                 false},
        FileCase{"only the last program file",
                 {{"Qelto.EXE", FileDeletion::Missing}, {"Mossik.EXE", FileDeletion::Missing}},
                 kAll,
                 true},
        FileCase{"texts missing",
                 {{"ReadMe.Txt", FileDeletion::Missing}, {"History.Txt", FileDeletion::Missing}},
                 kAll,
                 true},
        FileCase{"texts undeletable",
                 {{"ReadMe.Txt", FileDeletion::Failed}, {"History.Txt", FileDeletion::Failed}},
                 kAll,
                 true}));

TEST_F(RemovalTest, TheDirectoryIsCutFromTheToolsOwnPath) {
    const std::pair<const char*, const char*> cases[] = {
        {"C:\\Kolvane.EXE", "C:\\"},
        {"C:\\表\\ソ\\Kolvane.EXE", "C:\\表\\ソ"},
        {"\\\\server\\share\\Kolvane.EXE", "\\\\server\\share"},
    };
    for (const auto& [program, directory] : cases) {
        FakeRemover one;
        one.programPath = program;
        one.answers = {DialogAnswer::Ok, DialogAnswer::Ok};
        RunRemoval(one, registry.Root(), names);
        ASSERT_GE(one.events.size(), 4u);
        EXPECT_EQ(one.events[2], "folder " + std::string(directory));
        // The names bring their own backslash, also after a drive root: Windows reads C:\\Qelto.EXE as C:\Qelto.EXE.
        EXPECT_EQ(one.events[3], "delete " + std::string(directory) + "\\Qelto.EXE");
    }
}

} // namespace
} // namespace qn
