#include "monitor/Gauges/GaugeGeometry.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <limits>

namespace qn {
namespace {

using testing::ElementsAre;

constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();

TEST(GaugePercentageTest, FloatingPointTruncatedTowardZero) {
    struct Case {
        std::int32_t min, max, progress;
        int expected;
    };
    const Case cases[] = {
        {0, 100, 50, 50},
        {0, 3, 1, 33},
        {0, 3, 2, 66},
        {5, 5, 5, 0},     // an empty range
        {-50, 50, 0, 50}, // a negative minimum
        {0, 1000, 105, 10},
        // 30 GiB free of 32 GiB in kilobytes: the integer product would overflow 32 bits.
        {0, 33554432, 31457280, 93},
        {kMin, kMax, kMax, 100},
        {kMin, kMax, 0, 50},
        {kMin, kMax, kMin, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(GaugePercentage(c.min, c.max, c.progress), c.expected)
            << c.min << ".." << c.max << " @" << c.progress;
    }
}

TEST(GaugeGeometryTest, ProportionalLengthAndText) {
    EXPECT_EQ(ProportionalLength(50, 229), 114);
    EXPECT_EQ(ProportionalLength(100, 229), 229);
    EXPECT_EQ(ProportionalLength(0, 229), 0);
    EXPECT_EQ(ProportionalLength(33, 10), 3);
    EXPECT_EQ(PercentText(0), "0%");
    EXPECT_EQ(PercentText(100), "100%");
}

TEST(GaugeGeometryTest, DrawingRectKeepsTheFrameOnlyWithSingleBorder) {
    EXPECT_EQ(DrawingRect(230, 22, GaugeBorder::Single), (GaugeRect{1, 1, 229, 21}));
    EXPECT_EQ(DrawingRect(230, 22, GaugeBorder::None), (GaugeRect{0, 0, 230, 22}));
}

GaugeLook MonitorLook(int percent) {
    GaugeLook look;
    look.foreColor = color::kLime;
    look.backColor = color::kRed;
    look.percent = percent;
    look.width = 230;
    look.height = 22;
    return look;
}

TEST(GaugeGeometryTest, MonitorsHorizontalBar) {
    // 50 %: columns 1 to 113 of rows 1 to 20 lime, the rest of the interior red.
    EXPECT_THAT(GaugeShapes(MonitorLook(50)), ElementsAre(GaugeShape{FillShape{{1, 1, 229, 21}, color::kRed}},
                                                          GaugeShape{FillShape{{1, 1, 114, 21}, color::kLime}}));
    // 100 %: the whole interior.
    EXPECT_THAT(GaugeShapes(MonitorLook(100)), ElementsAre(GaugeShape{FillShape{{1, 1, 229, 21}, color::kRed}},
                                                           GaugeShape{FillShape{{1, 1, 229, 21}, color::kLime}}));
    // Nothing filled at 0 %.
    EXPECT_THAT(GaugeShapes(MonitorLook(0)), ElementsAre(GaugeShape{FillShape{{1, 1, 229, 21}, color::kRed}}));
    // Without a frame the bar starts at the edge and runs to the length itself.
    GaugeLook frameless = MonitorLook(50);
    frameless.border = GaugeBorder::None;
    EXPECT_THAT(GaugeShapes(frameless), ElementsAre(GaugeShape{FillShape{{0, 0, 230, 22}, color::kRed}},
                                                    GaugeShape{FillShape{{0, 0, 115, 23}, color::kLime}}));
}

TEST(GaugeGeometryTest, VerticalBarRisesFromTheBottomAndNeverFillsTheTop) {
    GaugeLook look = MonitorLook(50);
    look.kind = GaugeKind::VerticalBar;
    look.width = 22;
    look.height = 102; // R = (1, 1, 21, 101), W = 21, H = 101
    EXPECT_THAT(GaugeShapes(look), ElementsAre(GaugeShape{FillShape{{1, 1, 21, 101}, color::kRed}},
                                               GaugeShape{FillShape{{1, 51, 21, 101}, color::kLime}}));
    look.percent = 100;
    EXPECT_THAT(GaugeShapes(look), ElementsAre(GaugeShape{FillShape{{1, 1, 21, 101}, color::kRed}},
                                               GaugeShape{FillShape{{1, 1, 21, 101}, color::kLime}}));
}

TEST(GaugeGeometryTest, TextKindFillsTheBackgroundOnly) {
    GaugeLook look = MonitorLook(70);
    look.kind = GaugeKind::Text;
    EXPECT_THAT(GaugeShapes(look), ElementsAre(GaugeShape{FillShape{{1, 1, 229, 21}, color::kRed}}));
}

TEST(GaugeGeometryTest, PieGrowsClockwiseFromTwelve) {
    GaugeLook look;
    look.kind = GaugeKind::Pie;
    look.width = 101;
    look.height = 101; // R = (1, 1, 100, 100); W = H = 100; centre (50, 50)
    const GaugeRect box{1, 1, 100, 100};
    struct Case {
        int percent;
        GaugePoint from;
    };
    // 25 %: from three o'clock; 50 %: six; 75 %: nine; 100 %: back at twelve, a full disc.
    const Case cases[] = {{25, {100, 50}}, {50, {50, 100}}, {75, {0, 50}}, {100, {50, 0}}};
    for (const Case& c : cases) {
        look.percent = c.percent;
        EXPECT_THAT(GaugeShapes(look),
                    ElementsAre(GaugeShape{FillShape{{1, 1, 100, 100}, look.color}},
                                GaugeShape{EllipseShape{box, look.foreColor, look.backColor}},
                                GaugeShape{PieShape{box, c.from, {50, 0}, look.foreColor, look.foreColor}}))
            << c.percent;
    }
    look.percent = 0;
    EXPECT_EQ(GaugeShapes(look).size(), 2u);
}

TEST(GaugeGeometryTest, NeedleLiesLeftStandsUpAndLiesRight) {
    GaugeLook look;
    look.kind = GaugeKind::Needle;
    look.border = GaugeBorder::None;
    look.width = 100;
    look.height = 51; // R = (0, 0, 100, 51); W = 100, H = 51; mx = 50; the pivot at (50, 50)
    look.percent = 0;
    EXPECT_THAT(GaugeShapes(look),
                ElementsAre(GaugeShape{FillShape{{0, 0, 100, 51}, look.color}},
                            GaugeShape{PieShape{{0, 0, 100, 101}, {100, 50}, {0, 50}, look.foreColor, look.backColor}},
                            GaugeShape{LineShape{{0, 51}, {100, 51}, look.foreColor}}));
    struct Case {
        int percent;
        GaugePoint tip;
    };
    const Case cases[] = {{1, {0, 48}}, {50, {50, 0}}, {100, {100, 50}}};
    for (const Case& c : cases) {
        look.percent = c.percent;
        const auto shapes = GaugeShapes(look);
        ASSERT_EQ(shapes.size(), 4u);
        EXPECT_EQ(shapes[3], (GaugeShape{LineShape{{50, 50}, c.tip, look.foreColor}})) << c.percent;
    }
}

TEST(GaugeGeometryTest, TextIsCentredWithoutTheRectanglesOffset) {
    EXPECT_EQ(TextOrigin({1, 1, 229, 21}, 25, 12), (GaugePoint{102, 4}));
    // Wider than the rectangle: a negative start, truncated toward zero.
    EXPECT_EQ(TextOrigin({1, 1, 20, 21}, 26, 12), (GaugePoint{-3, 4}));
    EXPECT_EQ(TextOrigin({0, 0, 10, 10}, 14, 13), (GaugePoint{-1, -1}));
}

} // namespace
} // namespace qn
