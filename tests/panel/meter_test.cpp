#include <gtest/gtest.h>

#include "base/panel_options.h"
#include "control_fixture.h"
#include "panel/controls/meter.h"

namespace {
struct MeterTest : ::testing::Test {
    ControlOwner owner;
    CMeter meter;
    void SetUp() override {
        owner.Open();
        meter.Create({0, 0, 212, 60}, &owner, 1300);
    }
};
}  // namespace

TEST(MeterMath, PointerStaysOnTheFaceWhateverTheRange) {
    EXPECT_EQ(MeterPointer(60, 0, 120, 212).x, 60 * 200 / 120 + 3);
    EXPECT_FALSE(MeterPointer(60, 50, 50, 212).shown);  // no range, no pointer, no division by 0
    EXPECT_FALSE(MeterPointer(60, 100, 0, 212).shown);
    EXPECT_EQ(MeterPointer(5000, 0, 120, 212).x, 209);
    EXPECT_EQ(MeterPointer(-40, 0, 120, 212).x, 1);
    // S units: S9 at two thirds of the inner width, never past 0.97 of it.
    EXPECT_EQ(SMeterColumn(kS9, 120, 212), int(0.667 * 200) + 3);
    EXPECT_EQ(SMeterColumn(kS9 / 2, 120, 212), int(kS9 / 2 / double(kS9) * 0.667 * 200) + 3);
    // The default range ends below S9: the readings above it still climb.
    EXPECT_GT(SMeterColumn(kS9 + 512, 120, 212), SMeterColumn(kS9, 120, 212));
    EXPECT_EQ(SMeterColumn(100000, 120, 212), int(0.97 * 200) + 3);
    EXPECT_EQ(SMeterColumn(kS9 + 384, kS9 + 1536, 212), int(0.667 * 200 + 384.0 / 1536 * 2 * 0.333 * 200) + 3);
}

TEST_F(MeterTest, StoresEachTypeAsItsReadingsCome) {
    meter.SetValue(130, 1, 55);
    EXPECT_EQ(meter.Value(1), 130);
    EXPECT_EQ(meter.Value(2), 55);
    EXPECT_EQ(meter.ReadingText(), "130");
    EXPECT_EQ(plat::AccessibleName(&meter), "130");
    EXPECT_EQ(plat::AccessibleRoleOf(&meter), plat::AccessRole::Meter);
    meter.SetValue(0, 4, 0);
    EXPECT_EQ(meter.Value(4), 1);
    meter.SetType(0, 4);
    EXPECT_EQ(meter.Peak(), 1);
    meter.SetValue(kS9, 4, 0);
    EXPECT_EQ(meter.ReadingText(), "9.00 ~ 136");
    meter.SetValue(150, 3, 0);
    EXPECT_EQ(meter.ReadingText(), "1.50 : 1");
    EXPECT_EQ(meter.PointerColumn(), MeterPointer(15, 0, 120, 212).x);
    meter.SetRange(0, 0, 3);  // a broken range shows no pointer
    EXPECT_EQ(meter.PointerColumn(), -1);
    meter.SetValue(12, 5, 0);
    EXPECT_EQ(meter.GetType(), 5);
    EXPECT_EQ(meter.ReadingText(), "12");
}

TEST_F(MeterTest, FreezeKeepsAllButPowerStill) {
    g_meterfreeze = 1;
    const int before = meter.Repaints();
    meter.SetValue(250, 3, 0);
    EXPECT_EQ(meter.Value(3), 250);
    EXPECT_EQ(meter.Repaints(), before);
    meter.SetValue(50, 1, 0);
    EXPECT_EQ(meter.Repaints(), before + 1);
    g_meterfreeze = 0;
}

TEST_F(MeterTest, DrawsThePointerInDarkRed) {
    meter.SetValue(60, 1, 0);
    const int x = meter.PointerColumn();
    const plat::Snapshot s = plat::TakeSnapshot(&meter);
    EXPECT_TRUE(Near(s.At(x, 50), plat::RGB(192, 0, 0), 8));
    EXPECT_FALSE(Near(s.At(x + 20, 50), plat::RGB(192, 0, 0), 8));
}

TEST(MeterScale, AScaleOutsideTheUsableRangeIsNotUsed) {
    EXPECT_FALSE(IsUsablePanelScale(0.001));
    EXPECT_FALSE(IsUsablePanelScale(9));
    EXPECT_TRUE(IsUsablePanelScale(1.4));
    g_scalex = 0.001;  // (int)(0.001 x 250) would be 0
    ControlOwner owner;
    owner.Open();
    CMeter meter;
    meter.Create({0, 0, 140, 56}, &owner, 1300);
    EXPECT_EQ(meter.RatioX(), 140 * 1000 / 350);
    g_scalex = 1.4;
}

TEST_F(MeterTest, RepaintsOnlyWhenWhatItShowsChanges) {
    meter.SetValue(60, 1, 0);
    const int before = meter.Repaints();
    meter.SetValue(60, 1, 0);  // the same reading every meter tick
    meter.SetType(0, 1);
    EXPECT_EQ(meter.Repaints(), before);
    meter.SetValue(61, 1, 0);  // the needle moves
    EXPECT_EQ(meter.Repaints(), before + 1);
    meter.SetValue(kS9, 4, 0);
    meter.SetType(kS9, 4);
    const int s = meter.Repaints();
    meter.SetValue(kS9, 4, 0);
    meter.SetType(kS9, 4);
    EXPECT_EQ(meter.Repaints(), s);
    meter.SetRange(1, kS9 + 1536, 4);  // another scale is another face
    EXPECT_EQ(meter.Repaints(), s + 1);
    // A frozen meter that missed a change repaints once it is let go.
    g_meterfreeze = 1;
    meter.SetValue(kS9 + 512, 4, 0);
    EXPECT_EQ(meter.Repaints(), s + 1);
    g_meterfreeze = 0;
    meter.SetValue(kS9 + 512, 4, 0);
    EXPECT_EQ(meter.Repaints(), s + 2);
}
