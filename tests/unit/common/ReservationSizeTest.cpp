#include "common/ReservationSize.h"

#include <gtest/gtest.h>

namespace qn {
namespace {

constexpr std::uint64_t MB = kMegabyte;

// One automatic run with a target of free memory. Rows in MB (thresholds in KB, as they are stored): the target,
// the higher threshold that is on, free memory, the default size; what the run does.
TEST(SizeForTargetTest, TheShortfallAndItsMarginWithinTheDefaultSize) {
    const struct {
        const char* what;
        std::int32_t targetMB, thresholdKB;
        std::uint64_t freeBytes;
        std::int32_t defaultMB;
        TargetRun run;
        std::int32_t sizeMB;
    } cases[] = {
        {"off", 0, 0, 1000 * MB, 16385, TargetRun::DefaultSize, 0},
        {"negative is off", -5, 0, 1000 * MB, 16385, TargetRun::DefaultSize, 0},
        {"below: shortfall and 64 MB", 4000, 0, 3000 * MB, 16385, TargetRun::Sized, 1064},
        {"1 % of a larger target", 12000, 0, 10000 * MB, 16385, TargetRun::Sized, 2120},
        {"a part megabyte rounds up", 4000, 0, 3000 * MB + 1, 16385, TargetRun::Sized, 1064},
        {"a byte short", 4000, 0, 4000 * MB - 1, 16385, TargetRun::Sized, 65},
        {"at the target", 4000, 0, 4000 * MB, 16385, TargetRun::Skip, 0},
        {"above it", 4000, 0, 6000 * MB, 16385, TargetRun::Skip, 0},
        {"at a threshold", 512, 512 * 1024, 100 * MB, 16385, TargetRun::DefaultSize, 0},
        {"below a threshold", 400, 512 * 1024, 100 * MB, 16385, TargetRun::DefaultSize, 0},
        {"just above a threshold", 513, 512 * 1024, 100 * MB, 16385, TargetRun::Sized, 477},
        {"32-bit default caps it", 3500, 0, 500 * MB, 1884, TargetRun::Sized, 1884},
        {"64-bit default caps it", 16384, 0, 10 * MB, 8332, TargetRun::Sized, 8332},
        {"the default takes nothing", 4000, 0, 100 * MB, 0, TargetRun::DefaultSize, 0},
        {"the largest target", INT32_MAX, 0, 0, INT32_MAX, TargetRun::Sized, INT32_MAX},
    };
    for (const auto& c : cases) {
        const TargetRunSize size = SizeForTarget(c.targetMB, c.thresholdKB, c.freeBytes, c.defaultMB);
        EXPECT_EQ(size.run, c.run) << c.what;
        EXPECT_EQ(size.sizeMB, c.sizeMB) << c.what;
    }
}

} // namespace
} // namespace qn
