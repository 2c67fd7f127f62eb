// Scheduled events against the manual wall clock: the file is looked at
// once a minute, an event tunes VFO A at its minute, and nothing of the
// operator's file is lost.
#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

#include "app/scheduled_events.h"
#include "base/trace_log.h"
#include "civ/civ_options.h"
#include "civ/radio_init.h"
#include "common/test_dir.h"
#include "platform/clock.h"

namespace {
// Monday 2026-12-07 at hh:mm:ss, UTC (the tests run with TZ=UTC).
long long Monday(int hh, int mm, int ss = 0) {
    std::tm t{};
    t.tm_year = 2026 - 1900;
    t.tm_mon = 11;
    t.tm_mday = 7;
    t.tm_hour = hh;
    t.tm_min = mm;
    t.tm_sec = ss;
    return static_cast<long long>(timegm(&t));
}

struct Events {
    TestDir dir;
    Events() {
        setenv("TZ", "UTC", 1);
        tzset();
        g_radioinitialised = 1;
        g_vfoafreq = 14.074;
    }
    // One second of the one-second tick at `when`.
    void At(long long when) {
        plat::manual_clock::SetWallClock(when);
        CheckScheduledEvents();
    }
    int traced(const std::string& text) {
        const std::string log = dir.read("comms.txt");
        int n = 0;
        for (std::size_t p = log.find(text); p != std::string::npos; p = log.find(text, p + 1)) ++n;
        return n;
    }
};
}  // namespace

TEST(ScheduledEvents, TheEventTunesAtItsMinuteOnce) {
    Events e;
    e.dir.write("events.txt", "[MONDAY]\nEVENT 1=06:00 7.000\nEVENT 3=07:30 9.580\n");
    e.At(Monday(7, 29, 59));
    EXPECT_DOUBLE_EQ(g_vfoafreq, 14.074);
    e.At(Monday(7, 30, 0));
    EXPECT_DOUBLE_EQ(g_vfoafreq, 9.58);
    // The operator tunes away within the minute: the event does not return.
    g_vfoafreq = 14.074;
    e.At(Monday(7, 30, 1));
    e.At(Monday(7, 30, 59));
    EXPECT_DOUBLE_EQ(g_vfoafreq, 14.074);
    // Another day of the week has its own section.
    e.At(Monday(7, 30) + 86400);
    EXPECT_DOUBLE_EQ(g_vfoafreq, 14.074);
}

TEST(ScheduledEvents, SingleDigitHoursAndTheFirstOfTwoAtOneTime) {
    Events e;
    e.dir.write("events.txt", "[MONDAY]\nEVENT 2=7:30 9.580\nEVENT 5=08:15 0.000\nEVENT 6=08:15 6.000\n");
    e.At(Monday(7, 30));
    EXPECT_DOUBLE_EQ(g_vfoafreq, 9.58);
    // The lower number wins even when the radio cannot tune its frequency.
    e.At(Monday(8, 15));
    EXPECT_DOUBLE_EQ(g_vfoafreq, 9.58);
}

TEST(ScheduledEvents, AMissingFileGetsTheTemplateAndAnExistingOneIsKept) {
    Events e;
    e.At(Monday(0, 0));
    const std::string made = e.dir.read("events.txt");
    std::size_t keys = 0;
    for (std::size_t p = made.find("=00:00 00.000"); p != std::string::npos; p = made.find("=00:00 00.000", p + 1))
        ++keys;
    EXPECT_EQ(keys, 168u);
    EXPECT_NE(made.find("[SATURDAY]"), std::string::npos);
    EXPECT_DOUBLE_EQ(g_vfoafreq, 14.074);  // template entries tune nowhere

    // A file without [SUNDAY] "EVENT 1" is the operator's: not rewritten.
    const std::string own = "[MONDAY]\nEVENT 4=09:00 5.000\n; my notes\n";
    e.dir.write("events.txt", own);
    e.At(Monday(8, 59));
    EXPECT_EQ(e.dir.read("events.txt"), own);
    e.At(Monday(9, 0));
    EXPECT_DOUBLE_EQ(g_vfoafreq, 5.0);
}

TEST(ScheduledEvents, AnEventWaitsForTheRadio) {
    Events e;
    g_radioinitialised = 0;
    e.dir.write("events.txt", "[MONDAY]\nEVENT 1=07:30 9.580\n");
    e.At(Monday(7, 30));
    EXPECT_DOUBLE_EQ(g_vfoafreq, 14.074);
    e.At(Monday(7, 31));
    EXPECT_DOUBLE_EQ(g_vfoafreq, 14.074);
    g_radioinitialised = 1;
    e.At(Monday(7, 31, 5));
    EXPECT_DOUBLE_EQ(g_vfoafreq, 9.58);
}

TEST(ScheduledEvents, LinesThatDoNotParseAreRefusedWithATrace) {
    Events e;
    e.dir.write("events.txt", "[MONDAY]\nEVENT 1=0730 9.580\nEVENT 2=07:30\nEVENT 3=07:30 abc\nEVENT 4=25:00 1.0\n");
    OpenTraceFile();
    e.At(Monday(7, 30));
    EXPECT_DOUBLE_EQ(g_vfoafreq, 14.074);
    EXPECT_EQ(e.traced("not understood"), 4);
}

TEST(ScheduledEvents, TheTimeAndFrequencyParser) {
    ScheduledEvent ev;
    ASSERT_TRUE(ParseScheduledEvent("07:30 9.580", &ev));
    EXPECT_EQ(ev.hour, 7);
    EXPECT_EQ(ev.minute, 30);
    EXPECT_DOUBLE_EQ(ev.mhz, 9.58);
    ASSERT_TRUE(ParseScheduledEvent("7:05   14.074  ", &ev));
    EXPECT_EQ(ev.hour, 7);
    EXPECT_EQ(ev.minute, 5);
    EXPECT_DOUBLE_EQ(ev.mhz, 14.074);
    ASSERT_TRUE(ParseScheduledEvent("23:59 .5", &ev));
    EXPECT_DOUBLE_EQ(ev.mhz, 0.5);
    for (const char* bad : {"", "7:5 9.5", "123:00 9.5", "07:60 9.5", "24:00 9.5", "07-30 9.5", "07:30", "07:30 ",
                            "07:309.5", "07:30 9.5 MHz", "07:30 -9.5", "x7:30 9.5"})
        EXPECT_FALSE(ParseScheduledEvent(bad, &ev)) << bad;
}
