#include "monitor/Gauges/GaugeProperties.h"

#include <gtest/gtest.h>

#include <limits>

namespace qn {
namespace {

class CountingRepaint : public GaugeRepaintPort {
public:
    int repaints = 0;
    void RepaintNow() override { ++repaints; }
};

class GaugePropertiesTest : public testing::Test {
protected:
    CountingRepaint port;
    GaugeProperties gauge{port};
};

TEST_F(GaugePropertiesTest, InitialValues) {
    EXPECT_EQ(gauge.Kind(), GaugeKind::HorizontalBar);
    EXPECT_TRUE(gauge.ShowText());
    EXPECT_EQ(gauge.BorderStyle(), GaugeBorder::Single);
    EXPECT_EQ(gauge.ForeColor(), color::kBlack);
    EXPECT_EQ(gauge.BackColor(), color::kWhite);
    EXPECT_EQ(gauge.MinValue(), 0);
    EXPECT_EQ(gauge.MaxValue(), 100);
    EXPECT_EQ(gauge.Progress(), 0);
}

TEST_F(GaugePropertiesTest, LookSettersRepaintOnlyOnChange) {
    gauge.SetKind(GaugeKind::Pie);
    gauge.SetKind(GaugeKind::Pie);
    gauge.SetShowText(false);
    gauge.SetShowText(false);
    gauge.SetBorderStyle(GaugeBorder::None);
    gauge.SetBorderStyle(GaugeBorder::None);
    gauge.SetForeColor(color::kLime);
    gauge.SetForeColor(color::kLime);
    gauge.SetBackColor(color::kRed);
    gauge.SetBackColor(color::kRed);
    gauge.SetColor(color::kWhite);
    gauge.SetColor(color::kWhite);
    gauge.SetFont({"ＭＳ Ｐゴシック", 12});
    gauge.SetFont({"ＭＳ Ｐゴシック", 12});
    EXPECT_EQ(port.repaints, 7);
    const GaugeLook look = gauge.Look(230, 22);
    EXPECT_EQ(look.kind, GaugeKind::Pie);
    EXPECT_EQ(look.border, GaugeBorder::None);
    EXPECT_EQ(look.foreColor, color::kLime);
    EXPECT_EQ(look.backColor, color::kRed);
    EXPECT_EQ(look.color, color::kWhite);
}

TEST_F(GaugePropertiesTest, ProgressIsClampedAndRepaintsOnlyWhenThePercentageChanges) {
    gauge.SetMaxValue(1000);
    port.repaints = 0;
    gauge.SetProgress(100);
    EXPECT_EQ(port.repaints, 1);
    gauge.SetProgress(105); // still 10 %
    EXPECT_EQ(gauge.Progress(), 105);
    EXPECT_EQ(port.repaints, 1);
    gauge.SetProgress(5000);
    EXPECT_EQ(gauge.Progress(), 1000);
    gauge.SetProgress(-7);
    EXPECT_EQ(gauge.Progress(), 0);
    EXPECT_EQ(port.repaints, 3);
    gauge.SetProgress(-8); // clamped to the same value: nothing
    EXPECT_EQ(port.repaints, 3);
}

TEST_F(GaugePropertiesTest, RangeChangesDragProgressAlong) {
    gauge.SetProgress(80);
    gauge.SetMaxValue(60);
    EXPECT_EQ(gauge.Progress(), 60);
    gauge.SetProgress(10);
    gauge.SetMinValue(30);
    EXPECT_EQ(gauge.Progress(), 30);
    const int before = port.repaints;
    gauge.SetMinValue(30);
    gauge.SetMaxValue(60);
    EXPECT_EQ(port.repaints, before);
    gauge.SetMinValue(60);
    EXPECT_EQ(gauge.Percentage(), 0); // an empty range
}

TEST_F(GaugePropertiesTest, OutOfRangeBoundsAreRefusedWithTheirMessage) {
    gauge.SetProgress(40);
    const int before = port.repaints;
    try {
        gauge.SetMinValue(101);
        FAIL() << "no error";
    } catch (const GaugeRangeError& error) {
        EXPECT_STREQ(error.what(), "-2147483647 から 99 の間の値でなければなりません");
    }
    gauge.SetMinValue(20);
    try {
        gauge.SetMaxValue(19);
        FAIL() << "no error";
    } catch (const GaugeRangeError& error) {
        EXPECT_STREQ(error.what(), "21 から 2147483647 の間の値でなければなりません");
    }
    EXPECT_EQ(gauge.MinValue(), 20);
    EXPECT_EQ(gauge.MaxValue(), 100);
    EXPECT_EQ(gauge.Progress(), 40);
    EXPECT_EQ(port.repaints, before + 1);
}

TEST_F(GaugePropertiesTest, BoundsAtTheEndsOfTheRangeDoNotWrap) {
    gauge.SetMinValue(std::numeric_limits<std::int32_t>::min());
    gauge.SetMaxValue(std::numeric_limits<std::int32_t>::min());
    try {
        gauge.SetMinValue(0);
        FAIL() << "no error";
    } catch (const GaugeRangeError& error) {
        EXPECT_STREQ(error.what(), "-2147483647 から -2147483649 の間の値でなければなりません");
    }
}

} // namespace
} // namespace qn
