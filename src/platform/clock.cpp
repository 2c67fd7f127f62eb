#include "platform/clock.h"

#include <algorithm>
#include <chrono>
#include <ctime>
#include <thread>

#include "platform/event_loop.h"
#include "platform/loop_internal.h"

namespace plat {
namespace {
bool g_manual = false;
std::uint64_t g_manualNow = 0;
bool g_wallSet = false;
long long g_wallBase = 0;          // epoch seconds at g_wallBaseTick
std::uint64_t g_wallBaseTick = 0;

std::uint64_t RealNow() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return std::uint64_t(ts.tv_sec) * 1000u + std::uint64_t(ts.tv_nsec) / 1000000u;
}

SystemTime FromTm(const std::tm& t, int ms) {
    SystemTime s;
    s.year = t.tm_year + 1900;
    s.month = t.tm_mon + 1;
    s.dayOfWeek = t.tm_wday;
    s.day = t.tm_mday;
    s.hour = t.tm_hour;
    s.minute = t.tm_min;
    s.second = t.tm_sec;
    s.milliseconds = ms;
    return s;
}

void WallNow(std::time_t& secs, int& ms) {
    if (g_manual && g_wallSet) {
        std::uint64_t elapsed = g_manualNow - g_wallBaseTick;
        secs = std::time_t(g_wallBase + static_cast<long long>(elapsed / 1000));
        ms = int(elapsed % 1000);
        return;
    }
    timespec ts{};
    clock_gettime(CLOCK_REALTIME, &ts);
    secs = ts.tv_sec;
    ms = int(ts.tv_nsec / 1000000);
}
}  // namespace

namespace detail {
std::uint64_t NowMs() { return g_manual ? g_manualNow : RealNow(); }
bool ManualMode() { return g_manual; }
void SetManualNow(std::uint64_t ms) { g_manualNow = ms; }
}  // namespace detail

std::uint32_t GetTickCount() { return static_cast<std::uint32_t>(detail::NowMs()); }

void SleepMs(unsigned ms) {
    if (g_manual) {
        g_manualNow += ms;  // waits inside one handler do not fire timers
        return;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

SystemTime GetLocalTime() {
    std::time_t secs;
    int ms;
    WallNow(secs, ms);
    std::tm t{};
    localtime_r(&secs, &t);
    return FromTm(t, ms);
}

SystemTime GetUtcTime() {
    std::time_t secs;
    int ms;
    WallNow(secs, ms);
    std::tm t{};
    gmtime_r(&secs, &t);
    return FromTm(t, ms);
}

bool SetLocalTime(const SystemTime& t) {
    std::tm tm{};
    tm.tm_year = t.year - 1900;
    tm.tm_mon = t.month - 1;
    tm.tm_mday = t.day;
    tm.tm_hour = t.hour;
    tm.tm_min = t.minute;
    tm.tm_sec = t.second;
    tm.tm_isdst = -1;
    const std::time_t secs = std::mktime(&tm);
    if (secs == std::time_t(-1)) return false;
    if (g_manual) {
        g_wallSet = true;
        g_wallBase = secs;
        g_wallBaseTick = g_manualNow - std::uint64_t(t.milliseconds);
        return true;
    }
    timespec ts{};
    ts.tv_sec = secs;
    ts.tv_nsec = long(t.milliseconds) * 1000000L;
    return clock_settime(CLOCK_REALTIME, &ts) == 0;
}

namespace manual_clock {
void Enable(std::uint32_t start) {
    g_manual = true;
    g_manualNow = start;
}
bool Enabled() { return g_manual; }
void Advance(std::uint32_t ms) {
    const std::uint64_t target = g_manualNow + ms;
    detail::PollSockets();
    DeliverPosted();
    detail::FireDueTimers(target);
    // A handler may have moved the clock further inside a box's loop; time
    // never runs back.
    g_manualNow = std::max(g_manualNow, target);
    detail::PollSockets();
    DeliverPosted();
}
void SetWallClock(long long epochSeconds) {
    g_wallSet = true;
    g_wallBase = epochSeconds;
    g_wallBaseTick = g_manualNow;
}
}  // namespace manual_clock

}  // namespace plat
