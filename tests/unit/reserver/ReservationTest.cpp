#include "reserver/Reservation.h"
#include "tests/unit/support/ScriptedDialogs.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <optional>
#include <tuple>
#include <utility>

namespace qn {
namespace {

using testing::ElementsAre;

// Records what the run asks of the system and answers as scripted.
class FakeReserver : public fake::ScriptedDialogs<ReserverPort> {
public:
    MemoryStatus status{64ULL << 30, 123456789, 80ULL << 30, 60ULL << 30};
    std::uint64_t largestMB = 1884;
    bool obtainable = true;
    std::optional<std::uint64_t> availAfterRelease;

    std::vector<std::uint64_t> reserved;
    std::vector<bool> progressShown;
    std::vector<std::string> opened;
    std::vector<std::uint64_t> heldLimits;

    MemoryStatus QueryMemoryStatus() override { return status; }
    std::uint64_t HoldLargestBlockMB(std::uint64_t limitMB) override {
        heldLimits.push_back(limitMB);
        return std::min(limitMB, largestMB);
    }
    ReserveOutcome ReserveAndRelease(std::uint64_t bytes, bool showProgress) override {
        reserved.push_back(bytes);
        if (obtainable && availAfterRelease) {
            status.availPhys = *availAfterRelease;
        }
        progressShown.push_back(showProgress);
        return obtainable ? ReserveOutcome{true, 0} : ReserveOutcome{false, 0x401A2C};
    }
    NumberSeparators Separators() override { return NumberSeparators{",", "."}; }
    std::string ProgramFileName() override { return "Qelto.exe"; }
    std::string ProgramPath() override { return "C:\\My Tools\\Qelto.exe"; }
    void Open(const std::string& path) override {
        opened.push_back(path);
        boxesBeforeOpen.push_back(shown.size());
    }
    std::vector<std::size_t> boxesBeforeOpen;
    DateTime Now() override { return now; }
    std::uint64_t SteadyMilliseconds() override { return steadyMs += 4200; } // each reading 4.2 s later
    void StoreRecord(const ReservationRecord& record) override { records.push_back(record); }

