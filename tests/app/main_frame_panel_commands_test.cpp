// Commands the radio window hands to the main frame, in the whole program
// against the simulated IC-7300: mute and the speech processor reach the
// radio, and the mute label follows.
#include <gtest/gtest.h>

#include "app/commands.h"
#include "app/main_frame.h"
#include "civ/civ_options.h"
#include "civ/civ_setters.h"
#include "civ/frequency_state.h"
#include "common/sim_station.h"
#include "panel/function_buttons.h"
#include "panel/radio_window.h"

namespace {
int FramesWith(const SimStation& s, std::initializer_list<std::uint8_t> head) {
    int n = 0;
    for (const sim::Bytes& f : s.radio.frames()) {
        bool match = f.size() >= 4 + head.size() + 1;
        std::size_t i = 4;
        for (std::uint8_t b : head) match = match && f[i++] == b;
        if (match) ++n;
    }
    return n;
}
}  // namespace

TEST(MainFramePanelCommands, MuteAndSpeechProcessorReachTheRadio) {
    SimStation s("VOLUME=120\n");
    s.initialise();
    ASSERT_NE(g_radiowindow, nullptr);
    const int loud = s.radio.level(0x01);
    ASSERT_GT(loud, 1);
    s.radio.clearLog();
    g_mainwin->SendMessage(plat::WM_COMMAND, ID_MUTE, 0);
    s.run(600);
    EXPECT_EQ(g_muted, 1);
    EXPECT_LE(s.radio.level(0x01), 1);  // the lowest AF step
    EXPECT_EQ(g_radiowindow->Control(int(IDC_STATUS_LABEL))->GetWindowText(), "Mute");
    g_mainwin->SendMessage(plat::WM_COMMAND, ID_MUTE, 0);
    s.run(600);
    EXPECT_EQ(g_muted, 0);
    EXPECT_EQ(s.radio.level(0x01), loud);
    EXPECT_EQ(g_radiowindow->Control(int(IDC_STATUS_LABEL))->GetWindowText(), "    ");

    s.radio.clearLog();
    const int before = g_speech;
    g_mainwin->SendMessage(plat::WM_COMMAND, ID_SPEECH_PROCESSOR, 0);
    s.run(500);
    EXPECT_EQ(g_speech, !before);
    EXPECT_EQ(FramesWith(s, {0x16, 0x44, std::uint8_t(before ? 0 : 1)}), 1);
}
