#include "panel/filter_table.h"

namespace {
constexpr FilterEntry Khz(const char (&caption)[12], int hz) {
    FilterEntry e{};
    for (int i = 0; i < 12; ++i) e.caption[i] = caption[i];
    e.widthHz = hz;
    // 50..500 Hz in 50 Hz steps are codes 0..9, 600..3600 Hz in 100 Hz steps 10..40.
    e.code = hz <= 500 ? hz / 50 - 1 : (hz - 600) / 100 + 10;
    return e;
}
}  // namespace

const FilterEntry g_filtertable[kFilterEntries] = {
    FilterEntry{},
    Khz("3.6 kHz    ", 3600), Khz("3.5 kHz    ", 3500), Khz("3.4 kHz    ", 3400), Khz("3.3 kHz    ", 3300),
    Khz("3.2 kHz    ", 3200), Khz("3.1 kHz    ", 3100), Khz("3.0 kHz    ", 3000), Khz("2.9 kHz    ", 2900),
    Khz("2.8 kHz    ", 2800), Khz("2.7 kHz    ", 2700), Khz("2.6 kHz    ", 2600), Khz("2.5 kHz    ", 2500),
    Khz("2.4 kHz    ", 2400), Khz("2.3 kHz    ", 2300), Khz("2.2 kHz    ", 2200), Khz("2.1 kHz    ", 2100),
    Khz("2.0 kHz    ", 2000), Khz("1.9 kHz    ", 1900), Khz("1.8 kHz    ", 1800), Khz("1.7 kHz    ", 1700),
    Khz("1.6 kHz    ", 1600), Khz("1.5 kHz    ", 1500), Khz("1.4 kHz    ", 1400), Khz("1.3 kHz    ", 1300),
    Khz("1.2 kHz    ", 1200), Khz("1.1 kHz    ", 1100), Khz("1.0 kHz    ", 1000), Khz("900 Hz     ", 900),
    Khz("800 Hz     ", 800),  Khz("700 Hz     ", 700),  Khz("600 Hz     ", 600),  Khz("500 Hz     ", 500),
    Khz("450 Hz     ", 450),  Khz("400 Hz     ", 400),  Khz("350 Hz     ", 350),  Khz("300 Hz     ", 300),
    Khz("250 Hz     ", 250),  Khz("200 Hz     ", 200),  Khz("150 Hz     ", 150),  Khz("100 Hz     ", 100),
    Khz("50 Hz      ", 50),
};

int g_filtercount = 41;

const FilterEntry& FilterEntryFor(int index) {
    if (index < 0 || index >= kFilterEntries) return g_filtertable[0];
    return g_filtertable[index];
}

int FilterIndexForCode(int code) {
    const int count = g_filtercount < kFilterEntries ? g_filtercount : kFilterEntries - 1;
    for (int i = 1; i <= count; ++i)
        if (g_filtertable[i].code == code) return i;
    return 0;
}
