#include "common/NumberFormat.h"

#include <gtest/gtest.h>

namespace qn {
namespace {

struct FormatCase {
    const char* pattern;
    double value;
    const char* expected;
};

class FormatNumberPatternTest : public testing::TestWithParam<FormatCase> {};

TEST_P(FormatNumberPatternTest, JapaneseSeparators) {
    const auto& c = GetParam();
    EXPECT_EQ(FormatNumberPattern(c.pattern, c.value, NumberSeparators{",", "."}), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FormatNumberPatternTest,
    testing::Values(FormatCase{"#,##0.00", 0.0, "0.00"}, FormatCase{"#,##0.00", 0.5, "0.50"},
                    FormatCase{"#,##0.00", 999.994, "999.99"}, FormatCase{"#,##0.00", 999.995, "1,000.00"},
                    FormatCase{"#,##0.00", 1234.56, "1,234.56"}, FormatCase{"###,##0.00", 1234567.891, "1,234,567.89"},
                    // Halves round away from zero, also where the binary value is an exact tie.
                    FormatCase{"#,##0.00", 0.125, "0.13"}, FormatCase{"#,##0.00", 0.375, "0.38"},
                    FormatCase{"#,##0.00", 2.5 / 1024, "0.00"}, FormatCase{"#,##0.00", -0.125, "-0.13"},
                    FormatCase{"#,##0.00", -0.001, "0.00"},
                    // 123,456,789 bytes in megabytes.
                    FormatCase{"###,##0.00MBの空きメモリを確保しました", 123456789.0 / 1048576.0,
                               "117.74MBの空きメモリを確保しました"},
                    FormatCase{"Nimbi  #,##0.00MBの空き", 24105.5, "Nimbi  24,105.50MBの空き"},
                    FormatCase{"空きメモリ：#,##0.00MB", 1234.56, "空きメモリ：1,234.56MB"},
                    // Far beyond 32 bits: terabytes of memory in megabytes.
                    FormatCase{"#,##0.00", 4294967296.0, "4,294,967,296.00"}, FormatCase{"no number", 5, "no number"}));

TEST(FormatNumberPatternTest, UsesTheGivenSeparators) {
    EXPECT_EQ(FormatNumberPattern("#,##0.00MB", 1234567.5, NumberSeparators{".", ","}), "1.234.567,50MB");
    // A separator of several bytes (a narrow no-break space) is copied whole.
    EXPECT_EQ(FormatNumberPattern("#,##0.00", 1234.5, NumberSeparators{"\u202F", ","}), "1\u202F234,50");
}

} // namespace
} // namespace qn
