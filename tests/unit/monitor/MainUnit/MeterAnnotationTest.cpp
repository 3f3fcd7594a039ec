#include "monitor/MainUnit/MeterAnnotation.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace qn {
namespace {

// Notes every call; answers as scripted.
struct FakeAnnotation : MeterAnnotationPort {
    bool Describe(const std::string& name) override {
        calls.push_back("describe " + name);
        return describes;
    }
    bool SetValue(const std::string& value) override {
        calls.push_back("value " + value);
        return takesValues;
    }
    void RaiseValueChange() override { calls.push_back("changed"); }
    void Clear() override { calls.push_back("clear"); }
    bool describes = true;
    bool takesValues = true;
    std::vector<std::string> calls;
};

using Calls = std::vector<std::string>;

TEST(MeterAnnotationTest, AChangeIsRaisedOnlyWhenTheValueAReaderHearsChanges) {
    FakeAnnotation port;
    MeterAnnotation annotation(port, "Free memory");
    annotation.Show("512.00 MB free (50%)");
    annotation.Show("512.00 MB free (50%)");
    EXPECT_EQ(port.calls, (Calls{"describe Free memory", "value 512.00 MB free (50%)", "changed"}));
    port.calls.clear();
    port.takesValues = false;
    annotation.Show("256.00 MB free (25%)");
    port.takesValues = true;
    annotation.Show("256.00 MB free (25%)");
    annotation.Clear();
    EXPECT_EQ(port.calls, (Calls{"value 256.00 MB free (25%)", "value 256.00 MB free (25%)", "changed", "clear"}))
        << "a refused value is tried again at the next tick, and raised only once it is taken";
}

TEST(MeterAnnotationTest, WithoutTheServiceNothingMoreIsTriedAndNothingCleared) {
    FakeAnnotation port;
    port.describes = false;
    MeterAnnotation annotation(port, "空きメモリ");
    annotation.Show("512.00MBの空き (50%)");
    annotation.Show("256.00MBの空き (25%)");
    annotation.Clear();
    EXPECT_EQ(port.calls, (Calls{"describe 空きメモリ"}));
}

} // namespace
} // namespace qn
