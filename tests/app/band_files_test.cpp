#include <gtest/gtest.h>

#include <clocale>
#include <string>

#include "base/band_files.h"
#include "common/test_dir.h"

namespace {

double F(double v) { return static_cast<double>(static_cast<float>(v)); }

BandLine Parsed(const std::string& line) {
    BandLine b;
    EXPECT_TRUE(ParseBandLine(line, b)) << line;
    return b;
}

bool Rejected(const std::string& line) {
    BandLine b;
    return !ParseBandLine(line, b);
}

TEST(BandLine, AcceptedForms) {
    BandLine b = Parsed("20 Metres,14.000,14.350");
    EXPECT_EQ(b.name, "20 Metres");
    EXPECT_EQ(b.low, 14.0);
    EXPECT_EQ(b.high, F(14.35));

    b = Parsed("x,,,14.0 , ,14.35 trailing words");
    EXPECT_EQ(b.low, 14.0);
    EXPECT_EQ(b.high, F(14.35));
    b = Parsed("x, 7.0 7.3\r");
    EXPECT_EQ(b.low, 7.0);
    EXPECT_EQ(b.high, F(7.3));
    b = Parsed("  lead,+1.8,2e0");
    EXPECT_EQ(b.name, "  lead");
    EXPECT_EQ(b.low, F(1.8));
    EXPECT_EQ(b.high, 2.0);
}

TEST(BandLine, EdgesKeepSinglePrecision) {
    BandLine b = Parsed("FT8,14.0745,14.0775");
    EXPECT_EQ(b.low, F(14.0745));
    EXPECT_GT(b.low, 14.0745);
    BandPlanClass rows{};
    rows[0] = {b.low, b.high, 0};
    EXPECT_EQ(BandPlanAllows(rows, 14.0745, '3'), 0);
    EXPECT_EQ(BandPlanAllows(rows, 14.0746, '3'), 1);
}

TEST(BandLine, MalformedLinesAreSkipped) {
    EXPECT_TRUE(Rejected(""));
    EXPECT_TRUE(Rejected("no comma at all"));
    EXPECT_TRUE(Rejected(",14.0,14.35"));         // empty name
    EXPECT_TRUE(Rejected("x,14.0"));              // no high edge
    EXPECT_TRUE(Rejected("x,14.0,"));
    EXPECT_TRUE(Rejected("x,14.0\t14.35"));       // a tab does not separate the edges
    EXPECT_TRUE(Rejected("x,abc,14.35"));
    EXPECT_TRUE(Rejected("x,14.0,def"));
    EXPECT_TRUE(Rejected("x,inf,14.35"));
    EXPECT_TRUE(Rejected("x,14.0,nan"));
    EXPECT_TRUE(Rejected("x,1e50,2"));            // beyond single precision
    EXPECT_TRUE(Rejected("x,+-1,2"));
    EXPECT_TRUE(Rejected(std::string("ab\0,1,2", 7)));  // the line ends at the NUL
    EXPECT_EQ(Parsed(std::string("ab,1,2\0junk", 11)).name, "ab");
}

TEST(BandLine, LongNamesAreBoundedByTheLineLimit) {
    std::string name(250, 'N');
    BandLine b = Parsed(name + ",1,2");  // 254 characters
    EXPECT_EQ(b.name, name);

    // Past 255 characters the rest of the line is dropped, so the edges of a
    // long line are lost and the line is skipped, never overrun.
    EXPECT_TRUE(Rejected(std::string(300, 'N') + ",14.0,14.35"));
    EXPECT_TRUE(Rejected(std::string(254, 'N') + ",14.0,14.35"));
}

TEST(BandLine, DecimalPointWhateverTheLocale) {
    const char* saved = std::setlocale(LC_NUMERIC, nullptr);
    std::string restore = saved ? saved : "C";
    // scripts/install-deps generates the German locale.
    ASSERT_TRUE(std::setlocale(LC_NUMERIC, "de_DE.UTF-8") || std::setlocale(LC_NUMERIC, "de_DE"))
        << "no German locale here (scripts/install-deps generates de_DE.UTF-8)";
    BandLine b = Parsed("x,14.000,14.350");
    std::setlocale(LC_NUMERIC, restore.c_str());
    EXPECT_EQ(b.high, F(14.35));
}

TEST(BandsText, KeepsFileOrderAndSkipsBadLines) {
    auto bands = ParseBandsText("40m,7.0,7.3\r\n# comment\n\n20m,14.0,14.35\nbroken,1.0\n10m,28,29.7");
    ASSERT_EQ(bands.size(), 3u);
    EXPECT_EQ(bands[0].name, "40m");
    EXPECT_EQ(bands[1].name, "20m");
    EXPECT_EQ(bands[2].name, "10m");
    EXPECT_EQ(bands[2].high, F(29.7));
    // A tail of an over-long line is not read as a line of its own.
    bands = ParseBandsText(std::string(260, 'x') + "tail,1.0,2.0\nok,3,4\n");
    ASSERT_EQ(bands.size(), 1u);
    EXPECT_EQ(bands[0].name, "ok");
}

TEST(BandsText, CBandObjDefaults) {
    CBandObj b;
    EXPECT_EQ(b.name, "NAME HERE");
    EXPECT_EQ(b.low, 10.0);
    EXPECT_EQ(b.high, 10.0);
}

std::string Lines(const char* prefix, int n, double start) {
    std::string text;
    for (int i = 0; i < n; ++i)
        text += std::string(prefix) + std::to_string(i) + "," + std::to_string(start + i) + "," +
                std::to_string(start + i + 0.5) + "\n";
    return text;
}

TEST(ForeignText, ThirtyFiveLinesFillTwentyNineRows) {
    BandPlanClass rows{};
    EXPECT_EQ(ParseForeignText(Lines("P", 35, 1.0), rows), 29);
    EXPECT_EQ(rows[28].low, 29.0);
    EXPECT_EQ(rows[29].low, 0.0);
    EXPECT_EQ(BandPlanAllows(rows, 29.2, '0'), 1);
    EXPECT_EQ(BandPlanAllows(rows, 30.2, '3'), 0);
}

TEST(ForeignText, PhoneFlagFromTheFirstLetter) {
    BandPlanClass rows{};
    ASSERT_EQ(ParseForeignText("Phone,3.6,4.0\nphone,7.1,7.3\nCW,14.0,14.1\nX,21.0,21.4\n", rows), 4);
    EXPECT_EQ(rows[0].phone, 1);
    EXPECT_EQ(rows[1].phone, 1);
    EXPECT_EQ(rows[2].phone, 0);
    EXPECT_EQ(rows[3].phone, 0);
    EXPECT_EQ(BandPlanAllows(rows, 7.2, '1'), 1);
    EXPECT_EQ(BandPlanAllows(rows, 14.05, '0'), 0);
    EXPECT_EQ(BandPlanAllows(rows, 14.05, '8'), 1);
    EXPECT_EQ(BandPlanAllows(rows, 21.1, '9'), 1);
}

TEST(ForeignText, EmptyOrGarbageLeavesTheClassEmpty) {
    BandPlanClass rows{};
    rows[0] = {1.0, 2.0, 1};
    EXPECT_EQ(ParseForeignText("", rows), 0);
    EXPECT_EQ(rows[0].low, 0.0);
    EXPECT_EQ(ParseForeignText(std::string("\0\0\0\n,,,\nP,1\n", 12), rows), 0);
    EXPECT_EQ(BandPlanAllows(rows, 1.5, '3'), 0);
}

TEST(SegmentText, SortsLinesIntoTheTwoLists) {
    SegmentList rtty, ssb;
    ParseSegmentText("RTTY 20,14.08,14.1\nSSB 20,14.15,14.35\nrtty,1,2\nAM,3,4\nSSB40,7.1,7.3\n", rtty, ssb);
    ASSERT_EQ(rtty.count, 1);
    ASSERT_EQ(ssb.count, 2);
    EXPECT_TRUE(SegmentListHolds(rtty, 14.09));
    EXPECT_TRUE(SegmentListHolds(ssb, F(14.35)));
    EXPECT_TRUE(SegmentListHolds(ssb, 7.1));
    EXPECT_FALSE(SegmentListHolds(ssb, 1.5));
    EXPECT_FALSE(SegmentListHolds(rtty, 14.12));
}

TEST(SegmentText, AFullListDoesNotCutTheOtherShort) {
    SegmentList rtty, ssb;
    ParseSegmentText(Lines("RTTY", 29, 1.0) + Lines("SSB", 5, 100.0), rtty, ssb);
    EXPECT_EQ(rtty.count, 29);
    EXPECT_EQ(ssb.count, 5);

    ParseSegmentText(Lines("SSB", 40, 1.0) + Lines("RTTY", 40, 100.0) + Lines("SSB", 3, 500.0), rtty, ssb);
    EXPECT_EQ(ssb.count, 29);
    EXPECT_EQ(rtty.count, 29);
    EXPECT_EQ(ssb.seg[28].low, 29.0);
    EXPECT_FALSE(SegmentListHolds(ssb, 500.2));
}

class BandFilesOnDisk : public ::testing::Test {
protected:
    TestDir dir;
};

TEST_F(BandFilesOnDisk, LoadsAllThree) {
    dir.write("bands.dat", "40m,7.0,7.3\n20m,14.0,14.35\n");
    dir.write("foreign.dat", "P,14.0,14.35\n");
    dir.write("ssbrtty.dat", "RTTY,14.08,14.1\nSSB,14.15,14.35\n");
    EXPECT_EQ(LoadBandFiles(), 2);
    ASSERT_EQ(g_bandlist.size(), 2u);
    EXPECT_EQ(g_bandlist[1].name, "20m");
    EXPECT_EQ(g_bandplan[kForeignClass][0].phone, 1);
    EXPECT_EQ(g_bandplan[kForeignClass][1].low, 0.0);
    EXPECT_EQ(g_rttysegments.count, 1);
    EXPECT_EQ(g_ssbsegments.count, 1);
    FreeBandList();
    EXPECT_TRUE(g_bandlist.empty());
}

TEST_F(BandFilesOnDisk, MissingBandsFileStillLoadsTheOtherTwo) {
    dir.write("foreign.dat", "P,14.0,14.35\n");
    dir.write("ssbrtty.dat", "RTTY,14.08,14.1\nSSB,14.15,14.35\n");
    EXPECT_EQ(LoadBandFiles(), -1);
    EXPECT_TRUE(g_bandlist.empty());
    g_licenseclass = kForeignClass;
    TxTuning t;
    t.vfoa = 14.2;
    t.modea = '0';
    EXPECT_EQ(IsTxAllowed(t), 1);
    EXPECT_EQ(g_rttysegments.count, 1);
    EXPECT_EQ(g_ssbsegments.count, 1);
}

TEST_F(BandFilesOnDisk, MissingForeignAndSegmentFilesLeaveThemEmpty) {
    dir.write("bands.dat", "");
    g_bandplan[kForeignClass][0] = {1.0, 2.0, 1};
    g_rttysegments.count = 3;
    EXPECT_EQ(LoadBandFiles(), 0);
    EXPECT_EQ(g_bandplan[kForeignClass][0].low, 0.0);
    EXPECT_EQ(g_rttysegments.count, 0);
    EXPECT_EQ(g_ssbsegments.count, 0);
}

TEST_F(BandFilesOnDisk, OversizedFileDropsTheLineCutByTheLimit) {
    // A 6-byte first line puts the limit 7 bytes into a 9-byte line, where
    // "B,1,2.25" would read as "B,1,2.2".
    std::string text = "#xxxx\n";
    while (text.size() <= kBandFileMaxBytes + 100) text += "B,1,2.25\n";
    dir.write("bands.dat", text);
    int n = LoadBandFiles();
    EXPECT_EQ(n, static_cast<int>((kBandFileMaxBytes - 6) / 9));
    for (const CBandObj& b : g_bandlist) ASSERT_EQ(b.high, 2.25);
}

TEST_F(BandFilesOnDisk, NewFilesReplaceOnlyMissingOnes) {
    dir.write("ssbrtty.new", "SSB,1,2\n");
    dir.write("foreign.new", "P,1,2\n");
    dir.write("foreign.dat", "edited by the operator\n");
    RenameNewDataFiles();
    EXPECT_FALSE(dir.exists("ssbrtty.new"));
    EXPECT_EQ(dir.read("ssbrtty.dat"), "SSB,1,2\n");
    EXPECT_TRUE(dir.exists("foreign.new"));
    EXPECT_EQ(dir.read("foreign.dat"), "edited by the operator\n");
    // Nothing to rename: nothing happens.
    RenameNewDataFiles();
    EXPECT_EQ(dir.read("ssbrtty.dat"), "SSB,1,2\n");
}

}  // namespace
