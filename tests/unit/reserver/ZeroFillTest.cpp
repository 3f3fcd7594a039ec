#include "reserver/ZeroFill.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <new>
#include <optional>
#include <set>
#include <thread>

namespace qn {
namespace {

// Small pages, so that a block of a few pages takes a few chunks; a chunk that is no whole number of pages is
// taken as whole pages.
constexpr std::uint64_t kPage = 64;
constexpr std::uint64_t kChunk = 3 * kPage + 1;
constexpr std::byte kUntouched{0xA5};

// Runs each helper on a real thread, except the starts it is told to refuse or to throw at.
class FakeStarter : public FillThreadStarter {
public:
    std::set<unsigned> refused; // 0-based numbers of the start attempts that fail
    std::optional<unsigned> throwsAt;
    unsigned attempts = 0;

    ~FakeStarter() override { JoinAll(); }
    bool Start(std::function<void()> work) override {
        const unsigned attempt = attempts++;
        if (throwsAt == attempt) {
            throw std::bad_alloc();
        }
        if (refused.count(attempt)) {
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
    std::vector<std::thread> threads; // started and not yet joined
};

TEST(FillThreadCountTest, OnePerLogicalProcessorWithinOneAndTheCap) {
    EXPECT_EQ(FillThreadCount(0), 1u);
    EXPECT_EQ(FillThreadCount(1), 1u);
    EXPECT_EQ(FillThreadCount(2), 2u);
    EXPECT_EQ(FillThreadCount(12), 12u);
    EXPECT_EQ(FillThreadCount(256), kMaxFillThreads);
}

struct FillCase {
    const char* name;
    std::uint64_t bytes;
    unsigned threads;
    std::set<unsigned> refused;
    std::optional<unsigned> throwsAt;
    unsigned expectedAttempts; // helpers asked for: one thread less than chunks or threads, the caller being one
};

void PrintTo(const FillCase& c, std::ostream* out) {
    *out << c.name;
}

class ZeroFillTest : public testing::TestWithParam<FillCase> {};

// A committed page is zero from the system; the fill's one write makes the system supply it. Here the block's
// bytes start as a marker instead, so that the writes can be seen: the first byte of every page, from the first
// page to the last, is zero, and every other byte, in the block and after it, is as it was.
TEST_P(ZeroFillTest, EveryPageIsWrittenOnceWhateverThreadsRun) {
    const FillCase& c = GetParam();
    std::vector<std::byte> block(c.bytes + 2 * kPage, kUntouched);
    FakeStarter starter;
    starter.refused = c.refused;
    starter.throwsAt = c.throwsAt;
    std::atomic<std::uint64_t> written{0};
    if (c.throwsAt) {
        EXPECT_THROW(ZeroFill(block.data(), c.bytes, kPage, c.threads, starter, written, kChunk), std::bad_alloc);
        EXPECT_TRUE(starter.threads.empty()) << "a helper outlived the fill";
        EXPECT_EQ(starter.attempts, c.expectedAttempts);
        return;
    }
    ZeroFill(block.data(), c.bytes, kPage, c.threads, starter, written, kChunk);
    EXPECT_EQ(starter.attempts, c.expectedAttempts);
    EXPECT_EQ(written.load(), c.bytes);
    for (std::uint64_t i = 0; i < block.size(); ++i) {
        const bool pageStart = i < c.bytes && i % kPage == 0;
        ASSERT_EQ(block[i], pageStart ? std::byte{0} : kUntouched) << "byte " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ZeroFillTest,
    testing::Values(FillCase{"OneProcessor", 10 * kPage, 1, {}, {}, 0},
                    FillCase{"TwoProcessors", 12 * kPage, 2, {}, {}, 1},
                    FillCase{"PartLastPage", 7 * kPage + 5, 4, {}, {}, 2},
                    FillCase{"SomeStartsFail", 30 * kPage + 1, 8, {1, 4}, {}, 7},
                    FillCase{"EveryStartFails", 15 * kPage, 4, {0, 1, 2}, {}, 3},
                    FillCase{"FewerChunksThanThreads", 5 * kPage, 8, {}, {}, 1},
                    FillCase{"SmallerThanOnePage", 40, 4, {}, {}, 0}, FillCase{"Empty", 0, 4, {}, {}, 0},
                    // Starting a helper can throw (std::bad_alloc when commit is short): the one started before
                    // must have ended when the exception leaves the fill, since it uses the fill's frame.
                    FillCase{"SecondStartThrows", 30 * kPage, 4, {}, 1, 2}),
    [](const testing::TestParamInfo<FillCase>& param) { return std::string(param.param.name); });

} // namespace
} // namespace qn
