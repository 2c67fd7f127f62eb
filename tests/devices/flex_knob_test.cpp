// The FlexControl: its token parser, its buttons and LEDs, and the knob on
// a simulated line found by the search and tuning the simulated radio.
#include <gtest/gtest.h>

#include <string>

#include "civ/frequency_state.h"
#include "devices/flex_knob.h"
#include "platform/message_box.h"
#include "sim/sim_surfaces.h"
#include "surface_app.h"
#include "surface_ends.h"
#include "surface_fixture.h"

namespace {
FlexTokens Feed(FlexParser& p, const std::string& text) {
    FlexTokens t;
    p.Feed(reinterpret_cast<const std::uint8_t*>(text.data()), int(text.size()), t);
    return t;
}

struct FlexButtons : SurfaceFixture {
    FlexButtons() { SetupFlexSlots(); }
};
}  // namespace

TEST(FlexParser, TurnsAndPresses) {
    FlexParser p;
    EXPECT_EQ(Feed(p, "U;U;D;").count, 1);
    EXPECT_EQ(Feed(p, "U12;D03;").count, 9);
    const FlexTokens t = Feed(p, "S;C;L;X1S;X2C;X3L;");
    EXPECT_EQ(t.keys, (std::vector<std::uint8_t>{'.', '0', '1', 17, '5', '9'}));
}

TEST(FlexParser, ATokenSplitAcrossReadsCountsOnce) {
    FlexParser p;
    EXPECT_EQ(Feed(p, "U;U0").count, 1);
    EXPECT_EQ(p.Carried(), 2);
    EXPECT_EQ(Feed(p, "5;").count, 5);
    EXPECT_EQ(p.Carried(), 0);
    Feed(p, "X2");
    EXPECT_EQ(Feed(p, "L;").keys, (std::vector<std::uint8_t>{'8'}));
}

TEST(FlexParser, AnInvalidTokenStartIsSkippedAndTheCarryStaysSmall) {
    FlexParser p;
    // Token starts without their ';' never pile up: the knob stays alive.
    for (int i = 0; i < 200; ++i) {
        Feed(p, "UUUUXXXX");
        EXPECT_LE(p.Carried(), 3);
    }
    EXPECT_EQ(Feed(p, "Q;U;").count, 1);
    EXPECT_EQ(Feed(p, "U9x;D;").count, -1);
    EXPECT_FALSE(IsFlexIdentification(reinterpret_cast<const std::uint8_t*>("F0001"), 5));
    EXPECT_TRUE(IsFlexIdentification(reinterpret_cast<const std::uint8_t*>("F0001;"), 6));
}

TEST_F(FlexButtons, PressesRunTheirSlotsAndLedsFollowTheFunctions) {
    // Aux 1 single is "Split Key".
    PressKey(17);
    EXPECT_TRUE(frame.posted(122));
    // "RIT" on Aux 2 single with RIT on lights its LED only.
    panel.rit = 1;
    EXPECT_EQ(GetFlexLedStates(SlotAction(1)), 1);
    EXPECT_EQ(GetFlexLedStates(SlotAction(0)), 0);
    EXPECT_EQ(GetFlexLedStates(5086), 0);
}

TEST(FlexKnob, FoundBySearchItTunesAndLightsItsLeds) {
    sim::SimFlexKnob knob;
    SurfaceApp qarv;
    ASSERT_TRUE(knob.link(qarv.dir.file("ports/com5")));
    KnobEnd knobIn(knob, qarv.dir.file("ports/com5"));
    qarv.start("", "Flex Knob=1\n");
    ASSERT_TRUE(knob.identified());
    ASSERT_EQ(g_flexopen, 1);
    EXPECT_EQ(g_slotsurface, Surface::FlexControl);
    EXPECT_NE(qarv.dir.read("comms.txt").find("COM5, valid"), std::string::npos);
    // The first LED update always sends.
    EXPECT_EQ(knob.written(5, realwait::kBoundMs), "I000;");
    const long long f0 = qarv.radio.frequency(0);
    knobIn.send("U;U;D;");
    EXPECT_TRUE(qarv.waitForFrequency(f0 + 1000));
    knobIn.send("U0");
    qarv.run(50);
    knobIn.send("5;");
    EXPECT_TRUE(qarv.waitForFrequency(f0 + 6000));
    // Split on: the split button's LED lights.
    g_swlpanel->split = 1;
    qarv.run(1100);
    EXPECT_EQ(knob.written(5, realwait::kBoundMs), "I100;");
    // Garbage, then the knob still tunes.
    knobIn.send(std::string(500, 'U') + "\x01\xFF;;;X9S;");
    qarv.run(200);
    knobIn.send("D;");
    EXPECT_TRUE(qarv.waitForFrequency(f0 + 5000));
    // Unplugged: the program stays up and the keyboard still tunes.
    knob.unplug();
    qarv.run(300);
    EXPECT_EQ(g_flexopen, 0);
    g_mainwin->SendMessage(plat::WM_COMMAND, 150, 0);  // Page Up
    EXPECT_TRUE(qarv.waitForFrequency(f0 + 6000));
}

TEST(FlexKnob, NoKnobFoundSetsThePodUp) {
    SurfaceApp qarv;
    qarv.start("", "Flex Knob=1\n");
    EXPECT_EQ(g_flexopen, 0);
    EXPECT_NE(g_slotsurface, Surface::FlexControl);
    bool boxed = false;
    for (const auto& b : plat::message_box_script::History())
        boxed = boxed || b.text == "FlexControl Knob not found\n";
    EXPECT_TRUE(boxed);
}
