// The one-second housekeeping and the meter tick: while the tick runs at
// least twice a second the housekeeping runs in the wake-up of the tick
// nearest its second, also when the ticks come late, and on its own timer
// once the ticks stop.
#include <gtest/gtest.h>

#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "app/main_frame.h"
#include "app/one_second.h"
#include "app/started_app.h"
#include "civ/civ_options.h"
#include "civ/civ_timers.h"
#include "common/test_dir.h"
#include "platform/clock.h"
#include "platform/event_loop.h"

namespace {
// Trace stamps of the lines "OnTimer called <id>".
std::vector<std::string> TimerStamps(const std::string& trace, unsigned id) {
    std::vector<std::string> stamps;
    std::istringstream in(trace);
    const std::string what = "OnTimer called " + std::to_string(id) + "\r";
    for (std::string line; std::getline(in, line);) {
        const auto space = line.find(' ');
        if (space != std::string::npos && line.substr(space + 1) == what) stamps.push_back(line.substr(0, space));
    }
    return stamps;
}
}  // namespace

TEST(OneSecond, TheTickNearestItsSecondCarriesIt) {
    // Set by OneSecondDelay: due a cycle after its second.
    EXPECT_TRUE(OneSecondRidesTick(200, 1200, 200));   // the forecast tick
    EXPECT_TRUE(OneSecondRidesTick(60, 1200, 200));    // that tick, 140 ms late
    EXPECT_TRUE(OneSecondRidesTick(300, 1200, 200));   // the tick before, 100 ms late
    EXPECT_FALSE(OneSecondRidesTick(301, 1200, 200));
    EXPECT_FALSE(OneSecondRidesTick(400, 1200, 200));  // the tick before, on time
    // A plain second: the tick within half a cycle of it.
    EXPECT_TRUE(OneSecondRidesTick(100, 1000, 200));
    EXPECT_FALSE(OneSecondRidesTick(101, 1000, 200));
    // Not armed, or no tick twice a second.
    EXPECT_FALSE(OneSecondRidesTick(-1, 1200, 200));
    EXPECT_FALSE(OneSecondRidesTick(0, 1000, 600));
    EXPECT_FALSE(OneSecondRidesTick(0, 1000, 0));
}

TEST(OneSecond, RunsInTheMeterTicksWakeUpWhenTheTicksComeLateAndAloneWhenTheyStop) {
    TestDir dir;
    StartedApp s;
    g_metercycle = 200;
    g_mainwin->SetTimer(TIMER_METER_CYCLE, 200);
    // Every tick comes 15 ms late and is re-armed from then, as on a busy
    // machine: the ticks drift 75 ms a second behind any forecast.
    for (int i = 0; i < 60; ++i) {
        const long due = plat::TimerDueIn(g_mainwin, TIMER_METER_CYCLE);
        ASSERT_GE(due, 0);
        g_mainwin->SetTimer(TIMER_METER_CYCLE, unsigned(due + 15));
        plat::manual_clock::Advance(unsigned(due + 15));
    }
    const std::string trace = dir.read("comms.txt");
    const std::vector<std::string> ticks = TimerStamps(trace, TIMER_METER_CYCLE);
    std::vector<std::string> seconds = TimerStamps(trace, TIMER_ONE_SECOND);
    // The first, a plain second armed at start-up, may run on its own.
    ASSERT_FALSE(seconds.empty());
    seconds.erase(seconds.begin());
    const std::set<std::string> tickTimes(ticks.begin(), ticks.end());
    EXPECT_EQ(ticks.size(), 60u);
    // 60 ticks of 215 ms: about a run a second, none of them on its own.
    EXPECT_GE(seconds.size(), 10u);
    EXPECT_LE(seconds.size(), 12u);
    for (const std::string& at : seconds) EXPECT_EQ(tickTimes.count(at), 1u) << "alone at " << at;

    // The ticks stop: its own timer runs it, a cycle after its second.
    g_mainwin->KillTimer(TIMER_METER_CYCLE);
    const std::size_t before = seconds.size() + 1;
    plat::manual_clock::Advance(1300);
    EXPECT_EQ(TimerStamps(dir.read("comms.txt"), TIMER_ONE_SECOND).size(), before + 1);
    // And then every second.
    plat::manual_clock::Advance(2000);
    EXPECT_EQ(TimerStamps(dir.read("comms.txt"), TIMER_ONE_SECOND).size(), before + 3);
}
