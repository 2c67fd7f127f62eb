// The two band sets of the SWL Band Assign page. The page's "FT8 Values"
// and "SWL Values" buttons put one of them into the working tables: the
// captions of the radio panel's first ten broadcast band buttons and the
// edges of the band rows behind them. Editing the page changes the working
// tables only; the two sets themselves never change.
#pragma once

namespace settings {

constexpr int kBandSetRows = 10;
constexpr int kFirstSetBandRow = 20;  // band-stack row of the set's first entry

struct BandSetRow {
    const char* caption;  // at most 9 characters (a caption buffer holds 10)
    double low, high;     // MHz
};
struct BandSet {
    BandSetRow rows[kBandSetRows];
    const char* name;  // the band-set (column) name
};

// 1: the FT8 set, otherwise the SWL set.
const BandSet& StoredBandSet(int set);

// Puts a set's edges into the working band table (rows 20..29).
void UseBandSetEdges(int set);
// The whole refill: captions, edges and the column name into the working
// tables, the page's edits and the radio panel's buttons.
void RefillSwlBands(int set);

}  // namespace settings
