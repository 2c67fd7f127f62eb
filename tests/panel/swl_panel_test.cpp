#include <gtest/gtest.h>

#include "base/panel_options.h"
#include "civ/band_table.h"
#include "civ/frame_reader.h"
#include "civ/radio_init.h"
#include "civ/radio_models.h"
#include "panel/filter_table.h"
#include "panel/swl_panel.h"
#include "panel_recorder.h"

namespace {
using Boxes = std::array<std::string, kDigitBoxes>;

struct PanelFixture : ::testing::Test {
    RecordingFrame frame;
    RecordingView view;
    CSwlPanel panel{&frame};
    PanelFixture() { panel.SetView(&view); }
    void Key(int k, bool vfoB = false) {
        g_keyentry = k;
        if (vfoB)
            panel.KeyDigitB();
        else
            panel.KeyDigitA();
    }
    void Keys(const char* text, bool vfoB = false) {
        for (const char* p = text; *p; ++p) Key(*p == '\n' ? 13 : *p, vfoB);
    }
};
}  // namespace

TEST(PanelRules, DigitBoxesSplitTheFrequency) {
    EXPECT_EQ(FrequencyText(7.1), " 7.100000");
    EXPECT_EQ(FrequencyDigitBoxes(14.025, false), (Boxes{"1", "4.", "0", "2", "5.", "0", "0", "0"}));
    EXPECT_EQ(FrequencyDigitBoxes(14.025, true), (Boxes{"1", "4.", "0", "2", "5", "0", "0", "0"}));
    EXPECT_EQ(FrequencyDigitBoxes(7.1, false), (Boxes{"  ", "7.", "1", "0", "0.", "0", "0", "0"}));
    // From 100 MHz the 1 Hz digit has no box.
    EXPECT_EQ(FrequencyDigitBoxes(144.110001, false), (Boxes{"1", "4", "4.", "1", "1", "0.", "0", "0"}));
}

TEST(PanelRules, StepRoundingAndCaptions) {
    EXPECT_DOUBLE_EQ(RoundToStep(14.0255, 1000), 14.026);
    EXPECT_DOUBLE_EQ(RoundToStep(14.0254999, 1000), 14.025);
    EXPECT_DOUBLE_EQ(RoundToStep(7.0123, 5000), 7.01);
    // A hand-edited step of 0 counts as 1 Hz instead of dividing by zero.
    EXPECT_DOUBLE_EQ(RoundToStep(14.0250004, 0), 14.025);
    EXPECT_EQ(StepCaption(10), " 10 Hz");
    EXPECT_EQ(StepCaption(5000), "5.0 kHz");
    EXPECT_EQ(StepBCaption(100), "100");
    EXPECT_EQ(StepBCaption(2500), "2.5");
    EXPECT_EQ(ScaleResolution(10, true), 100);
    EXPECT_EQ(ScaleResolution(500, true), 10);
    EXPECT_EQ(ScaleResolution(10, false), 1);
}

TEST(PanelRules, StepUpAndDownWrap) {
    const std::array<int, kStepButtons> steps{1, 10, 100, 1000, 5000, 10000};
    EXPECT_EQ(StepAbove(10000, steps), 1);
    EXPECT_EQ(StepBelow(1, steps), 10000);
    EXPECT_EQ(StepAbove(300, steps), 1000);
    EXPECT_EQ(StepBelow(300, steps), 100);
    // The list is taken in ascending order whatever order it is configured in.
    EXPECT_EQ(StepAbove(100, {10000, 1, 5000, 100, 10, 1000}), 1000);
}

TEST(PanelRules, FilterNameWidths) {
    EXPECT_EQ(FilterNameWidth("2.4 kHz "), 2400);
    EXPECT_EQ(FilterNameWidth("500 Hz "), 500);
    EXPECT_EQ(FilterIndexForCode(40), 1);   // 3.6 kHz
    EXPECT_EQ(FilterIndexForCode(9), 32);   // 500 Hz
    EXPECT_EQ(FilterIndexForCode(0), 41);   // 50 Hz
    EXPECT_EQ(FilterIndexForCode(99), 0);
}

TEST_F(PanelFixture, NothingReachesTheMainFrameUntilTheFirstTuning) {
    panel.SetStep(1000);
    EXPECT_TRUE(frame.commands.empty());
    panel.SetPanelTuning(0, 0, 0, 0, 0, 0);
    EXPECT_EQ(panel.enabled, 1);
    EXPECT_DOUBLE_EQ(panel.vfoAFreq, 14.025);
    EXPECT_EQ(panel.vfoAMode, '0');
    EXPECT_TRUE(frame.commands.empty());
}

