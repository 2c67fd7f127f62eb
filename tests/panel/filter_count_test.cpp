// The filters a model has: how many, which buttons stand for them, and what
// the readout says, for radios with DSP widths, with the three fixed filters
// of the mode command, and under the generic type's old-radio dialects.
#include <gtest/gtest.h>

#include "base/panel_options.h"
#include "civ/radio_models.h"
#include "panel/filter_table.h"
#include "panel/swl_panel.h"

TEST(FilterCount, FollowsTheModel) {
    EXPECT_EQ(ModelFilterCount(23, 0), 41);  // IC-7300: the width table
    EXPECT_EQ(ModelFilterCount(5, 0), 41);
    EXPECT_EQ(ModelFilterCount(0, 0), 3);    // IC-756PRO: FIL1..FIL3
    EXPECT_EQ(ModelFilterCount(2, 0), 3);    // IC-746
    EXPECT_EQ(ModelFilterCount(7, 0), 3);    // IC-718
    EXPECT_EQ(ModelFilterCount(8, 0), 2);    // IC-781: its filter byte is 1 or 2
    EXPECT_EQ(ModelFilterCount(10, 1), 5);   // generic type, old-radio dialects
    EXPECT_EQ(ModelFilterCount(10, 2), 9);
    for (int type = 0; type < kRadioTypes; ++type) EXPECT_GE(ModelFilterCount(type, 0), 2) << type;
}

TEST(FilterCount, ButtonsAndReadoutOfTheFixedFilters) {
    g_radiotype = 0;
    g_oldradio = 0;
    SetModelFilterCount();
    EXPECT_EQ(g_filtercount, 3);
    EXPECT_EQ(CSwlPanel::FilterButtonIndex(1, '0'), 1);
    EXPECT_EQ(CSwlPanel::FilterButtonIndex(3, '4'), 3);
    EXPECT_EQ(CSwlPanel::FilterButtonIndex(4, '0'), 0);  // no fourth filter
    EXPECT_EQ(FilterReadout(2, false), "FIL2");
    EXPECT_EQ(FilterReadout(7, false), "");
    // The SSB default position (button 6) comes to the last filter.
    EXPECT_EQ(CSwlPanel::NearestFilterButton(6, '0'), 3);

    // Dialect 2 of the generic type: filters 2..9, captioned by width.
    g_radiotype = 10;
    g_oldradio = 2;
    SetModelFilterCount();
    EXPECT_EQ(g_filtercount, 9);
    EXPECT_EQ(CSwlPanel::FilterButtonIndex(1, '0'), 2);
    EXPECT_EQ(CSwlPanel::FilterButtonIndex(8, '0'), 9);
    EXPECT_EQ(CSwlPanel::FilterButtonIndex(9, '0'), 0);
    EXPECT_EQ(FilterReadout(2, false), "2.4");
    EXPECT_EQ(FilterReadout(1, false), "");
}

TEST(FilterCount, WidthTableButtonsBeyondTheTableHoldNoFilter) {
    g_radiotype = 23;
    g_oldradio = 0;
    SetModelFilterCount();
    g_filterbuttons[8] = 45;
    EXPECT_EQ(CSwlPanel::FilterButtonIndex(9, '3'), 45);
    EXPECT_FALSE(IsModelFilter(45));
    EXPECT_EQ(FilterReadout(33, false), "450 Hz ");
    EXPECT_EQ(FilterReadout(6, true), "9.0 kHz ");
}
