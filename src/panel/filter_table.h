// The panel's view of the filter-width tables: the filter count, the
// caption of an entry and the entry that carries a radio width code.
#pragma once
#include <string>

extern int g_filtercount;  // filters of the model (41)

// "2.4 kHz " or "500 Hz ": the entry's width as the filter-name caption.
std::string FilterCaption(int index, bool amTable);
// The entry's width in Hz; 0 for an index outside 1..41.
int FilterWidthHz(int index, bool amTable);
// The first index 1..g_filtercount whose width code is `code`, or 0 when none.
int FilterIndexForCode(int code, bool amTable = false);
