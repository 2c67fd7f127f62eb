#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "base/panel_options.h"
#include "civ/frequency_state.h"
#include "control_fixture.h"
#include "panel/controls/freq_display.h"
#include "panel/controls/numeric_edit.h"
#include "panel/swl_panel.h"
#include "platform/font.h"
#include "platform/keys.h"

namespace {
using plat::synth::Button;

struct DisplayTest : ::testing::Test {
    ControlOwner owner;
    CFreqDisplay display;
    plat::Font font;
    void SetUp() override {
        owner.Open();
        font.Create(34, plat::FW_BOLD, "Arial");
        display.Create({10, 10, 290, 60}, &owner, 1001, 14.025);
        display.SetFont(&font);
        owner.SetFocus();
    }
};
}  // namespace

TEST(Readout, GroupsMhzKhzAndHz) {
    EXPECT_EQ(ReadoutText(14.025, false), "14.025.000");
    EXPECT_EQ(ReadoutText(7.025, false), " 7.025.000");
    EXPECT_EQ(ReadoutText(144.3, false), "144.300.00");
    EXPECT_EQ(ReadoutText(1296.1, false), "1296.100.0");
    EXPECT_EQ(ReadoutText(14.025, true), "14.025000");
    EXPECT_EQ(ReadoutText(7.025, true), " 7.025000");
    EXPECT_EQ(ReadoutText(0, false), "");
    // A transverter above 10 GHz still shows every digit.
    EXPECT_EQ(ReadoutText(10368.1, false), "10368.100.0");
    EXPECT_EQ(ReadoutText(24048.2, false), "24048.200.0");
}

TEST(NumericText, ReadsNumbersWithTheirMultiplier) {
    EXPECT_EQ(NumericEditText(1500), "1.500 K");
    EXPECT_EQ(NumericEditText(2500000), "2500.000 K");
    EXPECT_EQ(NumericEditText(999), "999");
    // What SetValue writes reads back as the same value.
    EXPECT_DOUBLE_EQ(ParseNumericText(NumericEditText(2500000)), 2500000);
    EXPECT_DOUBLE_EQ(ParseNumericText("7.5k"), 7500);
    EXPECT_DOUBLE_EQ(ParseNumericText("2M"), 2000000);
    EXPECT_DOUBLE_EQ(ParseNumericText(".5"), 0.5);
    EXPECT_EQ(ParseNumericText("14.0x"), 0);
    EXPECT_EQ(ParseNumericText("1.2.3"), 0);
    EXPECT_EQ(ParseNumericText(""), 0);
    EXPECT_EQ(ParseNumericText("5 K 3"), 0);
    // Hz survive above 16.7 MHz.
    EXPECT_EQ(std::llround(ParseNumericText("145.1234") * 1e6), 145123400);
}

TEST_F(DisplayTest, ClickEntryTypedAndReturnedTunesTheOwner) {
    g_tuning = 0;
    plat::synth::Click(&display, Button::Left, {20, 20});
    EXPECT_EQ(g_tuning, 1);
    EXPECT_EQ(display.GetValue(), 0);
    EXPECT_TRUE(display.Edit().IsWindowVisible());
    EXPECT_EQ(display.Edit().GetText(), "");
    plat::synth::Type(&display.Edit(), "145.1234");
    plat::synth::Key(&display.Edit(), plat::VK_RETURN);
    EXPECT_FALSE(display.Edit().IsWindowVisible());
    EXPECT_EQ(std::llround(display.GetValue() * 1e6), 145123400);
    EXPECT_EQ(g_tuning, 0);
    EXPECT_GE(owner.Count(1001), 1);
    EXPECT_EQ(plat::FocusedWindow(), &owner);
    EXPECT_EQ(plat::AccessibleName(&display), "145.123.40");
}

TEST_F(DisplayTest, AnEmptyEntryReleasesTheHoldToo) {
    plat::synth::Click(&display, Button::Left, {20, 20});
    ASSERT_EQ(g_tuning, 1);
    owner.SetFocus();  // the operator clicks elsewhere
    EXPECT_EQ(g_tuning, 0);
    EXPECT_EQ(display.GetValue(), 0);
    EXPECT_EQ(owner.Count(1001), 1);
}

