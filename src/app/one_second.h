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

// Counters of the housekeeping (reset by tests).
extern int g_contactcount;
extern int g_pollcount;
extern int g_idminuteflag;
