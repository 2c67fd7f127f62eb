// Band-stack lookups, coverage and the band rules at their edges.
#include <gtest/gtest.h>

#include <cstring>

#include "civ/band_table.h"
#include "civ/radio_models.h"
#include "civ/transverters.h"

TEST(BandTable, DefaultRows) {
    EXPECT_STREQ(g_bandstack[0].name, "160 Meters CW");
    EXPECT_STREQ(g_bandstack[39].name, "60 Meters SSB");
    EXPECT_STREQ(g_bandstack[43].name, "SCRATCH PADX");
    EXPECT_EQ(g_bandstack[9].mode, '0');
    EXPECT_EQ(g_bandstack[9].alcsetting, 5);
    EXPECT_DOUBLE_EQ(g_bandstack[17].last, 28.495);
    EXPECT_EQ(g_bandrow, 32);
    EXPECT_EQ(g_prevbandrow, 99);
    for (int r = 0; r < kBandRows; ++r) {
        EXPECT_LT(std::strlen(g_bandstack[r].name), sizeof g_bandstack[r].name);
        EXPECT_EQ(g_bandstack[r].second, 0);
    }
}

TEST(BandTable, UpperEdgeBelongsToTheNextRow) {
    EXPECT_EQ(PanelBandRow(1.84, kNoBandRow), 10);
    EXPECT_EQ(BandStackRow(1.84), 10);
    EXPECT_EQ(BandStackRow(1.83999), 0);
    EXPECT_EQ(PanelBandRow(1.83998, kNoBandRow), 0);
    // The last 10 Hz below an edge lie in no row for the panel's lookup.
    EXPECT_EQ(PanelBandRow(1.839995, kNoBandRow), kGenBandRow);
    EXPECT_EQ(PanelBandRow(1.8, kNoBandRow), 0);
}

TEST(BandTable, Lookups) {
    EXPECT_EQ(PanelBandRow(5.35, kNoBandRow), 39);
    EXPECT_EQ(BandStackRow(5.35), 39);
    EXPECT_EQ(PanelBandRow(146, kNoBandRow), 19);
    EXPECT_EQ(PanelBandRow(8.2, kNoBandRow), kGenBandRow);
    EXPECT_EQ(BandStackRow(8.2), kGenBandRow);
    // Broadcast rows come first in the panel's search.
    EXPECT_EQ(PanelBandRow(4.8, kNoBandRow), 20);
    // The previous row is tried first.
    EXPECT_EQ(PanelBandRow(7.32, 22), 22);
    EXPECT_EQ(PanelBandRow(7.32, 0), 22);
    // Scratch pads, general coverage and unused transverters are never found.
    EXPECT_EQ(BandStackRow(0), kGenBandRow);
    EXPECT_EQ(BandStackRow(100000), kGenBandRow);
}

TEST(BandTable, Coverage) {
    g_perseus = 0;
    EXPECT_EQ(CheckCoverage(0), -1);
    EXPECT_EQ(CheckCoverage(30), 0);
    EXPECT_EQ(CheckCoverage(33), -1);
    EXPECT_EQ(CheckCoverage(33.5), -1);
    EXPECT_EQ(CheckCoverage(49), -1);
    EXPECT_EQ(CheckCoverage(50), 0);
    EXPECT_EQ(CheckCoverage(60), -1);
    EXPECT_EQ(CheckCoverage(145), 0);
    EXPECT_EQ(CheckCoverage(174), -1);
    EXPECT_EQ(CheckCoverage(200), -1);
    g_perseus = 1;
    EXPECT_EQ(CheckCoverage(33.5), 0);
    EXPECT_EQ(CheckCoverage(40), -1);
    g_perseus = 0;
}

TEST(BandTable, CoverageOfAnEnabledTransverter) {
    EXPECT_EQ(CheckCoverage(429.5), -1);
    g_transverter[2].lower = 430;
    g_transverter[2].upper = 450;
    EXPECT_EQ(CheckCoverage(429.5), 0);
    EXPECT_EQ(CheckCoverage(428.9), -1);
    EXPECT_EQ(CheckCoverage(450.9), 0);
    EXPECT_EQ(CheckCoverage(451), -1);
    ApplyTransverterEdges();
    EXPECT_EQ(BandStackRow(440), kFirstTvRow + 2);
    EXPECT_EQ(PanelBandRow(440, kNoBandRow), kFirstTvRow + 2);
}

TEST(BandTable, HamBandsAndMetres) {
    EXPECT_EQ(IsHamBand(146), 1);
    EXPECT_EQ(BandMeters(146), 0);
    EXPECT_EQ(IsHamBand(1.8), 1);
    EXPECT_EQ(IsHamBand(2.0), 1);
    EXPECT_EQ(IsHamBand(2.0001), 0);
    EXPECT_EQ(IsHamBand(29.7), 1);
    EXPECT_EQ(IsHamBand(5.35), 1);
    EXPECT_EQ(IsHamBand(5.2), 0);
    EXPECT_EQ(BandMeters(5.2), 60);
    EXPECT_EQ(BandMeters(5.9), 60);
    EXPECT_EQ(BandMeters(1.9), 160);
    EXPECT_EQ(BandMeters(10.15), 30);
    EXPECT_EQ(BandMeters(10.16), 0);
    EXPECT_EQ(BandMeters(50), 6);
    EXPECT_EQ(BandMeters(9.0), 0);
}

TEST(BandTable, SixtyMetreChannels) {
    int ch = g_sixtymchannel;
    const double want[5] = {5.3305, 5.3465, 5.357, 5.3715, 5.4035};
    for (double f : want) {
        ch = NextSixtyMeterChannel(ch, true);
        EXPECT_DOUBLE_EQ(SixtyMeterFrequency(ch, '0'), f);
        EXPECT_DOUBLE_EQ(SixtyMeterFrequency(ch, '3'), f + 0.0015);
    }
    EXPECT_EQ(NextSixtyMeterChannel(0, false), 4);
    EXPECT_EQ(NextSixtyMeterChannel(3, false), 2);
}