TEST_F(DisplayTest, TypingOnTheDisplayOpensTheEntryWithTheDigit) {
    plat::synth::Type(&display, "7");
    plat::DeliverPosted();
    EXPECT_TRUE(display.InEntry());
    EXPECT_EQ(display.Edit().GetText(), "7");
    plat::synth::Type(&display.Edit(), ".0");
    plat::synth::Type(&display.Edit(), "k");  // a multiplier ends the entry as well
    EXPECT_FALSE(display.InEntry());
    EXPECT_DOUBLE_EQ(display.GetValue(), 7000);
}

TEST_F(DisplayTest, DrawsYellowDigitsOnBlack) {
    EXPECT_TRUE(Near(plat::WindowPixel(&display, 1, 1), plat::RGB(0, 0, 0), 0));
    EXPECT_TRUE(AnyPixel(&display, {0, 0, 280, 50}, plat::RGB(255, 255, 0), 10));
    display.SetValue(0);
    EXPECT_FALSE(AnyPixel(&display, {0, 0, 280, 50}, plat::RGB(255, 255, 0), 60));
}

TEST(NumericEdit, DigitBoxesHandTheKeyToTheOwner) {
    ControlOwner owner;
    owner.Open();
    CNumericEdit a, b;
    a.CreateControl("4", {0, 0, 20, 20}, &owner, 5157);
    b.CreateControl("1", {30, 0, 50, 20}, &owner, 5166);
    plat::synth::Type(&a, "5");
    EXPECT_EQ(a.GetText(), "4");
    EXPECT_EQ(g_keyentry, '5');
    plat::synth::Type(&b, "9");
    EXPECT_EQ(g_keyentry, '9');
    EXPECT_EQ(owner.commands, (std::vector<unsigned>{IDC_VFOA_KEY, IDC_VFOB_KEY}));
}

// A key a digit box passes on reaches its window whole, press and release
// (Space and End act on their release); a digit stays with the box, both
// halves.
TEST(NumericEdit, DigitBoxesPassOnAKeysReleaseWithItsPress) {
    struct KeyOwner : ControlOwner {
        std::vector<std::string> keys;
        void OnKeyDown(unsigned key, unsigned) override { keys.push_back("down " + std::to_string(key)); }
        void OnKeyUp(unsigned key, unsigned) override { keys.push_back("up " + std::to_string(key)); }
    } owner;
    owner.Open();
    CNumericEdit a;
    a.CreateControl("4", {0, 0, 20, 20}, &owner, 5157);
    plat::synth::Key(&a, plat::VK_SPACE);
    plat::synth::Key(&a, plat::VK_END);
    plat::synth::KeyDown(&a, plat::VK_SPACE);
    plat::synth::KeyUp(&a, plat::VK_SPACE, true);  // a held key's repeat
    plat::synth::KeyDown(&a, plat::VK_SPACE, true);
    plat::synth::KeyUp(&a, plat::VK_SPACE);
    plat::synth::Key(&a, '5');
    EXPECT_EQ(owner.keys, (std::vector<std::string>{"down 32", "up 32", "down 35", "up 35", "down 32", "up 32",
                                                    "down 32", "up 32"}));
    EXPECT_EQ(g_keyentry, '5');
    EXPECT_EQ(a.GetText(), "4");
}

TEST(NumericEdit, MultipliersRewriteTheTextAndNotify) {
    ControlOwner owner;
    owner.Open();
    CNumericEdit e;
    e.CreateControl("", {0, 0, 120, 20}, &owner, 2426);
    plat::synth::Type(&e, "1.5k");
    EXPECT_EQ(e.GetText(), "1.500 K");
    EXPECT_DOUBLE_EQ(e.GetValue(), 1500);
    plat::synth::Type(&e, "\b\b\b\b");
    e.SetText("");
    plat::synth::Type(&e, "2.5m");
    EXPECT_EQ(e.GetText(), "2500.000 K");
    EXPECT_DOUBLE_EQ(e.GetValue(), 2500000);  // what it wrote reads back
    EXPECT_EQ(owner.Count(2426), 2);
    e.SetText(".25");
    e.GetValue();
    EXPECT_EQ(g_leadingpoint, 1);
}

TEST(SpecialEdit, ReturnNotifiesAndStillReachesTheField) {
    ControlOwner owner;
    owner.Open();
    CSpecialEdit e;
    e.CreateControl("DL1ABC", {0, 0, 120, 20}, &owner, 1244);
    plat::synth::Key(&e, plat::VK_RETURN);
    EXPECT_EQ(owner.commands, std::vector<unsigned>{1244});
    EXPECT_EQ(e.GetText(), "DL1ABC");
}
