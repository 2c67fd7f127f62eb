// The panel's view of the filter-width tables: the caption of an entry and
// the model's filters (the filter count and the width lookups are the
// engine's, in civ/filter_widths.h).
#pragma once
#include <string>

#include "civ/filter_widths.h"

// "2.4 kHz " or "500 Hz ": the entry's width as the filter-name caption.
std::string FilterCaption(int index, bool amTable);

// The model's lowest filter index (2 under the old-radio dialect 2).
int LowestFilter();
// `index` is one of the model's filters.
bool IsModelFilter(int index);
// The filter readout's text: the width name on models with a width table,
// else the filter as its button reads ("FIL2", or "2.4" under a dialect);
// empty for an index the model does not have.
std::string FilterReadout(int index, bool amTable);
// Start-up: the filter count of the model (by its capability tables), and
// the panel's filter buttons and readout follow it.
void SetModelFilterCount();

// A filter a mode chooses by default: the filter button of the mode's
// filter position (FM and WFM have none: 0).
int ModeDefaultFilter(char mode);
// VFO B's filter as it may be shown and sent: "VFO-B RX FILTER" when the
// model has it, else VFO A's filter `filterA`, else the default of VFO B's
// mode `modeB`, else the lowest filter.
int UsableFilterB(int filterA, char modeB);
