#include "tests/unit/support/FakeRegistry.h"
#include "common/RegistryValues.h"
#include "common/SettingsKey.h"
#include "monitor/MainUnit/SettingsStore.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

namespace qn {
namespace {

using Bytes = std::vector<std::uint8_t>;
constexpr std::string_view kKey = kSettingsKeyPath;

// A meter window that reports a placement and records where it is moved.
class FakeMeterWindow : public MeterWindowPort {
public:
    std::optional<WindowPlacement> placement = WindowPlacement{{-1, -1}, {-1, -1}, {212, 108, 448, 138}};
    std::vector<std::pair<std::int32_t, std::optional<std::int32_t>>> applied;

    std::optional<WindowPlacement> GetPlacement() override { return placement; }
    void ApplyPosition(std::int32_t left, std::optional<std::int32_t> top) override { applied.emplace_back(left, top); }
};

class SettingsStoreTest : public testing::Test {
protected:
    void TearDown() override { EXPECT_EQ(registry.OpenKeys(), 0) << "a key was left open"; }

    fake::Registry registry;
    FakeMeterWindow window;
    SettingsStore store{registry.Root(), window};
};

Bytes Le64(double value) {
    Bytes bytes(8);
    std::memcpy(bytes.data(), &value, 8);
    return bytes;
}

struct IntCase {
    const char* what;
    std::optional<fake::Value> stored;
    std::int32_t asInt;
};

std::ostream& operator<<(std::ostream& out, const IntCase& c) {
    return out << c.what;
}

class ReadIntTest : public SettingsStoreTest, public testing::WithParamInterface<IntCase> {};

TEST_P(ReadIntTest, AcceptsOnlyFourByteDwords) {
    const IntCase& c = GetParam();
    if (c.stored) {
        registry.Put(kKey, "Min Memory", c.stored->type, c.stored->data);
    }
    EXPECT_EQ(store.ReadSettingInt("Min Memory"), c.asInt) << c.what;
    EXPECT_EQ(store.ReadSettingBool("min memory"), c.asInt != 0) << c.what;
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

class ReadFloatTest : public SettingsStoreTest, public testing::WithParamInterface<FloatCase> {};

TEST_P(ReadFloatTest, AcceptsOnlyEightByteBinaryHoldingANumber) {
    const FloatCase& c = GetParam();
    if (c.stored) {
        registry.Put(kKey, "Next Run", c.stored->type, c.stored->data);
    }
    EXPECT_EQ(store.ReadSettingFloat("Next Run"), c.expected) << c.what;
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

TEST_F(SettingsStoreTest, WritesBooleansAsDwordOneOrZero) {
    registry.Put(kKey, "Show", regtype::kString, {'1', 0});
    store.WriteSettingBool("Show", true);
    EXPECT_EQ(registry.Get(kKey, "Show")->type, regtype::kDword);
    EXPECT_EQ(registry.Get(kKey, "Show")->data, (Bytes{1, 0, 0, 0}));
    store.WriteSettingBool("Show", false);
    EXPECT_EQ(registry.Get(kKey, "Show")->data, (Bytes{0, 0, 0, 0}));
}

TEST_F(SettingsStoreTest, WritesFloatsAsEightLittleEndianBytes) {
    store.WriteSettingFloat("Next Run", 36526.5);
    EXPECT_EQ(registry.Get(kKey, "Next Run")->type, regtype::kBinary);
    EXPECT_EQ(registry.Get(kKey, "Next Run")->data, (Bytes{0, 0, 0, 0, 0xD0, 0xD5, 0xE1, 0x40}));
    store.WriteSettingFloat("Next Run", 0.0);
    EXPECT_EQ(registry.Get(kKey, "Next Run")->data, Bytes(8, 0));
    store.WriteSettingFloat("Next Run", 45123.999988);
    EXPECT_EQ(store.ReadSettingFloat("Next Run"), 45123.999988);
}

TEST_F(SettingsStoreTest, EveryValueOperationCreatesTheKeyAndReadsAfresh) {
    EXPECT_EQ(store.ReadSettingInt("Cycle"), 0);
    EXPECT_TRUE(registry.Exists(kKey));
    EXPECT_TRUE(registry.Find(kKey)->values.empty());

    // Nothing is cached: a value changed behind the store's back is read at the next call.
    registry.Put(kKey, "Cycle", regtype::kDword, {30, 0, 0, 0});
    EXPECT_EQ(store.ReadSettingInt("Cycle"), 30);
    registry.Put(kKey, "Cycle", regtype::kDword, {45, 0, 0, 0});
    EXPECT_EQ(store.ReadSettingInt("Cycle"), 45);

    // The key deleted while the monitor runs: the next write makes it again, holding only that value.
    registry.Find("Software\\Harvelt")->children.clear();
    store.WriteSettingBool("Top", true);
    ASSERT_TRUE(registry.Exists(kKey));
    EXPECT_EQ(registry.Find(kKey)->values.size(), 1u);
}

TEST_F(SettingsStoreTest, AKeyThatCannotBeOpenedGivesDefaultsAndDropsWrites) {
    registry.Put(kKey, "Time", regtype::kDword, {1, 0, 0, 0});
    registry.Put(kKey, "Next Run", regtype::kBinary, Le64(36526.5));
    registry.Put(kKey, "Position", regtype::kString, StringDataOf("1,2,3,4,5,6,7,8"));
    registry.Find(kKey)->denied = true;
    EXPECT_FALSE(store.ReadSettingBool("Time"));
    EXPECT_EQ(store.ReadSettingFloat("Next Run"), 0.0);
    store.WriteSettingBool("Time", false);
    store.WriteSettingFloat("Next Run", 1.0);
    store.LoadPosition();
    store.SavePosition();
    EXPECT_EQ(registry.Get(kKey, "Time")->data, (Bytes{1, 0, 0, 0}));
    EXPECT_EQ(registry.Get(kKey, "Next Run")->data, Le64(36526.5));
    EXPECT_EQ(registry.Get(kKey, "Position")->data, StringDataOf("1,2,3,4,5,6,7,8"));
    EXPECT_TRUE(window.applied.empty());
}

TEST_F(SettingsStoreTest, LoadPositionCreatesOnlyTheParentKey) {
    store.LoadPosition();
    EXPECT_TRUE(registry.Exists(kSettingsParentPath));
    EXPECT_FALSE(registry.Exists(kKey));
    EXPECT_TRUE(window.applied.empty());
}

struct LoadCase {
    const char* what;
    fake::Value stored;
    std::vector<std::pair<std::int32_t, std::optional<std::int32_t>>> applied;
};

std::ostream& operator<<(std::ostream& out, const LoadCase& c) {
    return out << c.what;
}

class LoadPositionTest : public SettingsStoreTest, public testing::WithParamInterface<LoadCase> {};

Bytes Utf16Raw(std::u16string_view text) {
    Bytes bytes;
    for (char16_t c : text) {
        bytes.push_back(static_cast<std::uint8_t>(c));
        bytes.push_back(static_cast<std::uint8_t>(c >> 8));
    }
    return bytes;
}

TEST_P(LoadPositionTest, AppliesLeftAndTopOfAUsableRecord) {
    registry.Put(kKey, "Position", GetParam().stored.type, GetParam().stored.data);
    store.LoadPosition();
    EXPECT_EQ(window.applied, GetParam().applied) << GetParam().what;
}

INSTANTIATE_TEST_SUITE_P(
    Records, LoadPositionTest,
    testing::Values(LoadCase{"a stored placement", {1, StringDataOf("-1,-1,-1,-1,100,200,336,228")}, {{100, 200}}},
                    LoadCase{"expand string, unexpanded", {2, StringDataOf("%A%,2,3,4,5,6,7,8")}, {{5, 6}}},
                    LoadCase{"no terminating NUL", {1, Utf16Raw(u"1,2,3,4,5,6,7,8")}, {{5, 6}}},
                    // Cut in the middle of the last character: "8" is half there, so seven items and a comma remain.
                    LoadCase{"odd size",
                             {1,
                              [] {
                                  Bytes b = Utf16Raw(u"1,2,3,4,5,6,7,8");
                                  b.pop_back();
                                  return b;
                              }()},
                             {{5, 6}}},
                    LoadCase{
                        "text after a NUL is not read", {1, Utf16Raw(std::u16string(u"1,2,3,4,5,6,7\0,8", 16))}, {}},
                    LoadCase{"binary", {3, StringDataOf("1,2,3,4,5,6,7,8")}, {}},
                    LoadCase{"dword", {4, {5, 0, 0, 0}}, {}}));

TEST_F(SettingsStoreTest, SavePositionWritesTheRecordAsAString) {
    store.SavePosition();
    const auto stored = registry.Get(kKey, "Position");
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->type, regtype::kString);
    EXPECT_EQ(stored->data, Utf16Raw(std::u16string(u"-1,-1,-1,-1,212,108,448,138\0", 28)));

    window.placement = WindowPlacement{{-32000, -32000}, {-1, -1}, {-300, -20, -64, 10}};
    store.SavePosition();
    window.applied.clear();
    store.LoadPosition();
    EXPECT_THAT(window.applied, testing::ElementsAre(std::pair{-300, std::optional<std::int32_t>(-20)}));

    // A placement that cannot be read leaves the previous record.
    window.placement.reset();
    store.SavePosition();
    EXPECT_EQ(registry.Get(kKey, "Position")->data, StringDataOf("-32000,-32000,-1,-1,-300,-20,-64,10"));
}

} // namespace
} // namespace qn