TEST_F(PanelFixture, SetPanelTuningAppliesOnlyNonZeroValues) {
    g_radiotype = 23;  // a width table: filter 32 is 500 Hz
    panel.SetPanelTuning(7.1, '1', 0, 32, 0, '3');
    EXPECT_DOUBLE_EQ(panel.vfoAFreq, 7.1);
    EXPECT_EQ(panel.vfoAMode, '1');
    EXPECT_EQ(panel.vfoBMode, '3');
    EXPECT_DOUBLE_EQ(panel.vfoBFreq, 14.025);
    EXPECT_EQ(panel.filter, 32);
    EXPECT_EQ(view.filterWidth, 500);
    EXPECT_EQ(view.digits[0][1], "7.");
}

TEST_F(PanelFixture, StepOnlyRoundsVfoAAndNotifies) {
    panel.SetPanelTuning(14.0255, 0, 0, 0, 0, 0);
    frame.commands.clear();
    panel.SetPanelTuning(0, 0, 1000, 0, 0, 0);
    EXPECT_DOUBLE_EQ(panel.vfoAFreq, 14.026);
    EXPECT_GE(frame.Count(IDC_RADIO_WINDOW), 1);
    EXPECT_EQ(view.stepCaption, "1.0 kHz");
    EXPECT_EQ(view.litStep, 3);
}

TEST_F(PanelFixture, ManualModeKeepsTheFrequency) {
    g_manualmode = 1;
    panel.SetPanelTuning(14.0255, 0, 1000, 0, 0, 0);
    EXPECT_DOUBLE_EQ(panel.vfoAFreq, 14.0255);
}

TEST_F(PanelFixture, StepZeroBecomesOne) {
    panel.enabled = 1;
    panel.SetStep(0);
    EXPECT_DOUBLE_EQ(panel.step, 1);
    EXPECT_EQ(view.stepCaption, "  1 Hz");
}

TEST_F(PanelFixture, BusyReaderDefersTheNotification) {
    panel.enabled = 1;
    g_inreader = 1;
    panel.NotifyMainWin();
    EXPECT_EQ(g_swlpending, 1);
    EXPECT_TRUE(frame.commands.empty());
    g_inreader = 0;
    panel.NotifyMainWin();
    EXPECT_EQ(frame.Count(IDC_RADIO_WINDOW), 1);
}

TEST_F(PanelFixture, StepButtonsUpAndDown) {
    panel.enabled = 1;
    panel.step = 10000;
    panel.OnCommand(IDC_STEP_UP);
    EXPECT_DOUBLE_EQ(panel.step, 1);
    panel.OnCommand(IDC_STEP_DOWN);
    EXPECT_DOUBLE_EQ(panel.step, 10000);
    panel.OnCommand(IDC_STEP1 + 2);
    EXPECT_DOUBLE_EQ(panel.step, 100);
}

TEST_F(PanelFixture, SetFrequencyShowsButKeepsTheStoredValue) {
    panel.SetFrequency(21.2);
    EXPECT_DOUBLE_EQ(panel.vfoAFreq, 14.025);
    EXPECT_EQ(view.digits[0][0], "2");
    view.calls.clear();
    panel.SetFrequency(0);
    EXPECT_TRUE(view.calls.empty());
}

TEST_F(PanelFixture, KeypadTypesMegahertzWithAPoint) {
    panel.enabled = 1;
    Keys("7.025");
    // The typed digits are held against updates from the radio.
    panel.SetFrequency(14.2);
    EXPECT_EQ(view.digits[0][1], "7.");
    Keys("\n");
    EXPECT_DOUBLE_EQ(g_keypadfreq, 7.025);
    EXPECT_EQ(frame.Count(ID_STORED_FREQ), 1);
    EXPECT_EQ(panel.keyA.hold, 0);
}

TEST_F(PanelFixture, KeypadWholeNumberIsHertz) {
    panel.enabled = 1;
    g_manualmode = 1;
    Keys("14\n");
    EXPECT_DOUBLE_EQ(panel.vfoAFreq, 0.000014);
    EXPECT_EQ(frame.Count(IDC_RADIO_WINDOW), 1);
}

TEST_F(PanelFixture, KeypadEnterAloneIsRefused) {
    panel.enabled = 1;
    Keys("\n");
    EXPECT_TRUE(frame.commands.empty());
    EXPECT_EQ(view.digits[0][0], "1");  // the stored 14.025 is shown again
    Keys("9x");                         // unknown keys are ignored
    Key(27);
    EXPECT_EQ(panel.keyA.active, 0);
    EXPECT_TRUE(frame.commands.empty());
}

TEST_F(PanelFixture, KeypadOnVfoBNotifiesBoth) {
    panel.enabled = 1;
    Keys("21.3\n", true);
    EXPECT_DOUBLE_EQ(panel.vfoBFreq, 21.3);
    EXPECT_EQ(frame.Count(IDC_RADIO_WINDOW), 1);
    EXPECT_EQ(frame.Count(IDC_VFOB_CHANGED), 1);
}
