// Corrections applied to the settings once they are read: values outside
// their range fall back to their defaults, and some options force others.
// The corrected value is what the program uses and what the next save writes.
#pragma once

// `v` when lo <= v <= hi, else `fallback`.
int InRangeOr(int v, int lo, int hi, int fallback);
// A scale step must be 1, 2, 4, 8, 16 or 32; anything else gives 8.
int ScaleStepOr8(int v);
// Valid band-stack filter index for a radio type without DSP filters.
int CheckBandFilter(int filter, int hasfilterwidth, int oldradio);
// Clamps an index into lo..hi, tracing the key when it had to.
int ClampTraced(const char* key, int v, int lo, int hi);

// Runs every check; LoadSettings4 calls it after the last read.
void ApplyLoadChecks();