    DateTime now = 46363.8125; // 7 December 2026, 19:30
    std::uint64_t steadyMs = 5000;
    std::vector<ReservationRecord> records;
};

constexpr std::uint64_t MB = 1048576;

struct OptionsCase {
    std::vector<std::string> arguments;
    std::int32_t sizeMB;
    bool showMessages;
    std::string execPath;
};

class ReadReservationOptionsTest : public testing::TestWithParam<OptionsCase> {};

TEST_P(ReadReservationOptionsTest, ReadsFromFirstToLast) {
    const auto& c = GetParam();
    const ReservationOptions options = ReadReservationOptions(c.arguments);
    EXPECT_EQ(options.sizeMB, c.sizeMB);
    EXPECT_EQ(options.showMessages, c.showMessages);
    EXPECT_EQ(options.execPath, c.execPath);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ReadReservationOptionsTest,
    testing::Values(OptionsCase{{}, 0, true, ""}, OptionsCase{{"/m:64"}, 64, true, ""},
                    OptionsCase{{"/M:$40"}, 64, true, ""}, OptionsCase{{"/M:64MB"}, 0, true, ""},
                    OptionsCase{{"/M:"}, 0, true, ""}, OptionsCase{{"/M:-5"}, -5, true, ""},
                    OptionsCase{{"/M:5000"}, 5000, true, ""}, OptionsCase{{"/M:  70"}, 70, true, ""},
                    // An invalid value sets the size back to 0 even after a valid one.
                    OptionsCase{{"/M:64", "/M:x"}, 0, true, ""}, OptionsCase{{"/M:x", "/M:64"}, 64, true, ""},
                    OptionsCase{{"/nomsg"}, 0, false, ""}, OptionsCase{{"/NoMsg"}, 0, false, ""},
                    OptionsCase{{"/NOMSGS"}, 0, true, ""}, OptionsCase{{"NOMSG"}, 0, true, ""},
                    // Values keep their case; an empty "/E:" clears an earlier one.
                    OptionsCase{{"/e:C:\\Tools\\Mossik.EXE"}, 0, true, "C:\\Tools\\Mossik.EXE"},
                    OptionsCase{{"/E:a.exe", "/E:"}, 0, true, ""}, OptionsCase{{"/E:", "/E:b"}, 0, true, "b"},
                    // Only ASCII letters are upper-cased, and unknown arguments are ignored.
                    OptionsCase{{"/ｍ:64", "-M:3", "/X"}, 0, true, ""}));

TEST(WantedDefaultSizeMBTest, WholeMegabytesOfPhysicalMemoryPlusOne) {
    EXPECT_EQ(WantedDefaultSizeMB(MemoryStatus{66584576, 0}), 64u);
    EXPECT_EQ(WantedDefaultSizeMB(MemoryStatus{64 * MB, 0}), 65u);
    EXPECT_EQ(WantedDefaultSizeMB(MemoryStatus{24ULL << 30, 0}), 24577u);
}

// Commit kept for others: max(256 MB, a tenth of the limit), and 64 MB for the run's own needs besides. Rows in MB:
// physical memory, commit limit, commit available, the largest block the process can obtain; the size.
TEST(DefaultSizeMBTest, LeavesCommitToOthersWithinPhysicalMemoryAndWhatCanBeObtained) {
    const struct {
        std::uint64_t totalPhys, commitLimit, commitAvail, obtainable;
        std::int32_t expected;
    } cases[] = {
        {2048, 4096, 3072, 1884, 1884},             // 32-bit, 2 GB, 1 GB committed: the one block it can have
        {16384, 16384 + 2048, 10240, 16385, 8332},  // 16 GB, 8 GB committed: 10,240 - 1,843.2 - 64
        {65536, 65536 + 1024, 54272, 65537, 47552}, // 64 GB, a 1 GB page file, 12 GB committed: 54,272 - 6,656 - 64
        {8192, 8192, 7168, 8193, 6284},             // no page file, 1 GB committed: 7,168 - 819.2 - 64
        {2048, 2048, 1536, 1884, 1216},             // 256 MB kept, more than a tenth: 1,536 - 256 - 64
        {8192, 32768, 30000, 8193, 8193},           // a large page file: physical memory plus one decides
        {16384, 18432, 1900, 16385, 0},             // commit nearly exhausted: nothing is reserved
        {1ULL << 32, 1ULL << 33, 1ULL << 33, 1ULL << 32, INT32_MAX},
    };
    for (const auto& c : cases) {
        const MemoryStatus status{c.totalPhys * MB, 0, c.commitLimit * MB, c.commitAvail * MB};
        EXPECT_EQ(DefaultSizeMB(status, c.obtainable), c.expected) << c.totalPhys << " MB, " << c.commitAvail;
    }
}

TEST(RunReservationTest, DefaultSizeIsHeldBeforeTheConfirmation) {
    FakeReserver fake;
    fake.status.totalPhys = 66584576;
    fake.answers = {DialogAnswer::Cancel};
    RunReservation({}, fake);
    EXPECT_THAT(fake.heldLimits, ElementsAre(64u));
    ASSERT_EQ(fake.shown.size(), 1u);
    EXPECT_EQ(fake.shown[0].text, "64ＭＢの確保を行います");
}

TEST(RunReservationTest, AfterTheConfirmationADefaultSizeTakesTheSmallerOfItsTwoMeasurements) {
    // The arguments, the commit available once the box is answered (MB), the size reserved (MB). Before the box:
    // 60 GB available of an 80 GB limit, so the block the process can obtain (1,884 MB) decides.
    const std::tuple<std::vector<std::string>, std::uint64_t, std::uint64_t> cases[] = {
        {{}, 9216, 960}, // 9,216 - 8,192 kept - 64 own
        {{}, 70000, 1884},
        {{"/M:1500"}, 9216, 1500}, // a given size is taken as given
    };
    for (const auto& [arguments, commitAvailMB, reservedMB] : cases) {
        FakeReserver fake;
        // What other programs did while the box stood open.
        fake.whileShown = [&fake, mb = commitAvailMB] { fake.status.commitAvail = mb * MB; };
        RunReservation(arguments, fake);
        EXPECT_THAT(fake.reserved, ElementsAre(reservedMB * MB)) << commitAvailMB;
        EXPECT_EQ(fake.shown[0].text, arguments.empty() ? "1884ＭＢの確保を行います" : "1500ＭＢの確保を行います");
    }
}

TEST(RunReservationTest, ExplicitSizeHoldsNothing) {
    FakeReserver fake;
    RunReservation({"/NOMSG", "/M:64"}, fake);
    EXPECT_TRUE(fake.heldLimits.empty());
}

TEST(RunReservationTest, NoArgumentsConfirmsReservesReportsAndEnds) {
    FakeReserver fake;
    EXPECT_EQ(RunReservation({}, fake), 0);
    ASSERT_EQ(fake.shown.size(), 2u);
    EXPECT_EQ(fake.shown[0].text, "1884ＭＢの確保を行います");
    EXPECT_EQ(fake.shown[0].title, "QeltoNimbi Ver.0.04");
    EXPECT_EQ(fake.shown[0].style, 0x1041u);
    EXPECT_EQ(fake.shown[1].text, "117.74MBの空きメモリを確保しました\r\r\n QeltoNimbi -メモリ確保-\r\n"
                                  "Copyright (C) 2026 Harvelt. All rights reserved.");
    EXPECT_EQ(fake.shown[1].style, 0x1040u);
    EXPECT_THAT(fake.reserved, ElementsAre(1884 * MB));
    EXPECT_THAT(fake.progressShown, ElementsAre(true));
    EXPECT_TRUE(fake.opened.empty());
}

TEST(RunReservationTest, CancelEndsWithoutReserving) {
    FakeReserver fake;
    fake.answers = {DialogAnswer::Cancel};
    EXPECT_EQ(RunReservation({"/M:64", "/E:x.exe"}, fake), 0);
    EXPECT_EQ(fake.shown.size(), 1u);
    EXPECT_TRUE(fake.reserved.empty());
    EXPECT_TRUE(fake.opened.empty());
}

TEST(RunReservationTest, AnyAnswerButCancelGoesOn) {
    FakeReserver fake;
    fake.answers = {DialogAnswer::Other};
    EXPECT_EQ(RunReservation({"/M:64"}, fake), 0);
    EXPECT_THAT(fake.reserved, ElementsAre(64 * MB));
}

TEST(RunReservationTest, LargeSizesAreNeverWrapped) {
    FakeReserver fake;
    EXPECT_EQ(RunReservation({"/NOMSG", "/M:4096"}, fake), 0);
    EXPECT_EQ(RunReservation({"/NOMSG", "/M:5000"}, fake), 0);
    EXPECT_EQ(RunReservation({"/NOMSG", "/M:$7FFFFFFF"}, fake), 0);
    EXPECT_THAT(fake.reserved, ElementsAre(4096 * MB, 5000 * MB, 2147483647ULL * MB));
}

TEST(RunReservationTest, NegativeSizeReservesNothingButReportsAndChains) {
    FakeReserver fake;
    EXPECT_EQ(RunReservation({"/M:-5", "/E:next.exe"}, fake), 0);
    ASSERT_EQ(fake.shown.size(), 2u);
    EXPECT_EQ(fake.shown[0].text, "-5ＭＢの確保を行います");
    EXPECT_TRUE(fake.reserved.empty());
    EXPECT_THAT(fake.opened, ElementsAre("next.exe"));
}

TEST(RunReservationTest, SilentHandOverFromTheMonitor) {
    FakeReserver fake;
    EXPECT_EQ(RunReservation({"/E:C:\\My Tools\\Mossik.EXE", "/NoMsg"}, fake), 0);
    EXPECT_TRUE(fake.shown.empty());
    EXPECT_THAT(fake.reserved, ElementsAre(1884 * MB));
    EXPECT_THAT(fake.progressShown, ElementsAre(false));
    EXPECT_THAT(fake.opened, ElementsAre("C:\\My Tools\\Mossik.EXE"));
}

TEST(RunReservationTest, OutOfMemoryIsReportedEvenWhenSilentAndEndsWithOne) {
    FakeReserver fake;
    fake.obtainable = false;
    EXPECT_EQ(RunReservation({"/NOMSG", "/M:4000", "/E:next.exe"}, fake), 1);
    ASSERT_EQ(fake.shown.size(), 1u);
    EXPECT_EQ(fake.shown[0].text, "EOutOfMemoryがﾓｼﾞｭｰﾙ Qelto.exe の\n00401A2C で発生しました。\nﾒﾓﾘが足りません.\n");
    EXPECT_EQ(fake.shown[0].title, "ｱﾌﾟﾘｹｰｼｮﾝ ｴﾗｰ");
    EXPECT_EQ(fake.shown[0].style, 0x2010u);
    EXPECT_TRUE(fake.opened.empty());
}

TEST(RunReservationTest, AFailedRunOpensAProgramOfItsOwnFolderAtOnceAndNoOtherProgram) {
    // What /E: names, and whether the failed run opens it, before its box.
    const std::pair<const char*, bool> cases[] = {
        {"C:\\My Tools\\Mossik.EXE", true}, {"c:\\my tools\\dunfel.exe", true},      {"C:\\Other\\Mossik.EXE", false},
        {"C:\\My Tools\\next.exe", false},  {"C:\\My Tools\\Mossik.EXE.lnk", false},
    };
    for (const auto& [exec, opens] : cases) {
        FakeReserver fake;
        fake.obtainable = false;
        EXPECT_EQ(RunReservation({"/M:2000000000", std::string("/E:") + exec, "/NoMsg"}, fake), 1) << exec;
        EXPECT_EQ(fake.shown.size(), 1u) << "the box stays";
        EXPECT_EQ(fake.opened, opens ? std::vector<std::string>{exec} : std::vector<std::string>{}) << exec;
        EXPECT_EQ(fake.boxesBeforeOpen, opens ? std::vector<std::size_t>{0} : std::vector<std::size_t>{}) << exec;
    }
}

TEST(RunReservationTest, OnlyARunThatTookABlockStoresItsRecordAndItsResultBoxStaysAsItWas) {
    FakeReserver fake;
    fake.status.availPhys = 1234 * MB + MB / 2;
    fake.availAfterRelease = 5678 * MB + MB / 4;
    fake.answers = {DialogAnswer::Cancel}; // the first run is declined
    RunReservation({"/M:2048"}, fake);
    fake.obtainable = false;
    RunReservation({"/NOMSG", "/M:4000"}, fake); // out of memory
    RunReservation({"/NOMSG", "/M:-5"}, fake);   // nothing to reserve
    EXPECT_TRUE(fake.records.empty());
    fake.obtainable = true;
    RunReservation({"/M:2048"}, fake);
    ASSERT_EQ(fake.records.size(), 1u);
    const ReservationRecord& r = fake.records[0];
    EXPECT_EQ(std::tie(r.ended, r.sizeMB, r.freeBeforeMB, r.freeAfterMB, r.seconds),
              std::make_tuple(fake.now, 2048, 1234.5, 5678.25, 4.2));
    EXPECT_THAT(fake.shown.back().text, testing::StartsWith("5,678.25MBの空きメモリを確保しました\r\r\n"));
}

TEST(ResultTextTest, UsesTheGivenSeparators) {
    EXPECT_EQ(ResultText(24105ULL * MB + MB / 2, NumberSeparators{".", ","}).substr(0, 9), "24.105,50");
}

} // namespace
} // namespace qn
