#include "reserver/ZeroFill.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <thread>

namespace qn {
namespace {

using testing::ElementsAre;

constexpr std::uint64_t kUnit = kFillSliceAlignment;

// Runs each helper on a real thread, except the starts it is told to refuse.
class FakeStarter : public FillThreadStarter {
public:
    std::set<unsigned> refused; // 0-based numbers of the start attempts that fail
    unsigned attempts = 0;

    bool Start(std::function<void()> work) override {
        if (refused.count(attempts++)) {
            return false;
        }
        threads.emplace_back(std::move(work));
        return true;
    }
    void JoinAll() override {
        for (std::thread& thread : threads) {
            thread.join();
        }
        threads.clear();
    }

private:
    std::vector<std::thread> threads;
};

TEST(FillThreadCountTest, OnePerLogicalProcessorWithinOneAndTheCap) {
    EXPECT_EQ(FillThreadCount(0), 1u);
    EXPECT_EQ(FillThreadCount(1), 1u);
    EXPECT_EQ(FillThreadCount(2), 2u);
    EXPECT_EQ(FillThreadCount(12), 12u);
    EXPECT_EQ(FillThreadCount(256), kMaxFillThreads);
}

TEST(SliceBlockTest, AlignedConsecutiveSlicesCoverTheBlock) {
    EXPECT_THAT(SliceBlock(4 * kUnit, 2, kUnit), ElementsAre(FillSlice{0, 2 * kUnit}, FillSlice{2 * kUnit, 2 * kUnit}));
    // Units that do not divide evenly go to the first slices; bytes beyond the last whole unit to the last.
    EXPECT_THAT(SliceBlock(5 * kUnit + 7, 3, kUnit),
                ElementsAre(FillSlice{0, 2 * kUnit}, FillSlice{2 * kUnit, 2 * kUnit}, FillSlice{4 * kUnit, kUnit + 7}));
    // Never more slices than units, never an empty one.
    EXPECT_THAT(SliceBlock(100, 4, kUnit), ElementsAre(FillSlice{0, 100}));
    EXPECT_THAT(SliceBlock(kUnit, 1, kUnit), ElementsAre(FillSlice{0, kUnit}));
    EXPECT_TRUE(SliceBlock(0, 4, kUnit).empty());
}

struct FillCase {
    const char* name;
    std::uint64_t bytes;
    unsigned threads;
    std::set<unsigned> refused;
    unsigned expectedAttempts; // helpers asked for: one thread less than slices, the caller being one
};

void PrintTo(const FillCase& c, std::ostream* out) {
    *out << c.name;
}

class ZeroFillTest : public testing::TestWithParam<FillCase> {};

TEST_P(ZeroFillTest, EveryByteIsWrittenWhateverThreadsRun) {
    const FillCase& c = GetParam();
    std::vector<std::byte> block(c.bytes + 16, std::byte{0xA5});
    FakeStarter starter;
    starter.refused = c.refused;
    std::atomic<std::uint64_t> written{0};
    ZeroFill(block.data(), c.bytes, c.threads, starter, written, 3 * 4096 + 1);
    EXPECT_EQ(starter.attempts, c.expectedAttempts);
    EXPECT_EQ(written.load(), c.bytes);
    EXPECT_TRUE(std::all_of(block.begin(), block.begin() + c.bytes, [](std::byte b) { return b == std::byte{0}; }));
    EXPECT_TRUE(std::all_of(block.begin() + c.bytes, block.end(), [](std::byte b) { return b == std::byte{0xA5}; }))
        << "written beyond the block";
}

INSTANTIATE_TEST_SUITE_P(Cases, ZeroFillTest,
                         testing::Values(FillCase{"OneProcessor", 3 * kUnit, 1, {}, 0},
                                         FillCase{"TwoProcessors", 4 * kUnit, 2, {}, 1},
                                         FillCase{"SizeNotDivisible", 7 * kUnit + 4099, 4, {}, 3},
                                         FillCase{"SomeStartsFail", 9 * kUnit + 1, 8, {1, 4}, 7},
                                         FillCase{"EveryStartFails", 5 * kUnit, 4, {0, 1, 2}, 3},
                                         FillCase{"FewerUnitsThanThreads", 2 * kUnit + 5, 8, {}, 2},
                                         FillCase{"SmallerThanOneUnit", 4097, 4, {}, 0},
                                         FillCase{"Empty", 0, 4, {}, 0}),
                         [](const testing::TestParamInfo<FillCase>& param) { return std::string(param.param.name); });

} // namespace
} // namespace qn
