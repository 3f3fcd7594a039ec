#include "common/RegistryValues.h"
#include "common/SettingsKey.h"
#include "monitor/MainUnit/SettingsStore.h"
#include "tests/unit/support/FakeRegistry.h"

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

TEST_F(SettingsStoreTest, EveryValueOperationReadsAfreshAndOnlyAWriteCreatesTheKey) {
    EXPECT_EQ(store.Read(setting::kPeriodMinutes), 0);
    EXPECT_FALSE(registry.Exists(kKey)) << "a read creates nothing";
    store.Write(setting::kMeterOnTop, false);
    ASSERT_TRUE(registry.Exists(kKey));

    // Nothing is cached: a value changed behind the store's back is read at the next call.
    registry.Put(kKey, "Cycle", regtype::kDword, {30, 0, 0, 0});
    EXPECT_EQ(store.Read(setting::kPeriodMinutes), 30);
    registry.Put(kKey, "Cycle", regtype::kDword, {45, 0, 0, 0});
    EXPECT_EQ(store.Read(setting::kPeriodMinutes), 45);

    // The key deleted while the monitor runs: the next write makes it again, holding only that value.
    registry.Find("Software\\Harvelt")->children.clear();
    store.Write(setting::kMeterOnTop, true);
    ASSERT_TRUE(registry.Exists(kKey));
    EXPECT_EQ(registry.Find(kKey)->values.size(), 1u);
}

TEST_F(SettingsStoreTest, AKeyThatCannotBeOpenedGivesDefaultsAndDropsWrites) {
    registry.Put(kKey, "Time", regtype::kDword, {1, 0, 0, 0});
    registry.Put(kKey, "Next Run", regtype::kBinary, Le64(36526.5));
    registry.Put(kKey, "Position", regtype::kString, StringDataOf("1,2,3,4,5,6,7,8"));
    registry.Find(kKey)->denied = true;
    EXPECT_FALSE(store.Read(setting::kPeriodic));
    EXPECT_EQ(store.Read(setting::kNextRun), 0.0);
    store.Write(setting::kPeriodic, false);
    store.Write(setting::kNextRun, 1.0);
    store.LoadPosition();
    store.SavePosition();
    EXPECT_EQ(registry.Get(kKey, "Time")->data, (Bytes{1, 0, 0, 0}));
    EXPECT_EQ(registry.Get(kKey, "Next Run")->data, Le64(36526.5));
    EXPECT_EQ(registry.Get(kKey, "Position")->data, StringDataOf("1,2,3,4,5,6,7,8"));
    EXPECT_TRUE(window.applied.empty());
}

TEST_F(SettingsStoreTest, AKeyThatIsReadableButNotWritableIsStillRead) {
    registry.Put(kKey, "Time", regtype::kDword, {1, 0, 0, 0});
    registry.Put(kKey, "Position", regtype::kString, StringDataOf("1,2,3,4,5,6,7,8"));
    registry.Find(kKey)->readOnly = true;
    EXPECT_TRUE(store.Read(setting::kPeriodic));
    store.LoadPosition();
    EXPECT_EQ(window.applied.size(), 1u);
    store.Write(setting::kPeriodic, false); // refused, and dropped
    EXPECT_EQ(registry.Get(kKey, "Time")->data, (Bytes{1, 0, 0, 0}));
}

TEST_F(SettingsStoreTest, CreateKeyLeavesTheKeyEmptyUntilTheMonitorEnds) {
    store.StopCreatingKey();
    store.CreateKey();
    EXPECT_FALSE(registry.Exists(kKey));
    SettingsStore starting(registry.Root(), window);
    starting.CreateKey();
    ASSERT_TRUE(registry.Exists(kKey));
    EXPECT_TRUE(registry.Find(kKey)->values.empty());
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
    registry.Make(kKey);
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
