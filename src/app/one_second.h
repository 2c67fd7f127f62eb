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

// The housekeeping's next period: just after the meter tick nearest to a
// second from now, when the meter tick (due in `meterDueIn` ms, -1 when not
// armed, every `meterCycle` ms) runs at least twice a second, so the two
// share one wake-up; else 1000 ms.
unsigned OneSecondDelay(long meterDueIn, unsigned meterCycle);

// Counters of the housekeeping (reset by tests).
extern int g_contactcount;
extern int g_pollcount;
extern int g_idminuteflag;
