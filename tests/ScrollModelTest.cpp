#include "viewer/ScrollModel.h"
#include "viewer/WindowMessages.h"

#include <gtest/gtest.h>

namespace {

constexpr ScrollSize kBars = {17, 17};

CScrollModel Model(ScrollSize total, ScrollSize client, int line = 12)
{
    CScrollModel model;
    model.SetScrollSizes(total, {5 * line + 1, 5 * line + 1}, {line, line});
    model.SetClientArea(client, kBars);
    return model;
}

TEST(ScrollModel, BarsOnlyWhereTheDrawingIsLarger)
{
    const CScrollModel fits = Model({230, 100}, {230, 500});
    EXPECT_FALSE(fits.HasBar(ScrollAxis::Horizontal));
    EXPECT_FALSE(fits.HasBar(ScrollAxis::Vertical));
    EXPECT_EQ(fits.Client(), (ScrollSize{230, 500}));
    EXPECT_EQ(fits.MaxPosition(), (ScrollSize{0, 0}));

    const CScrollModel wider = Model({230, 100}, {229, 500});
    EXPECT_TRUE(wider.HasBar(ScrollAxis::Horizontal));
    EXPECT_FALSE(wider.HasBar(ScrollAxis::Vertical));
    EXPECT_EQ(wider.MaxPosition(), (ScrollSize{1, 0}));
}

TEST(ScrollModel, OneBarCanMakeTheOtherNeeded)
{
    // The vertical bar takes 17 pixels of width, and then the width no longer fits.
    const CScrollModel model = Model({230, 600}, {240, 500});
    EXPECT_TRUE(model.HasBar(ScrollAxis::Vertical));
    EXPECT_TRUE(model.HasBar(ScrollAxis::Horizontal));
    EXPECT_EQ(model.Client(), (ScrollSize{223, 483}));
    EXPECT_EQ(model.MaxPosition(), (ScrollSize{7, 117}));
}

TEST(ScrollModel, StepsAreClampedToTheRange)
{
    CScrollModel model = Model({1000, 1000}, {500, 400});
    const int maxY = model.MaxPosition().cy;
    EXPECT_FALSE(model.Scroll(ScrollAxis::Vertical, kSbLineUp, 0));
    EXPECT_TRUE(model.Scroll(ScrollAxis::Vertical, kSbLineDown, 0));
    EXPECT_EQ(model.Position().cy, 12);
    EXPECT_TRUE(model.Scroll(ScrollAxis::Vertical, kSbPageDown, 0));
    EXPECT_EQ(model.Position().cy, 12 + 61);
    EXPECT_TRUE(model.Scroll(ScrollAxis::Vertical, kSbBottom, 0));
    EXPECT_EQ(model.Position().cy, maxY);
    EXPECT_FALSE(model.Scroll(ScrollAxis::Vertical, kSbPageDown, 0));
    EXPECT_TRUE(model.Scroll(ScrollAxis::Vertical, kSbThumbTrack, 100));
    EXPECT_EQ(model.Position().cy, 100);
    EXPECT_TRUE(model.Scroll(ScrollAxis::Vertical, kSbThumbPosition, 100000));
    EXPECT_EQ(model.Position().cy, maxY);
    EXPECT_TRUE(model.Scroll(ScrollAxis::Vertical, kSbTop, 0));
    EXPECT_EQ(model.Position(), (ScrollSize{0, 0}));
    EXPECT_FALSE(model.Scroll(ScrollAxis::Vertical, 8, 0));
}

TEST(ScrollModel, GrowingWindowPullsThePositionBack)
{
    CScrollModel model = Model({1000, 1000}, {500, 400});
    model.Scroll(ScrollAxis::Horizontal, kSbBottom, 0);
    model.Scroll(ScrollAxis::Vertical, kSbBottom, 0);
    model.SetClientArea({900, 2000}, kBars);
    EXPECT_EQ(model.Position(), (ScrollSize{100, 0}));
    model.SetScrollSizes({100, 100}, {61, 61}, {12, 12});
    EXPECT_EQ(model.Position(), (ScrollSize{0, 0}));
}

TEST(ScrollModel, WheelScrollsLinesPerNotchAtMostAPage)
{
    CScrollModel model = Model({1000, 1000}, {500, 400});
    EXPECT_TRUE(model.Wheel(-kWheelDelta, 3));
    EXPECT_EQ(model.Position().cy, 36);
    EXPECT_TRUE(model.Wheel(kWheelDelta, 3));
    EXPECT_EQ(model.Position().cy, 0);
    EXPECT_TRUE(model.Wheel(-3 * kWheelDelta, 3));
    EXPECT_EQ(model.Position().cy, 61);
    EXPECT_TRUE(model.Wheel(-kWheelDelta, kWheelPageScroll));
    EXPECT_EQ(model.Position().cy, 122);

    CScrollModel sideways = Model({1000, 100}, {500, 400});
    EXPECT_TRUE(sideways.Wheel(-kWheelDelta, 1));
    EXPECT_EQ(sideways.Position(), (ScrollSize{12, 0}));
    CScrollModel still = Model({100, 100}, {500, 400});
    EXPECT_FALSE(still.Wheel(-kWheelDelta, 3));
}

TEST(ScrollModel, PanningDragsTheDrawingWithThePointer)
{
    CScrollModel model = Model({1000, 1000}, {500, 400});
    model.Scroll(ScrollAxis::Vertical, kSbThumbTrack, 300);
    ASSERT_TRUE(model.BeginPan(200, 200));
    EXPECT_TRUE(model.PanTo(150, 250));
    EXPECT_EQ(model.Position(), (ScrollSize{50, 250}));
    EXPECT_TRUE(model.PanTo(-5000, -5000));
    EXPECT_EQ(model.Position(), model.MaxPosition());
    model.EndPan();
    EXPECT_FALSE(model.PanTo(0, 0));

    CScrollModel fits = Model({100, 100}, {500, 400});
    EXPECT_FALSE(fits.BeginPan(0, 0));
}

} // namespace
