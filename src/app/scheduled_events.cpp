#include "app/scheduled_events.h"

#include <array>
#include <cctype>
#include <charconv>
#include <cstdio>

#include "base/trace_log.h"
#include "civ/band_table.h"
#include "civ/frequency_state.h"
#include "civ/radio_init.h"
#include "platform/clock.h"
#include "platform/files.h"
#include "platform/profile.h"

namespace {
constexpr std::array<const char*, 7> kDays = {"SUNDAY",   "MONDAY", "TUESDAY", "WEDNESDAY",
                                              "THURSDAY", "FRIDAY", "SATURDAY"};
constexpr int kEventsPerDay = 24;
constexpr std::size_t kValueSize = 128;
constexpr const char* kTemplate = "00:00 00.000";

int g_eventstamp = 0;        // minute of the week of the last look at the file
double g_eventpending = 0;   // an event that waits for the radio, MHz (0: none)

std::string EventsPath() {
    std::string dir = plat::GetCurrentDir();
    if (!dir.empty() && dir.back() != '/') dir += '/';
    return dir + "events.txt";
}

// A new file gets every key, so the operator sees where to write.
void WriteTemplate(const std::string& path) {
    plat::ProfileBeginBatch(path);
    for (int n = 1; n <= kEventsPerDay; ++n)
        for (const char* day : kDays) plat::ProfileWriteString(day, "EVENT " + std::to_string(n), kTemplate, path);
    if (!plat::ProfileEndBatch()) WriteTrace("events.txt could not be written");
}

// Tunes now, or once the radio has been initialised: a frequency sent
// before that would be lost.
void Tune(double mhz) {
    if (!g_radioinitialised) {
        g_eventpending = mhz;
        return;
    }
    g_eventpending = 0;
    TuneToFrequency(mhz, 0);
}

bool Digits(const std::string& s, std::size_t from, std::size_t count) {
    if (from + count > s.size()) return false;
    for (std::size_t i = from; i < from + count; ++i)
        if (!std::isdigit(static_cast<unsigned char>(s[i]))) return false;
    return true;
}
}  // namespace

bool ParseScheduledEvent(const std::string& text, ScheduledEvent* out) {
    std::size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
    const std::size_t colon = text.find(':', i);
    if (colon == std::string::npos || colon - i < 1 || colon - i > 2 || !Digits(text, i, colon - i)) return false;
    if (!Digits(text, colon + 1, 2)) return false;
    ScheduledEvent e;
    e.hour = std::stoi(text.substr(i, colon - i));
    e.minute = std::stoi(text.substr(colon + 1, 2));
    std::size_t f = colon + 3;
    if (f >= text.size() || !std::isspace(static_cast<unsigned char>(text[f]))) return false;
    while (f < text.size() && std::isspace(static_cast<unsigned char>(text[f]))) ++f;
    if (f >= text.size() || !(std::isdigit(static_cast<unsigned char>(text[f])) || text[f] == '.')) return false;
    // from_chars reads the point whatever the locale says.
    const char* end = text.data() + text.size();
    const auto [next, ec] = std::from_chars(text.data() + f, end, e.mhz);
    if (ec != std::errc()) return false;
    for (const char* c = next; c < end; ++c)
        if (!std::isspace(static_cast<unsigned char>(*c))) return false;
    if (e.hour > 23 || e.minute > 59) return false;
    *out = e;
    return true;
}

void CheckScheduledEvents() {
    if (g_eventpending != 0 && g_radioinitialised) Tune(g_eventpending);
    const plat::SystemTime now = plat::GetLocalTime();
    const int stamp = ((now.dayOfWeek + 1) * 24 + now.hour) * 60 + now.minute;
    if (stamp == g_eventstamp) return;
    g_eventstamp = stamp;
    const std::string path = EventsPath();
    // Only a missing file gets the template: rewriting an existing one would
    // erase the operator's events.
    if (!plat::FileExists(path)) {
        WriteTemplate(path);
        return;
    }
    const char* day = kDays[std::size_t(now.dayOfWeek % 7)];
    for (int n = 1; n <= kEventsPerDay; ++n) {
        const std::string text = plat::ProfileReadString(day, "EVENT " + std::to_string(n), "", path, kValueSize);
        if (text.empty()) continue;
        ScheduledEvent e;
        if (!ParseScheduledEvent(text, &e)) {
            // Told once a minute, in the trace only: a wrong line must not
            // stop the others.
            WriteTracef("events.txt %s EVENT %d not understood: %s", day, n, text.c_str());
            continue;
        }
        if (e.hour != now.hour || e.minute != now.minute) continue;
        WriteTracef("events.txt %s EVENT %d: %s", day, n, text.c_str());
        if (CheckCoverage(e.mhz) == 0) Tune(e.mhz);
        return;
    }
}
