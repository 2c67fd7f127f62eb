#include "civ/filter_widths.h"

namespace {
constexpr FilterWidthTable MakeSsbTable() {
    FilterWidthTable t{};
    int i = 1;
    for (int hz = 3600; hz >= 1000; hz -= 100) t[i++] = {hz, (hz - 600) / 100 + 10};
    for (int hz = 900; hz >= 500; hz -= 100) t[i++] = {hz, hz <= 500 ? hz / 50 - 1 : (hz - 600) / 100 + 10};
    for (int hz = 450; hz >= 50; hz -= 50) t[i++] = {hz, hz / 50 - 1};
    return t;
}

constexpr FilterWidthTable MakeAmTable() {
    FilterWidthTable t{};
    int i = 1;
    for (int hz = 10000; hz >= 2000; hz -= 200) t[i++] = {hz, hz / 200 - 1};
    return t;
}
}  // namespace

constexpr FilterWidthTable g_ssbfilterwidths = MakeSsbTable();
constexpr FilterWidthTable g_amfilterwidths = MakeAmTable();

static_assert(g_ssbfilterwidths[1].hz == 3600 && g_ssbfilterwidths[1].code == 40);
static_assert(g_ssbfilterwidths[27].hz == 1000 && g_ssbfilterwidths[32].hz == 500);
static_assert(g_ssbfilterwidths[41].hz == 50 && g_ssbfilterwidths[41].code == 0);
static_assert(g_amfilterwidths[41].hz == 2000 && g_amfilterwidths[1].code == 49);

const FilterWidth& FilterEntry(int index, bool amTable) {
    if (index < 1) index = 1;
    if (index > kFilterCount) index = kFilterCount;
    return amTable ? g_amfilterwidths[std::size_t(index)] : g_ssbfilterwidths[std::size_t(index)];
}

bool UsesAmTable(int mode) { return mode == '4' || mode == '5' || mode == ';' || mode == '<'; }

int g_filtercount = kFilterCount;

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
