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
    constexpr ScrollAxis kDown = ScrollAxis::Vertical;
    CScrollModel model = Model({1000, 1000}, {500, 400});
    EXPECT_TRUE(model.Wheel(kDown, kWheelDelta, 3));
    EXPECT_EQ(model.Position().cy, 36);
    EXPECT_TRUE(model.Wheel(kDown, -kWheelDelta, 3));
    EXPECT_EQ(model.Position().cy, 0);
    EXPECT_TRUE(model.Wheel(kDown, 3 * kWheelDelta, 3));
    EXPECT_EQ(model.Position().cy, 61);
    EXPECT_TRUE(model.Wheel(kDown, kWheelDelta, kWheelPageScroll));
    EXPECT_EQ(model.Position().cy, 122);
    EXPECT_TRUE(model.Wheel(ScrollAxis::Horizontal, kWheelDelta, 1));
    EXPECT_EQ(model.Position(), (ScrollSize{12, 122}));

    CScrollModel still = Model({100, 100}, {500, 400});
    EXPECT_FALSE(still.Wheel(kDown, kWheelDelta, 3));
}

// Touchpads and free-spinning wheels send a notch in parts.
TEST(ScrollModel, AnySplitOfANotchScrollsAsTheNotch)
{
    for (const int part : {1, 8, 15, 20, 24, 40, 60, 119}) {
        CScrollModel model = Model({1000, 1000}, {500, 400});
        for (int sent = 0; sent + part <= 4 * kWheelDelta; sent += part)
            model.Wheel(ScrollAxis::Vertical, part, 3);
        EXPECT_EQ(model.Position().cy, 4 * kWheelDelta / part * part * 3 / kWheelDelta * 12) << part;
    }
    CScrollModel pages = Model({1000, 1000}, {500, 400});
    for (int i = 0; i < 6; ++i)
        pages.Wheel(ScrollAxis::Vertical, 20, kWheelPageScroll);
    EXPECT_EQ(pages.Position().cy, 61);
}

// What is left of a turn one way does not hold back a turn the other way.
TEST(ScrollModel, WheelRemainderIsDroppedWhenTheDirectionChanges)
{
    CScrollModel model = Model({1000, 1000}, {500, 400});
    model.Wheel(ScrollAxis::Vertical, kWheelDelta, 3);
    model.Wheel(ScrollAxis::Vertical, kWheelDelta, 3);
    model.Wheel(ScrollAxis::Vertical, 30, 3);
    EXPECT_EQ(model.Position().cy, 72);
    model.Wheel(ScrollAxis::Vertical, -40, 3);
    EXPECT_EQ(model.Position().cy, 60);
    model.Wheel(ScrollAxis::Horizontal, 30, 3);
    model.Wheel(ScrollAxis::Vertical, -30, 3);
    EXPECT_EQ(model.Position(), (ScrollSize{0, 60}));
    model.Wheel(ScrollAxis::Horizontal, 10, 3);
    EXPECT_EQ(model.Position(), (ScrollSize{12, 60}));
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
