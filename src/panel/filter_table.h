// The filter table of the DSP models: index 1..41 from 3.6 kHz down to
// 50 Hz, each with its caption, its width in Hz and the radio's width code
// (the value of 1A 03). Index 0 is empty.
#pragma once

constexpr int kFilterEntries = 42;

struct FilterEntry {
    char caption[12];
    int widthHz;
    int code;  // 1A 03 width code
};

extern const FilterEntry g_filtertable[kFilterEntries];
extern int g_filtercount;  // filters of the model (41)

// The entry of an index; index 0 (the empty entry) for one outside the table.
const FilterEntry& FilterEntryFor(int index);
// The first index 1..g_filtercount whose code is `code`, or 0 when none.
int FilterIndexForCode(int code);
