#include "settings/band_sets.h"

#include <cstdio>

#include "base/panel_options.h"
#include "civ/band_table.h"
#include "settings/panel_captions.h"
#include "settings/trans_ops.h"

namespace settings {
namespace {
// The FT8 set: each band's FT8 dial frequency as the low edge, so a band
// button lands on it, and the 3 kHz the signals occupy above it.
constexpr BandSet kFt8Set = {{{"160", 1.840, 1.843},
                              {"80", 3.573, 3.576},
                              {"60", 5.357, 5.360},
                              {"40", 7.074, 7.077},
                              {"30", 10.136, 10.139},
                              {"20", 14.074, 14.077},
                              {"17", 18.100, 18.103},
                              {"15", 21.074, 21.077},
                              {"12", 24.915, 24.918},
                              {"10", 28.074, 28.077}},
                             "FT8"};

// The SWL set is the band table's own broadcast bands.
BandSet SwlSet() {
    static const char* const kCaptions[kBandSetRows] = {"60", "49", "41", "31", "25", "22", "19", "16", "13", "11"};
    BandSet s{};
    for (int i = 0; i < kBandSetRows; ++i) {
        const BandStackEntry& e = kDefaultBandStack[kFirstSetBandRow + i];
        s.rows[i] = {kCaptions[i], e.low, e.high};
    }
    s.name = "SWL";
    return s;
}
}  // namespace

const BandSet& StoredBandSet(int set) {
    static const BandSet swl = SwlSet();
    return set == 1 ? kFt8Set : swl;
}

void UseBandSetEdges(int set) {
    const BandSet& s = StoredBandSet(set);
    for (int i = 0; i < kBandSetRows; ++i) {
        g_bandstack[kFirstSetBandRow + i].low = s.rows[i].low;
        g_bandstack[kFirstSetBandRow + i].high = s.rows[i].high;
    }
}

void RefillSwlBands(int set) {
    const BandSet& s = StoredBandSet(set);
    for (int i = 0; i < kBandSetRows; ++i)
        std::snprintf(g_caption[i], sizeof g_caption[i], "%s", s.rows[i].caption);
    std::snprintf(g_caption[11], sizeof g_caption[11], "%s", s.name);
    UseBandSetEdges(set);
    // The page shows the working tables again; the eleventh row ("M W")
    // belongs to no set and is left as it is.
    FillPageRows(12);
    CaptionBandButtons();
}

}  // namespace settings
