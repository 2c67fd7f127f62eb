// The one-second housekeeping's pure parts: the clock labels of the radio
// panel and the window title.
#pragma once
#include <ctime>
#include <string>

// "LOC %H:%M:%S" (24 hours) or "LOC %I:%M:%S" with a leading hour '0' blanked.
std::string LocalClockText(const std::tm& t, bool hours24);
// "UTC %H:%M:%S".
std::string UtcClockText(const std::tm& t);
// Calendar fields moved by `hours` and `minutes` (minutes wrap at 60 with a
// carry or borrow into the hour, hours wrap at 24; the date is kept).
std::tm CorrectedFields(std::tm t, int hours, int minutes);
// The fields taken as local time and shown as UTC.
std::tm LocalFieldsAsUtc(std::tm t);

// The housekeeping's next period while the meter tick (due in `meterDueIn`
// ms, -1 when not armed, every `meterCycle` ms) runs at least twice a
// second: a cycle after the tick nearest to a second from now. That tick runs
// the housekeeping (OneSecondRidesTick); its own timer only stands in for a
// tick that does not come. Else 1000 ms.
unsigned OneSecondDelay(long meterDueIn, unsigned meterCycle);
// Whether the meter tick running now is the one nearest the housekeeping's
// second: its timer is due in `oneSecondDueIn` ms (-1 when not armed) with
// period `oneSecondPeriod`, a cycle after that second when OneSecondDelay set
// it. Then the housekeeping runs in the tick's wake-up, however late the
// ticks have come.
bool OneSecondRidesTick(long oneSecondDueIn, unsigned oneSecondPeriod, unsigned meterCycle);

// Counters of the housekeeping (reset by tests).
extern int g_contactcount;
extern int g_pollcount;
extern int g_idminuteflag;
