// What the meter paints again when a reading comes: only the columns of
// what moved and the reading's band, so that the needle moving every meter
// tick is a small copy to the screen.
#include <gtest/gtest.h>

#include <vector>

#include "panel/controls/meter.h"

namespace {
bool Inside(const plat::Rect& r, int x, int y) { return x >= r.left && x < r.right && y >= r.top && y < r.bottom; }

int Area(const std::vector<plat::Rect>& rects) {
    int a = 0;
    for (const plat::Rect& r : rects) a += r.width() * r.height();
    return a;
}
}  // namespace

TEST(MeterRepaint, OnlyWhatMovedIsPaintedAgain) {
    const int w = 219, h = 92, band = 22;
    const MeterPicture steady{"4 219 92 1 120 -1 -1", "1.00 ~ 18", 18, 18};
    // The same reading every tick: nothing.
    EXPECT_TRUE(MeterRepaintRects(steady, steady, w, h, band).empty());

    // The held peak dips and comes back: its old and new columns, below the
    // reading's band, each a few pixels wide and reaching the bottom.
    MeterPicture dip = steady;
    dip.peak = 15;
    const std::vector<plat::Rect> peak = MeterRepaintRects(steady, dip, w, h, band);
    ASSERT_EQ(peak.size(), 2u);
    EXPECT_TRUE(Inside(peak[0], 18 - 2, h / 2) && Inside(peak[0], 18 + 2, h - 1));
    EXPECT_TRUE(Inside(peak[1], 15 - 2, h / 2) && Inside(peak[1], 15 + 2, h - 1));
    for (const plat::Rect& r : peak) EXPECT_GE(r.top, band);
    EXPECT_LT(Area(peak), w * h / 10);

    // The needle moves: its columns and the reading's band, whose text changed.
    MeterPicture moved = steady;
    moved.pointer = 40;
    moved.reading = "2.00 ~ 40";
    const std::vector<plat::Rect> needle = MeterRepaintRects(steady, moved, w, h, band);
    ASSERT_EQ(needle.size(), 3u);
    EXPECT_TRUE(Inside(needle[0], 18, h * 3 / 4));
    EXPECT_TRUE(Inside(needle[1], 40, h * 3 / 4));
    EXPECT_EQ(needle[2], (plat::Rect{0, 0, w, band + 1}));
    EXPECT_LT(Area(needle), w * h / 3);

    // Another scale, or nothing painted yet: the whole face.
    MeterPicture other = steady;
    other.face = "4 219 92 1 3840 -1 -1";
    EXPECT_EQ(MeterRepaintRects(steady, other, w, h, band), (std::vector<plat::Rect>{{0, 0, w, h}}));
    EXPECT_EQ(MeterRepaintRects(steady, moved, w, h, 0), (std::vector<plat::Rect>{{0, 0, w, h}}));
    // A pointer that goes off the face leaves only its old column.
    MeterPicture gone = steady;
    gone.pointer = -1;
    EXPECT_EQ(MeterRepaintRects(steady, gone, w, h, band).size(), 1u);
}
