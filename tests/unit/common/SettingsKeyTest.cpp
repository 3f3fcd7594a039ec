#include "common/Language.h"
#include "common/RegistryValues.h"
#include "common/SettingsKey.h"
#include "tests/unit/support/FakeRegistry.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <set>
#include <tuple>

namespace qn {
namespace {

using Bytes = std::vector<std::uint8_t>;
constexpr std::string_view kKey = kSettingsKeyPath;

// The values of an open settings key, read and written in the kinds their descriptions give.
class SettingsKeyTest : public testing::Test {
protected:
    RegistryKey& Key() {
        if (!m_key) {
            m_key = registry.Root().CreateSubkey(kKey);
        }
        return *m_key;
    }

    fake::Registry registry;

private:
    std::unique_ptr<RegistryKey> m_key;
};

Bytes Le64(double value) {
    Bytes bytes(8);
    std::memcpy(bytes.data(), &value, 8);
    return bytes;
}

TEST(SettingsDescriptionTest, EveryValueHasItsStoredNameAndKindOnce) {
    const setting::Description expected[] = {
        {"Show", SettingKind::Switch},
        {"Top", SettingKind::Switch},
        {"Memory", SettingKind::Switch},
        {"Min Memory", SettingKind::Integer},
        {"Time", SettingKind::Switch},
        {"Cycle", SettingKind::Integer},
        {"Next Run", SettingKind::Float64},
        {"Cation", SettingKind::Switch},
        {"Cation Memory", SettingKind::Integer},
        {"Use Hot Key", SettingKind::Switch},
        {"Hot Key", SettingKind::Integer},
        {"Position", SettingKind::Text},
        {"Low Memory Handover", SettingKind::Switch},
        {"Wait While Busy", SettingKind::Switch},
        {"Notify Result", SettingKind::Switch},
        {"Handover Time", SettingKind::Float64},
        {"Last Reservation", SettingKind::Record},
        {"Language", SettingKind::Integer},
        {"Tray Figure", SettingKind::Switch},
        {"Target Free", SettingKind::Integer},
    };
    ASSERT_EQ(std::size(setting::kAll), std::size(expected));
    std::set<std::string> names;
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        EXPECT_EQ(setting::kAll[i].name, expected[i].name);
        EXPECT_EQ(setting::kAll[i].kind, expected[i].kind) << expected[i].name;
        names.insert(fake::Lower(setting::kAll[i].name));
    }
    EXPECT_EQ(names.size(), std::size(expected)) << "two values share a name";
    // The period's range: a minute to a day; a stored 0 is no period.
    EXPECT_FALSE(setting::kPeriodMinutes.InRange(0));
    EXPECT_TRUE(setting::kPeriodMinutes.InRange(1));
    EXPECT_TRUE(setting::kPeriodMinutes.InRange(1440));
    EXPECT_FALSE(setting::kPeriodMinutes.InRange(1441));
    // Both switches of the busy user and the report are on until the user turns them off.
    EXPECT_TRUE(setting::kWaitWhileBusy.defaultValue);
    EXPECT_TRUE(setting::kNotifyResult.defaultValue);
}

struct IntCase {
    const char* what;
    std::optional<fake::Value> stored;
    std::int32_t asInt;
};

std::ostream& operator<<(std::ostream& out, const IntCase& c) {
    return out << c.what;
}

class ReadIntTest : public SettingsKeyTest, public testing::WithParamInterface<IntCase> {};

TEST_P(ReadIntTest, AcceptsOnlyFourByteDwords) {
    const IntCase& c = GetParam();
    if (c.stored) {
        registry.Put(kKey, "Min Memory", c.stored->type, c.stored->data);
    }
    EXPECT_EQ(ReadSetting(Key(), setting::kReserveThreshold), c.asInt) << c.what;
    // Names are looked up regardless of case, as the registry does.
    EXPECT_EQ(ReadSetting(Key(), SwitchSetting{"min memory", false, false, true}), c.asInt != 0) << c.what;
}

INSTANTIATE_TEST_SUITE_P(Values, ReadIntTest,
                         testing::Values(IntCase{"missing", std::nullopt, 0},
                                         IntCase{"five", fake::Value{4, {5, 0, 0, 0}}, 5},
                                         IntCase{"two is true", fake::Value{4, {2, 0, 0, 0}}, 2},
                                         IntCase{"signed", fake::Value{4, {0xFF, 0xFF, 0xFF, 0xFF}}, -1},
                                         IntCase{"little-endian", fake::Value{4, {0x41, 0x60, 0x01, 0x00}}, 0x16041},
                                         IntCase{"short dword", fake::Value{4, {5, 0}}, 0},
                                         IntCase{"empty dword", fake::Value{4, {}}, 0},
                                         IntCase{"larger than the buffer", fake::Value{4, {5, 0, 0, 0, 0, 0, 0, 0}}, 0},
                                         IntCase{"string holding 1", fake::Value{1, {'1', 0, 0, 0}}, 0},
                                         IntCase{"binary", fake::Value{3, {5, 0, 0, 0}}, 0},
                                         IntCase{"big-endian dword", fake::Value{5, {0, 0, 0, 5}}, 0}));

struct FloatCase {
    const char* what;
    std::optional<fake::Value> stored;
    double expected;
};

std::ostream& operator<<(std::ostream& out, const FloatCase& c) {
    return out << c.what;
}

class ReadFloatTest : public SettingsKeyTest, public testing::WithParamInterface<FloatCase> {};

TEST_P(ReadFloatTest, AcceptsOnlyEightByteBinaryHoldingANumber) {
    const FloatCase& c = GetParam();
    if (c.stored) {
        registry.Put(kKey, "Next Run", c.stored->type, c.stored->data);
    }
    EXPECT_EQ(ReadSetting(Key(), setting::kNextRun), c.expected) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Values, ReadFloatTest,
    testing::Values(FloatCase{"missing", std::nullopt, 0.0},
                    FloatCase{"noon 1 January 2000", fake::Value{3, {0, 0, 0, 0, 0xD0, 0xD5, 0xE1, 0x40}}, 36526.5},
                    FloatCase{"negative", fake::Value{3, {0, 0, 0, 0, 0, 0, 0xF8, 0xBF}}, -1.5},
                    FloatCase{"dword", fake::Value{4, {1, 0, 0, 0}}, 0.0},
                    FloatCase{"4-byte binary", fake::Value{3, {0, 0, 0x80, 0x3F}}, 0.0},
                    FloatCase{"16-byte binary", fake::Value{3, Bytes(16, 0x40)}, 0.0},
                    FloatCase{"8-byte string", fake::Value{1, Le64(36526.5)}, 0.0},
                    FloatCase{"NaN", fake::Value{3, Le64(std::numeric_limits<double>::quiet_NaN())}, 0.0},
                    FloatCase{"infinity", fake::Value{3, Le64(std::numeric_limits<double>::infinity())}, 0.0},
                    FloatCase{"minus infinity", fake::Value{3, Le64(-std::numeric_limits<double>::infinity())}, 0.0}));

TEST_F(SettingsKeyTest, WritesSwitchesAsDwordOneOrZero) {
    registry.Put(kKey, "Show", regtype::kString, {'1', 0});
    WriteSetting(Key(), setting::kMeterHidden, true);
    EXPECT_EQ(registry.Get(kKey, "Show")->type, regtype::kDword);
    EXPECT_EQ(registry.Get(kKey, "Show")->data, (Bytes{1, 0, 0, 0}));
    WriteSetting(Key(), setting::kMeterHidden, false);
    EXPECT_EQ(registry.Get(kKey, "Show")->data, (Bytes{0, 0, 0, 0}));
}

TEST_F(SettingsKeyTest, WritesFloatsAsEightLittleEndianBytes) {
    WriteSetting(Key(), setting::kNextRun, 36526.5);
    EXPECT_EQ(registry.Get(kKey, "Next Run")->type, regtype::kBinary);
    EXPECT_EQ(registry.Get(kKey, "Next Run")->data, (Bytes{0, 0, 0, 0, 0xD0, 0xD5, 0xE1, 0x40}));
    WriteSetting(Key(), setting::kNextRun, 0.0);
    EXPECT_EQ(registry.Get(kKey, "Next Run")->data, Bytes(8, 0));
    WriteSetting(Key(), setting::kNextRun, 45123.999988);
    EXPECT_EQ(ReadSetting(Key(), setting::kNextRun), 45123.999988);
}

TEST_F(SettingsKeyTest, TheRecordIsOneBinaryValueReadByItsStartWithEveryFieldInItsRange) {
    const ReservationRecord written{46363.8125, 2048, 1234.56, 5678.9, 4.2};
    ASSERT_TRUE(WriteSetting(Key(), setting::kLastReservation, written));
    const Bytes good = registry.Get(kKey, "Last Reservation")->data;
    const auto read = ReadSetting(Key(), setting::kLastReservation);
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(std::tie(read->ended, read->sizeMB, read->freeBeforeMB, read->freeAfterMB, read->seconds),
              std::tie(written.ended, written.sizeMB, written.freeBeforeMB, written.freeAfterMB, written.seconds));
    // The fields at their places: the end, the size (4 bytes), free memory before and after, the seconds.
    const auto with = [&](std::size_t at, const Bytes& field) {
        Bytes bytes = good;
        std::copy(field.begin(), field.end(), bytes.begin() + static_cast<std::ptrdiff_t>(at));
        return bytes;
    };
    const std::pair<std::uint32_t, Bytes> spoiled[] = {
        {regtype::kBinary, Bytes(good.begin(), good.end() - 1)},
        {regtype::kString, good},
        {regtype::kBinary, with(0, Le64(0.0))},
        {regtype::kBinary, with(8, {0, 0, 0, 0})},
        {regtype::kBinary, with(20, Le64(-1.0))},
        {regtype::kBinary, with(28, Le64(NAN))},
    };
    for (std::size_t i = 0; i < std::size(spoiled); ++i) {
        registry.Put(kKey, "Last Reservation", spoiled[i].first, spoiled[i].second);
        EXPECT_FALSE(ReadSetting(Key(), setting::kLastReservation).has_value()) << i;
    }
    Bytes longer = good;
    longer.insert(longer.end(), {1, 2, 3, 4});
    registry.Put(kKey, "Last Reservation", regtype::kBinary, longer);
    const auto later = ReadSetting(Key(), setting::kLastReservation);
    EXPECT_TRUE(later && later->sizeMB == 2048 && later->seconds == 4.2) << "a later version's record, by its start";
}

TEST(LanguageTest, TheStoredChoiceOverridesTheDisplayLanguageAndAnythingElseFollowsWindows) {
    using L = Language;
    // The stored value (nothing: absent), whether Windows shows Japanese, the language chosen.
    const std::tuple<std::optional<fake::Value>, bool, L> cases[] = {
        {std::nullopt, true, L::Japanese},
        {std::nullopt, false, L::English},
        {fake::Value{regtype::kDword, {0, 0, 0, 0}}, false, L::English},
        {fake::Value{regtype::kDword, {1, 0, 0, 0}}, false, L::Japanese},
        {fake::Value{regtype::kDword, {2, 0, 0, 0}}, true, L::English},
        {fake::Value{regtype::kDword, {3, 0, 0, 0}}, true, L::Japanese},
        {fake::Value{regtype::kDword, {0xFF, 0xFF, 0xFF, 0xFF}}, false, L::English},
        {fake::Value{regtype::kString, {'2', 0, 0, 0}}, true, L::Japanese}, // not a number of its kind
    };
    for (const auto& [stored, japaneseWindows, expected] : cases) {
        fake::Registry registry;
        if (stored) {
            registry.Put(kKey, "Language", stored->type, stored->data);
        }
        EXPECT_EQ(ChooseLanguage(StoredLanguage(registry.Root()), japaneseWindows), expected);
        EXPECT_EQ(registry.Exists(kKey), stored.has_value()) << "only looked at, never created";
    }
}

} // namespace
} // namespace qn
