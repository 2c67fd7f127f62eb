// Timer cases of the main frame: the CW element timing, the keyer upkeep,
// the tuning tick and the traces of single cases.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "app/cw_sender.h"
#include "app/main_frame.h"
#include "app/one_second.h"
#include "app/started_app.h"
#include "base/panel_options.h"
#include "civ/band_table.h"
#include "civ/civ_options.h"
#include "civ/civ_timers.h"
#include "civ/frequency_state.h"
#include "common/test_dir.h"
#include "devices/cw_keyboard.h"
#include "devices/keyer.h"
#include "devices/remote_link.h"
#include "platform/clock.h"

namespace {
bool Always() { return true; }

int Count(const std::string& text, const std::string& what) {
    int n = 0;
    for (std::size_t p = text.find(what); p != std::string::npos; p = text.find(what, p + what.size())) ++n;
    return n;
}
}  // namespace

TEST(CwElementSender, KeepsTheGapBetweenTheElementsOfACharacter) {
    std::vector<std::uint8_t> ring(kCwRingSize, 0);
    g_cwring = ring.data();
    ring[0] = 'i';
    ring[1] = ' ';
    g_cwget = 0;
    g_cwput = 2;
    g_cwelement = 0;
    g_keyerstate = 1;
    g_cwsendenabled = 1;
    g_yaltkeyer = 0;
    g_client = 0;
    g_spc = g_dit = 60;
    g_dah = 180;
    const std::uint32_t t0 = plat::GetTickCount();
    RunCwElementSender(Always);
    // gap, dit, gap, dit, gap: one character inside one expiry; the
    // character space after it is a timer expiry of its own.
    EXPECT_EQ(plat::GetTickCount() - t0, 300u);
    EXPECT_EQ(g_cwget, 1);
    EXPECT_EQ(g_cwelement, 0);
    EXPECT_EQ(g_keyerstate, 2);
}

TEST(TimerLoop, BackToVfoATracesOnce) {
    TestDir dir;
    StartedApp s;
    g_mainwin->SetTimer(TIMER_SELECT_VFO, 250);
    plat::manual_clock::Advance(250);
    EXPECT_FALSE(g_mainwin->HasTimer(TIMER_SELECT_VFO));
    EXPECT_EQ(Count(dir.read("comms.txt"), "scr 8\r\n"), 1);
}

TEST(OneSecond, KeyerUpkeepRunsOnTheSettingWhileItsPortIsClosed) {
    TestDir dir;
    StartedApp s;
    g_yaltkeyer = 1;
    g_keyertype = 0;
    plat::manual_clock::Advance(1000);
    EXPECT_EQ(g_keyertype, 1);  // host-open sent, waiting for its answer
    EXPECT_EQ(g_yaltcount, 0);
    // The port closed for the reopen (or never opened) does not stop the count.
    plat::manual_clock::Advance(6000);
    EXPECT_GE(g_yaltcount, 6);
    // Reopened: the next seconds send the host-open again and wait anew.
    EXPECT_EQ(g_keyertype, -3);
    plat::manual_clock::Advance(1000);
    EXPECT_EQ(g_keyertype, 0);
    plat::manual_clock::Advance(1000);
    EXPECT_EQ(g_keyertype, 1);
    EXPECT_EQ(g_yaltcount, 0);
}

TEST(TimerLoop, TuningTickRunsThePendingAction) {
    TestDir dir;
    StartedApp s;
    // 2: the sweep ends; nothing is sent and the band stack stays.
    g_bandrow = kGenBandRow;
    g_vfoafreq = 14.1;
    g_newtuningpending = 2;
    g_mainwin->SetTimer(TIMER_NEW_TUNING, 50);
    plat::manual_clock::Advance(50);
    EXPECT_EQ(g_newtuningpending, 0);
    EXPECT_EQ(g_bandrow, kGenBandRow);
    // 0: nothing pending, nothing to do.
    g_mainwin->SetTimer(TIMER_NEW_TUNING, 50);
    plat::manual_clock::Advance(50);
    EXPECT_EQ(g_bandrow, kGenBandRow);
    // 1: the frequencies go out and the band stack follows VFO A.
    g_newtuningpending = 1;
    g_mainwin->SetTimer(TIMER_NEW_TUNING, 50);
    plat::manual_clock::Advance(50);
    EXPECT_EQ(g_newtuningpending, 0);
    EXPECT_NE(g_bandrow, kGenBandRow);
    EXPECT_FALSE(g_mainwin->HasTimer(TIMER_NEW_TUNING));
}

TEST(OneSecond, FallsDueACycleBehindTheMeterTickNearestASecond) {
    // Meter tick due in 150 ms, every 200: the tick nearest a second from
    // now is at 950, which runs the housekeeping; its own timer waits a cycle
    // longer for a tick that comes late.
    EXPECT_EQ(OneSecondDelay(150, 200), 1150u);
    EXPECT_EQ(OneSecondDelay(0, 200), 1200u);
    EXPECT_EQ(OneSecondDelay(100, 200), 1300u);
    EXPECT_EQ(OneSecondDelay(30, 100), 1130u);
    // No meter tick, or one slower than twice a second: a plain second.
    EXPECT_EQ(OneSecondDelay(-1, 200), 1000u);
    EXPECT_EQ(OneSecondDelay(100, 600), 1000u);
    EXPECT_EQ(OneSecondDelay(100, 0), 1000u);
}
