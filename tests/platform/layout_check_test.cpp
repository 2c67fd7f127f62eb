#include <gtest/gtest.h>

#include "platform/controls.h"
#include "platform/font.h"
#include "platform/layout_check.h"

namespace {
struct Frame : plat::Window {};

bool Names(const std::vector<plat::LayoutFault>& faults, const plat::Window* w) {
    for (const auto& f : faults)
        if (f.window == w) return true;
    return false;
}
}  // namespace

TEST(LayoutCheck, CutCaptionsAndStrayControlsAreFound) {
    Frame f;
    f.Create("f", 0, {0, 0, 300, 200}, nullptr, 0);
    plat::Button roomy, cramped;
    roomy.CreateControl("Sweep", {0, 0, 120, 30}, &f, 1);
    cramped.CreateControl("Wide Sweep (Pgm Res)", {0, 40, 40, 70}, &f, 2);
    plat::CheckBox check;
    check.CreateControl("Search for Radio Automatically", {0, 80, 60, 100}, &f, 3);
    plat::ComboBox combo;
    combo.CreateControl("", {0, 110, 60, 135}, &f, 4);
    combo.AddString("Do Not Use This Value");
    combo.SetCurSel(0);
    plat::StaticText outside;
    outside.CreateControl("x", {280, 180, 330, 210}, &f, 5);
    plat::StaticText hidden;
    hidden.CreateControl("a caption far too long for it", {0, 150, 10, 160}, &f, 6, false);

    auto faults = plat::CheckLayout(&f);
    EXPECT_FALSE(Names(faults, &roomy)) << plat::DescribeFaults(faults);
    EXPECT_TRUE(Names(faults, &cramped));
    EXPECT_TRUE(Names(faults, &check));
    EXPECT_TRUE(Names(faults, &combo));
    EXPECT_TRUE(Names(faults, &outside));
    EXPECT_FALSE(Names(faults, &hidden));  // nobody sees it
}

TEST(LayoutCheck, TextMeasuredInTheWindowsFont) {
    Frame f;
    f.Create("f", 0, {0, 0, 300, 200}, nullptr, 0);
    plat::Font small, big;
    small.Create(10, plat::FW_NORMAL, "Arial");
    big.Create(30, plat::FW_NORMAL, "Arial");
    f.SetFont(&small);
    const plat::Point a = plat::MeasureText(&f, "14.350");
    f.SetFont(&big);
    const plat::Point b = plat::MeasureText(&f, "14.350");
    EXPECT_GT(b.x, 2 * a.x);
    EXPECT_TRUE(plat::TextFits(&f, "14.350", {0, 0, b.x + 2, b.y}));
    EXPECT_FALSE(plat::TextFits(&f, "14.350", {0, 0, b.x, b.y}));
    EXPECT_TRUE(plat::Intersects({0, 0, 10, 10}, {9, 9, 20, 20}));
    EXPECT_FALSE(plat::Intersects({0, 0, 10, 10}, {10, 0, 20, 10}));
}
