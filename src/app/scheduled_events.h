// Scheduled frequency changes from "events.txt": for each weekday up to 24
// entries "EVENT n" = "HH:MM frequency" (local time, MHz). At the listed
// minute VFO A is tuned to the frequency, as if it came from outside.
#pragma once
#include <string>

// One-second tick: consults the file once per minute.
void CheckScheduledEvents();

struct ScheduledEvent {
    int hour = 0;
    int minute = 0;
    double mhz = 0;
};
// "H:MM" or "HH:MM", blanks, a frequency in MHz, nothing after it. False
// for anything else (and for an hour or minute out of range).
bool ParseScheduledEvent(const std::string& text, ScheduledEvent* out);
