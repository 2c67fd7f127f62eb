// Per-radio-type capability bytes for the settings store: the tables
// themselves live with the radio models.
#pragma once
#include "civ/radio_models.h"

// The capability byte of `table` for `type`; 0 for a type outside the list.
inline int ModelHas(const ModelTable& table, int type) { return ModelCap(table, type); }
