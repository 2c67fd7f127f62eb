#include <gtest/gtest.h>

#include <cmath>

#include "base/band_files.h"
#include "control_fixture.h"
#include "panel/controls/dragit.h"
#include "panel/controls/scale.h"
#include "panel/controls/slider.h"

namespace {
using plat::synth::Button;
constexpr unsigned kSliderId = 0x940;
}  // namespace

TEST(SliderScale, ValueFromRowSnapsAtBothEndsAndKeepsTheLowEnd) {
    SliderScale s{0, 255, 0, 100};
    EXPECT_EQ(s.ValueAt(3), 255);
    EXPECT_EQ(s.ValueAt(6), 255);
    EXPECT_EQ(s.ValueAt(97), 0);
    EXPECT_EQ(s.ValueAt(50), 127);
    SliderScale t{10, 20, 0, 100};
    EXPECT_EQ(t.ValueAt(50), 15);
    EXPECT_EQ(t.ValueAt(93), 10);  // never below its low end
    EXPECT_EQ(t.RowOf(20), 0);
    EXPECT_EQ(t.RowOf(10), 100);
    EXPECT_EQ(t.RowOf(15), 50);
    SliderScale flat{5, 5, 0, 100};
    EXPECT_EQ(flat.ValueAt(50), 5);
    EXPECT_EQ(flat.RowOf(5), 100);
}

TEST(Slider, ReportsWithItsIdAsTheMessageEvenBeforeItWasPainted) {
    ControlOwner owner;
    owner.Open();
    CSlider slider;
    // Hidden: never painted, yet a click must read right.
    slider.Create({10, 10, 40, 110}, &owner, int(kSliderId), false);
    slider.SetRange(0, 255);
    slider.ShowWindow(plat::SW_SHOW);
    plat::synth::Press(&slider, Button::Left, {10, 2});
    ASSERT_EQ(owner.messages.size(), 1u);
    EXPECT_EQ(owner.messages[0], std::make_tuple(kSliderId, plat::WPARAM(kSliderId), plat::LPARAM(255)));
    plat::synth::Move(&slider, {10, 50}, plat::MK_LBUTTON);
    EXPECT_EQ(std::get<2>(owner.messages.back()), 127);
    plat::synth::Move(&slider, {10, 400}, plat::MK_LBUTTON);  // outside: no change
    EXPECT_EQ(owner.messages.size(), 2u);
    plat::synth::Release(&slider, Button::Left, {10, 400});
    EXPECT_FALSE(slider.HasCapture());
    plat::synth::DoubleClick(&slider, Button::Left, {10, 98});
    EXPECT_EQ(std::get<2>(owner.messages.back()), 0);
    slider.SetValue(-5);
    EXPECT_EQ(slider.GetValue(), 0);
    EXPECT_EQ(slider.ThumbRow(), 100);
    EXPECT_EQ(plat::AccessibleRoleOf(&slider), plat::AccessRole::Slider);
    EXPECT_EQ(plat::AccessibleName(&slider), "0");
}

TEST(ScaleGeometry, PicksDragsAndLabelsWithoutOverflow) {
    ScaleGeometry g{14.2, 1, 402};
    EXPECT_DOUBLE_EQ(g.KhzAt(200), 14200);  // the centre picks the centre
    EXPECT_DOUBLE_EQ(g.KhzAt(250), 14250);
    EXPECT_NEAR(g.Dragged(100, 90), 14.21, 1e-9);  // the scale follows the mouse
    ScaleGeometry low{0.001, 1, 402};
    EXPECT_EQ(low.KhzAt(0), 0);  // never below 0
    ScaleGeometry shf{24048.2, 100, 402};
    EXPECT_EQ(shf.ColumnUnits(200), 2404820000LL);
    EXPECT_EQ(ScaleLabel(2404820000LL, 100), "24048.200");
    EXPECT_EQ(ScaleLabel(14200, 1), "14.2");
    EXPECT_EQ(ScaleLabel(142000, 10), "14.20");
    EXPECT_EQ(ScaleLabel(142000, 5), "");
}

