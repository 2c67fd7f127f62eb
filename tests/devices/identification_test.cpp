// The automatic identification on the manual wall clock, and a close by
// signal while the transmitter is keyed against the simulated radio and
// keyer.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <ctime>

#include "app/app.h"
#include "app/commands.h"
#include "app/main_frame.h"
#include "app/started_app.h"
#include "base/device_options.h"
#include "base/panel_options.h"
#include "civ/civ_options.h"
#include "civ/frequency_options.h"
#include "civ/frequency_state.h"
#include "common/sim_steps.h"
#include "common/test_dir.h"
#include "devices/cw_keyboard.h"
#include "devices/keyer.h"
#include "devices/keyer_end.h"
#include "devices/keying.h"
#include "platform/clock.h"
#include "platform/event_loop.h"
#include "sim/sim_keyer.h"
#include "sim/sim_radio.h"

namespace {
int Count(const std::string& text, const std::string& what) {
    int n = 0;
    for (std::size_t p = text.find(what); p != std::string::npos; p = text.find(what, p + 1)) ++n;
    return n;
}

// 2026-12-09 00:09:58 UTC.
constexpr long long kBeforeMinuteTen = 1796774998;

void ArmIdentification() {
    setenv("TZ", "UTC", 1);
    tzset();
    plat::manual_clock::SetWallClock(kBeforeMinuteTen);
    g_idarmed = 1;
    g_cwid = 1;
    std::strcpy(g_callsign, "n0call");
    g_vfoafreq = 14.2;
    g_bfo = 700;
}
}  // namespace

TEST(Identification, RunsAtMinuteTenOnceAndEscRestoresModeAndFrequency) {
    TestDir dir;
    StartedApp s;
    ArmIdentification();
    g_vfoamode = '0';
    for (int i = 0; i < 30 && !g_doingcwid; ++i) plat::manual_clock::Advance(100);
    ASSERT_EQ(g_doingcwid, 1);
    EXPECT_EQ(CwRingText(), "de n0call ");
    EXPECT_NEAR(g_vfoafreq, 14.2007, 1e-9);  // shifted up from USB
    EXPECT_EQ(g_vfoamode, '0');              // the sideband is remembered
    EXPECT_TRUE(CwKeyboardOn());
    g_mainwin->SendMessage(plat::WM_CHAR, 27, 0);  // ESC cuts it short
    EXPECT_EQ(g_doingcwid, 0);
    EXPECT_NEAR(g_vfoafreq, 14.2, 1e-9);
    EXPECT_FALSE(CwKeyboardOn());
    EXPECT_EQ(g_keyedmeans, 0u);
    plat::manual_clock::Advance(3000);  // still minute 10: no second run
    EXPECT_EQ(Count(dir.read("comms.txt"), "autoid"), 1);
}

TEST(Identification, InCwOnlyTheReminderAppears) {
    TestDir dir;
    StartedApp s;
    ArmIdentification();
    g_vfoamode = '3';
    plat::manual_clock::Advance(3000);
    EXPECT_EQ(g_doingcwid, 0);
    EXPECT_EQ(g_idflash, 1);
    EXPECT_EQ(Count(dir.read("comms.txt"), "autoid"), 1);
}

TEST(Identification, SentWithoutKeyerGivesTheRadioItsModeBack) {
    TestDir dir;
    StartedApp s;
    ArmIdentification();
    g_vfoamode = '1';
    g_yaltkeyer = 0;
    for (int i = 0; i < 30 && !g_doingcwid; ++i) plat::manual_clock::Advance(100);
    ASSERT_EQ(g_doingcwid, 1);
    EXPECT_NEAR(g_vfoafreq, 14.1993, 1e-9);  // down from LSB
    // The text goes out element by element; at its end the mode comes back.
    for (int i = 0; i < 200 && g_doingcwid; ++i) plat::manual_clock::Advance(100);
    EXPECT_EQ(g_doingcwid, 0);
    EXPECT_NEAR(g_vfoafreq, 14.2, 1e-9);
    EXPECT_EQ(g_keyerstate, 0);
}

TEST(CloseWhileKeyed, ASignalEndsWithTheRadioAndTheKeyerReleased) {
    TestDir dir;
    sim::SimRadio radio(0x94, 19200);
    sim::SimKeyer keyer(23);
    ASSERT_TRUE(radio.link(dir.file("ports/com1")));
    ASSERT_TRUE(keyer.link(dir.file("ports/com2")));
    radio.start();
    dir.write("qarv.ini",
              "[INTERFACE]\nCOMPORT=COM1\nBAUD=19200\nYALT COMPORT=COM2\n"
              "[OPERATING STATUS]\nQARV=23\nYALT KEYER=1\nMUTE ALWAYS=1\n");
    CApp app;
    ASSERT_TRUE(app.InitInstance());
    KeyerEnd keyerEnd(keyer);
    auto step = [&](int ms) {
        simsteps::Run(ms, {&radio});
        keyerEnd.settle();
    };
    // The keyer's port opens and its start-up exchange runs on the one-second tick.
    for (int i = 0; i < 400 && g_keyertype != 2; ++i) step(50);
    ASSERT_EQ(g_keyertype, 2);
    g_vfoamode = '0';
    g_mainwin->OnCommand(ID_PTT_TOGGLE, 0, 0);  // Alt+Q: the radio keys by CI-V
    for (int i = 0; i < 40 && radio.transmitting() != 1; ++i) step(50);
    ASSERT_EQ(radio.transmitting(), 1);
    g_vfoamode = '3';
    keyon();  // and in CW the keyer keys too
    for (int i = 0; i < 10 && !keyer.keyDown(); ++i) step(20);
    ASSERT_TRUE(keyer.keyDown());

    g_mainwin->SendMessage(plat::WM_CLOSE, plat::kCloseBySignal);
    for (int i = 0; i < 100 && !g_mainwin->Closed(); ++i) step(20);
    EXPECT_TRUE(g_mainwin->Closed());
    radio.settle(5000);  // the port is closed: what it wrote last is all taken in
    EXPECT_EQ(radio.transmitting(), 0);
    keyerEnd.take();
    EXPECT_FALSE(keyer.keyDown());
    EXPECT_TRUE(keyer.got({0x00, 0x03}));  // host close after the release
    app.ExitInstance();
    radio.stop();
}
