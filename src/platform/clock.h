// Time for the program: the millisecond tick count that every timer and
// time-out is measured in, and the wall clock. Tests switch to a manual
// clock; advancing it fires due window timers in order.
#pragma once
#include <cstdint>

namespace plat {

// Milliseconds since an arbitrary start, wrapping at 2^32 like the platform
// counter the program was written for.
std::uint32_t GetTickCount();

// Sleep on the calling thread. The program uses this only for the few short
// waits its design allows; under the manual clock it advances the clock.
void SleepMs(unsigned ms);

struct SystemTime {
    int year = 0, month = 0, dayOfWeek = 0, day = 0;
    int hour = 0, minute = 0, second = 0, milliseconds = 0;
};
SystemTime GetLocalTime();
SystemTime GetUtcTime();
// Sets the system clock to the local time `t` (the day of the week is
// ignored); false when the system refuses (setting the clock needs the
// privilege to do so). Under the manual clock it moves the wall clock.
bool SetLocalTime(const SystemTime& t);

namespace manual_clock {
// Switch the whole process to a manual clock starting at `start`. Timers then
// fire only from advance().
void Enable(std::uint32_t start = 100000);
bool Enabled();
// Move the clock forward, firing every timer that falls due, in due order,
// with the clock set to each timer's due time as it fires. Posted messages
// are delivered before each timer, as a real event loop would.
void Advance(std::uint32_t ms);
// Set the wall clock seen by GetLocalTime/GetUtcTime (seconds since the
// epoch, UTC); the local time zone of the process still applies.
void SetWallClock(long long epochSeconds);
}  // namespace manual_clock

}  // namespace plat
