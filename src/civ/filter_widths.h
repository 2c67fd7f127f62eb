// The two filter-width tables of the DSP models: entry index (1..41, the
// panel's filter index) to width in Hz and the radio's width code of 1A 03.
// The SSB/CW table runs 3.6 kHz down to 1.0 kHz in 100 Hz steps, 900 Hz down
// to 500 Hz, then 450 Hz down to 50 Hz in 50 Hz steps; the AM/FM table runs
// 10.0 kHz down to 2.0 kHz in 200 Hz steps. Entry 0 is empty.
#pragma once
#include <array>

struct FilterWidth {
    int hz = 0;
    int code = 0;
};

constexpr int kFilterEntries = 42;
constexpr int kFilterCount = 41;
using FilterWidthTable = std::array<FilterWidth, kFilterEntries>;

extern const FilterWidthTable g_ssbfilterwidths;
extern const FilterWidthTable g_amfilterwidths;

// The entry of `index` (clamped to 1..41).
const FilterWidth& FilterEntry(int index, bool amTable);
// True for the modes that use the AM/FM table on two-table models.
bool UsesAmTable(int mode);

extern int g_filtercount;  // filters of the model (41 with DSP filters)

// The entry's width in Hz; 0 for an index outside 1..41.
int FilterWidthHz(int index, bool amTable);
// The first index 1..g_filtercount whose width code is `code`, or 0 when none.
int FilterIndexForCode(int code, bool amTable = false);
