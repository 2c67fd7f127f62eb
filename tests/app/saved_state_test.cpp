// The radio is set from what the operator saved: the whole program against
// the simulated radio, from start-up through its first contact.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "app/app.h"
#include "app/main_frame.h"
#include "civ/civ_options.h"
#include "civ/civ_setters.h"
#include "civ/civ_timers.h"
#include "civ/frame_reader.h"
#include "civ/frequency_state.h"
#include "civ/radio_init.h"
#include "common/sim_station.h"
#include "common/test_dir.h"
#include "panel/swl_panel.h"
#include "platform/clock.h"
#include "sim/sim_radio.h"

namespace {
using SavedRadio = SimStation;

// What may leave before the radio has answered: the start-up requests for
// frequency and mode with the VFO selection before them, and the first state
// push of the run, which sends the saved mode with its filter and the power.
bool StartupFrame(const sim::Bytes& f) {
    if (f.size() < 6) return false;
    const std::uint8_t cmd = f[4];
    if (cmd == 0x03 || cmd == 0x04 || cmd == 0x06 || cmd == 0x07) return true;
    if (f.size() >= 7 && cmd == 0x1A && f[5] == 0x03) return true;
    if (f.size() >= 7 && cmd == 0x14 && f[5] == 0x0A) return true;
    return false;
}
}  // namespace

TEST(SavedState, InitRadioSendsTheSavedPanelValues) {
    SavedRadio s(
        "AGC MODE=2\nSPOT VOLUME=2\nPOWER=40\nRX FILTER=3\nNOISE=1\nNR VAL=77\n"
        "[20 Meters CW]\nFrequency=014.074000\nPREAMP=1\nATTN=32\nMAINANT=2\nSUBANT=0\n");
    // Before the radio has answered, only the start-up requests leave.
    s.radio.setAnswering(false);
    s.run(1000);
    for (const sim::Bytes& f : s.radio.frames()) {
        if (StartupFrame(f)) continue;
        ADD_FAILURE() << "frame before the first reply: command " << int(f[4]);
    }
    s.radio.setAnswering(true);
    s.initialise();
    EXPECT_EQ(s.radio.switchState(0x12), 2);  // the saved AGC
    EXPECT_EQ(s.radio.switchState(0x47), 2);  // full break-in
    EXPECT_EQ(s.radio.switchState(0x02), 1);  // the band's preamp
    EXPECT_EQ(s.radio.switchState(0x40), 1);  // noise reduction on
    EXPECT_EQ(s.radio.level(0x06), 77);
    EXPECT_EQ(s.radio.level(0x0A), 102);      // 40 %
    bool attenuator = false;
    for (const sim::Bytes& f : s.radio.frames())
        if (f.size() == 7 && f[4] == 0x11) attenuator = attenuator || f[5] == 0x32;
    EXPECT_TRUE(attenuator);
    // What the program holds is still what was saved (this radio has one
    // antenna connector, so the band's antenna is only the panel's).
    EXPECT_EQ(Tuning().antenna, 2);
    EXPECT_EQ(Tuning().filter, 3);
    EXPECT_EQ(g_rxfilter, 3);
    EXPECT_EQ(g_agcmodea, '2');
    EXPECT_EQ(g_spotvolume, 2);
}

TEST(SavedState, LicenceLimitHoldsThroughLaterPushesAndTheCloseGivesPowerBack) {
    // Class 2 may not transmit SSB at 14.1 MHz; CW is allowed there.
    SavedRadio s("TX ENABLE=1\nPOWER=50\nVFO-A MODE=51\n[PREFERENCE]\nFOLLOW LICENSE=1\nLICENSE CLASS=2\n");
    s.radio.setFrequency(14100000, 0);
    s.radio.setMode(0x03, 1, 0);  // CW
    s.initialise();
    ASSERT_EQ(g_txenable, 1);
    // The radio reports USB: transmit goes off and stays off through pushes.
    s.radio.setMode(0x01, 1, 0);
    s.radio.sendTransceiveMode();
    s.run(1000);
    EXPECT_EQ(g_txenable, 0);
    EXPECT_EQ(s.radio.level(0x0A), 0);
    Tuning().fn.nrLevel = 10;  // any later push
    OnSwl();
    s.run(1000);
    EXPECT_EQ(g_txenable, 0);
    EXPECT_EQ(s.radio.level(0x0A), 0);
    // Back to CW: transmit comes back.
    s.radio.setMode(0x03, 1, 0);
    s.radio.sendTransceiveMode();
    s.run(1000);
    EXPECT_EQ(g_txenable, 1);
    EXPECT_GT(s.radio.level(0x0A), 0);
    // USB again, then the close: the power given back is the last word.
    s.radio.setMode(0x01, 1, 0);
    s.radio.sendTransceiveMode();
    s.run(1000);
    ASSERT_EQ(s.radio.level(0x0A), 0);
    g_mainwin->SendMessage(plat::WM_CLOSE);
    s.run(3000);
    EXPECT_GT(s.radio.level(0x0A), 0);
}