TEST(Scale, DoubleClickPicksAndDragScrolls) {
    ControlOwner owner;
    owner.Open();
    CScale scale;
    scale.Create({0, 0, 402, 50}, &owner, 1240, 7.1);
    plat::synth::DoubleClick(&scale, Button::Left, {200, 20});
    EXPECT_DOUBLE_EQ(scale.GetValue(), 7100);
    EXPECT_EQ(owner.CountMessages(WM_SCALE_PICKED), 1);
    EXPECT_EQ(std::get<1>(owner.messages.back()), 1240u);
    plat::synth::Press(&scale, Button::Left, {100, 20});
    plat::synth::Move(&scale, {80, 20}, plat::MK_LBUTTON);
    plat::synth::Move(&scale, {-30, 20}, plat::MK_LBUTTON);  // captured: keeps following outside
    plat::synth::Release(&scale, Button::Left, {-30, 20});
    plat::DeliverPosted();
    EXPECT_NEAR(scale.GetCentre(), 7.23, 1e-9);
    EXPECT_EQ(owner.CountMessages(WM_SCALE_DRAGGED), 2);
}

TEST(Scale, DrawsTheRedCentreLineOnBlack) {
    g_bandlist = {CBandObj{7.0, 7.3, "40m"}};
    ControlOwner owner;
    owner.Open();
    CScale scale;
    scale.Create({0, 0, 402, 50}, &owner, 1240, 7.1);
    const plat::Snapshot s = plat::TakeSnapshot(&scale);
    EXPECT_TRUE(Near(s.At(200, 45), plat::RGB(255, 0, 0), 0));
    EXPECT_TRUE(Near(s.At(200, 30), plat::RGB(255, 0, 0), 0));
    EXPECT_TRUE(Near(s.At(201, 30), plat::RGB(0, 0, 0), 0));  // an odd column has no tick
    EXPECT_FALSE(Near(s.At(200, 10), plat::RGB(255, 0, 0), 0));  // only from half height down
}

TEST(Dragit, RightClickZeroesAndNotifiesOnce) {
    ControlOwner owner;
    owner.Open();
    CDragit rit;
    rit.Create({0, 0, 202, 30}, &owner, 1245, 0);
    rit.SetRange(-1000, 1000);
    rit.SetValue(350);
    plat::synth::Press(&rit, Button::Right, {150, 10});
    EXPECT_EQ(rit.GetValue(), 0);
    EXPECT_EQ(rit.GetPicked(), 0);
    EXPECT_EQ(owner.CountMessages(WM_SCALE_PICKED), 1);
    EXPECT_EQ(owner.CountMessages(WM_SCALE_DRAGGED), 0);
}

TEST(Dragit, PressPicksAcrossTheRangeAndDraggingPastTheEdgeKeepsScrolling) {
    ControlOwner owner;
    owner.Open();
    CDragit pbt;
    pbt.Create({0, 0, 200, 30}, &owner, 1246, 1);
    pbt.SetRange(-1000, 1000);
    pbt.SetZoom(5);
    plat::synth::Press(&pbt, Button::Left, {150, 10});
    EXPECT_DOUBLE_EQ(pbt.GetPicked(), 500);  // 150 px x 10 Hz/px - 1000
    plat::synth::Move(&pbt, {199, 10}, plat::MK_LBUTTON);
    EXPECT_DOUBLE_EQ(pbt.GetValue(), 990);
    plat::synth::Move(&pbt, {210, 10}, plat::MK_LBUTTON);
    EXPECT_DOUBLE_EQ(pbt.GetValue(), 990 - 11 * 5);
    plat::synth::Move(&pbt, {230, 10}, plat::MK_LBUTTON);
    EXPECT_DOUBLE_EQ(pbt.GetValue(), 990 - 31 * 5);
    plat::synth::Release(&pbt, Button::Left, {230, 10});
    plat::DeliverPosted();
    EXPECT_EQ(owner.CountMessages(WM_SCALE_DRAGGED), 3);
    pbt.SetValue(0);
    plat::synth::DoubleClick(&pbt, Button::Left, {99, 10});
    EXPECT_DOUBLE_EQ(pbt.GetPicked(), 0);  // the centre column picks the value
}
