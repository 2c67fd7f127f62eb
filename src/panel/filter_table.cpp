#include "panel/filter_table.h"

#include <cstdio>

#include "civ/civ_options.h"
#include "civ/filter_widths.h"
#include "civ/radio_models.h"
#include "panel/controls/filter_controls.h"
#include "panel/swl_panel.h"

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

namespace {
bool HasWidthTable() { return ModelCap(g_hasfilterwidth) != 0 || g_perseus != 0; }
}  // namespace

int LowestFilter() { return g_oldradio == 2 ? 2 : 1; }

bool IsModelFilter(int index) {
    return index >= LowestFilter() && index <= g_filtercount && index <= kFilterCount;
}

std::string FilterReadout(int index, bool amTable) {
    if (HasWidthTable()) return FilterCaption(index, amTable);
    if (!IsModelFilter(index)) return "";
    char buf[16];
    const char* caption = FilterButtonCaption(index, false, g_oldradio, false, buf);
    return caption ? caption : "";
}

int UsableFilterB(int filterA, char modeB) {
    // VFO B's filter tools run over 1..g_filtercount, whatever the dialect.
    if (g_vfobrxfilter >= 1 && g_vfobrxfilter <= g_filtercount && g_vfobrxfilter <= kFilterCount) return g_vfobrxfilter;
    if (IsModelFilter(filterA)) return filterA;
    const int byMode = ModeDefaultFilter(modeB);
    return IsModelFilter(byMode) ? byMode : LowestFilter();
}

void SetModelFilterCount() {
    g_filtercount = ModelFilterCount(g_radiotype, g_oldradio);
    if (g_swlpanel) g_swlpanel->RefreshFilters();
}
