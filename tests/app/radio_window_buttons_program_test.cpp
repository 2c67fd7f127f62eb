// The radio window's transverter and CW memory buttons in the running
// program against the simulated radio: a click tunes the transverter's IF,
// a CW memory button sends its memory through the CW keyboard, and the
// volume keys hold against the next push.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "base/panel_options.h"
#include "civ/civ_options.h"
#include "common/sim_station.h"
#include "devices/cw_keyboard.h"
#include "panel/radio_window.h"
#include "platform/input_synth.h"

TEST(RadioWindowButtonsProgram, ATransverterButtonTunesItsBandThroughTheIf) {
    SimStation s("TV2 LOWER LIMIT=144\nTV2 UPPER LIMIT=146\nTV2 IF=28\nTV2 BUTTON=2m\n");
    s.initialise();
    ASSERT_NE(g_radiowindow, nullptr);
    plat::Window* button = g_radiowindow->Control(40146);
    ASSERT_NE(button, nullptr);
    EXPECT_TRUE(button->IsWindowVisible());
    EXPECT_EQ(button->GetWindowText(), "2m");
    EXPECT_FALSE(g_radiowindow->Control(40145)->IsWindowVisible());  // TV1 is not set up
    plat::synth::Click(button, plat::synth::Button::Left, {5, 5});
    s.run(2000);
    // 144 MHz on the panel is 28 MHz at the radio (offset 144 - 28).
    EXPECT_DOUBLE_EQ(g_vfoafreq, 144.0);
    EXPECT_EQ(s.radio.frequency(0), 28000000);
}

TEST(RadioWindowButtonsProgram, ACwMemoryButtonSendsItsMemory) {
    SimStation s("");
    s.initialise();
    ASSERT_NE(g_radiowindow, nullptr);
    g_keyerstate = 1;  // the CW keyboard on
    std::strcpy(g_cwmacro[2], "cq test");
    plat::synth::Click(g_radiowindow->Control(591), plat::synth::Button::Left, {5, 5});
    EXPECT_NE(CwRingText().find("cq test"), std::string::npos) << CwRingText();
}

// The volume keys ('+' and '-' on the radio window, Ctrl+Right and
// Ctrl+Left) set the panel's volume too, so the next state push keeps it.
TEST(RadioWindowButtonsProgram, AVolumeSetByKeySurvivesTheNextPush) {
    SimStation s("VOLUME=68\n");
    s.initialise();
    const int before = s.radio.level(0x01);
    plat::synth::Type(g_radiowindow, "+++-");
    s.run(1000);
    const int keyed = s.radio.level(0x01);
    EXPECT_NE(keyed, before);
    plat::synth::Click(g_radiowindow->Control(101), plat::synth::Button::Left, {5, 5});  // USB: a push
    s.run(1000);
    EXPECT_EQ(s.radio.mode(0), 0x01);
    EXPECT_EQ(s.radio.level(0x01), keyed);
    EXPECT_EQ(g_volume, 74);
    EXPECT_EQ(g_radiowindow->SliderValue(2360), 74);
    EXPECT_TRUE(plat::SaveWindowPng(g_radiowindow, std::string(QARV_BUILD_DIR) + "/radio_window/volume_keys.png"));
}
