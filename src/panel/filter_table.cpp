#include "panel/filter_table.h"

#include <cstdio>

#include "civ/filter_widths.h"

int g_filtercount = kFilterCount;

std::string FilterCaption(int index, bool amTable) {
    const int hz = FilterWidthHz(index, amTable);
    if (hz == 0) return "";
    char text[24];
    if (hz >= 1000)
        std::snprintf(text, sizeof text, "%.1f kHz ", hz / 1000.0);
    else
        std::snprintf(text, sizeof text, "%d Hz ", hz);
    return text;
}

int FilterWidthHz(int index, bool amTable) {
    if (index < 1 || index > kFilterCount) return 0;
    return FilterEntry(index, amTable).hz;
}

int FilterIndexForCode(int code, bool amTable) {
    const int count = g_filtercount < kFilterCount ? g_filtercount : kFilterCount;
    for (int i = 1; i <= count; ++i)
        if (FilterEntry(i, amTable).code == code) return i;
    return 0;
}
