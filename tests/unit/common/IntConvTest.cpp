#include "common/IntConv.h"

#include <gtest/gtest.h>

namespace qn {
namespace {

struct IntCase {
    const char* text;
    std::optional<std::int32_t> expected;
};

class StrToInt32Test : public testing::TestWithParam<IntCase> {};

TEST_P(StrToInt32Test, Converts) {
    EXPECT_EQ(StrToInt32(GetParam().text), GetParam().expected) << '"' << GetParam().text << '"';
}

INSTANTIATE_TEST_SUITE_P(Valid, StrToInt32Test,
                         testing::Values(IntCase{"64", 64}, IntCase{"+64", 64}, IntCase{"-5", -5}, IntCase{"   12", 12},
                                         IntCase{"0", 0}, IntCase{"007", 7}, IntCase{"2147483647", 2147483647},
                                         IntCase{"-2147483648", INT32_MIN}, IntCase{"$40", 64}, IntCase{"$ff", 255},
                                         IntCase{"  $A", 10}, IntCase{"$7FFFFFFF", 2147483647},
                                         IntCase{"$FFFFFFFF", -1}, IntCase{"$80000000", INT32_MIN}));

INSTANTIATE_TEST_SUITE_P(
    Invalid, StrToInt32Test,
    testing::Values(IntCase{"", std::nullopt}, IntCase{"   ", std::nullopt}, IntCase{"64MB", std::nullopt},
                    IntCase{"64 ", std::nullopt}, IntCase{"\t64", std::nullopt}, IntCase{"2147483648", std::nullopt},
                    IntCase{"-2147483649", std::nullopt}, IntCase{"99999999999999999999", std::nullopt},
                    IntCase{"+", std::nullopt}, IntCase{"-", std::nullopt}, IntCase{"$", std::nullopt},
                    IntCase{"$123456789", std::nullopt}, IntCase{"-$10", std::nullopt}, IntCase{"$1G", std::nullopt},
                    IntCase{"1e3", std::nullopt}, IntCase{"0x10", std::nullopt}, IntCase{"x", std::nullopt}));

} // namespace
} // namespace qn
