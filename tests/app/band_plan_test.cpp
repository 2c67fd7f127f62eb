#include <gtest/gtest.h>

#include "base/band_plan.h"
#include "base/trace_log.h"
#include "common/test_dir.h"

namespace {

TxTuning Tuned(double mhz, char mode) {
    TxTuning t;
    t.vfoa = mhz;
    t.modea = mode;
    return t;
}

int Allowed(int cls, double mhz, char mode) {
    g_licenseclass = cls;
    return IsTxAllowed(Tuned(mhz, mode));
}

constexpr char kUsb = '0', kLsb = '1', kCw = '3', kAm = '4', kFm = '5';

TEST(BandPlan, GeneralClassOn20Metres) {
    EXPECT_EQ(Allowed(2, 14.200, kUsb), 0);  // between the CW and the phone row
    EXPECT_EQ(Allowed(2, 14.100, kCw), 1);
    EXPECT_EQ(Allowed(2, 14.100, kUsb), 0);
    EXPECT_EQ(Allowed(2, 14.225, kUsb), 1);
    EXPECT_EQ(Allowed(2, 14.350, kUsb), 1);
    EXPECT_EQ(Allowed(2, 14.3501, kUsb), 0);
    EXPECT_EQ(Allowed(2, 14.020, kCw), 0);
}

TEST(BandPlan, ClassesDifferAtTheirLowerEdges) {
    // 14.000: Extra only; 14.025: all three upper classes; Nov/Tech has no 20 m.
    EXPECT_EQ(Allowed(0, 14.000, kCw), 1);
    EXPECT_EQ(Allowed(1, 14.000, kCw), 0);
    EXPECT_EQ(Allowed(1, 14.025, kCw), 1);
    EXPECT_EQ(Allowed(3, 14.050, kCw), 0);
    // Phone on 20 m starts at 14.15, 14.175 and 14.225.
    EXPECT_EQ(Allowed(0, 14.160, kUsb), 1);
    EXPECT_EQ(Allowed(1, 14.160, kUsb), 0);
    EXPECT_EQ(Allowed(1, 14.180, kUsb), 1);
    EXPECT_EQ(Allowed(2, 14.180, kUsb), 0);
    // 80 m phone.
    EXPECT_EQ(Allowed(0, 3.650, kLsb), 1);
    EXPECT_EQ(Allowed(1, 3.650, kLsb), 0);
    EXPECT_EQ(Allowed(1, 3.750, kLsb), 1);
    EXPECT_EQ(Allowed(2, 3.750, kLsb), 0);
    EXPECT_EQ(Allowed(3, 3.550, kCw), 1);
    EXPECT_EQ(Allowed(3, 3.550, kLsb), 0);
}

TEST(BandPlan, TopOfTheTable) {
    EXPECT_EQ(Allowed(0, 1300.05, kFm), 1);
    EXPECT_EQ(Allowed(1, 1300.05, kFm), 0);
    EXPECT_EQ(Allowed(2, 1300.0, kFm), 1);
    EXPECT_EQ(Allowed(3, 1300.0, kFm), 1);
    EXPECT_EQ(Allowed(0, 2400.0, kCw), 0);
    EXPECT_EQ(Allowed(0, 1.799, kCw), 0);
    EXPECT_EQ(Allowed(0, 1.8, kAm), 1);
}

TEST(BandPlan, NoviceTechPhoneOnlyAbove28300) {
    EXPECT_EQ(Allowed(3, 28.3, kUsb), 0);  // shared edge: the CW row comes first
    EXPECT_EQ(Allowed(3, 28.4, kUsb), 1);
    EXPECT_EQ(Allowed(3, 28.6, kUsb), 0);
    EXPECT_EQ(Allowed(3, 7.1, kCw), 1);
    EXPECT_EQ(Allowed(3, 7.2, kLsb), 0);
    EXPECT_EQ(Allowed(3, 146.52, kFm), 1);
}

TEST(BandPlan, SharedEdgeBelongsToTheLowerRow) {
    EXPECT_EQ(Allowed(0, 7.125, kCw), 1);
    EXPECT_EQ(Allowed(0, 7.125, kLsb), 0);
    EXPECT_EQ(Allowed(0, 7.1251, kLsb), 1);
}

TEST(BandPlan, CwAndDataModesOnlyInCwSegments) {
    for (char m : {'2', '3', '7', '8', '9', ':'}) {
        EXPECT_TRUE(IsCwOrDataMode(m)) << m;
        EXPECT_EQ(Allowed(0, 14.070, m), 1) << m;
    }
    for (char m : {'0', '1', '4', '5', '6', ';', '<', char(0x17)}) {
        EXPECT_FALSE(IsCwOrDataMode(m)) << m;
        EXPECT_EQ(Allowed(0, 14.070, m), 0) << m;
        EXPECT_EQ(Allowed(0, 14.250, m), 1) << m;
    }
}

TEST(BandPlan, BuiltInClassesAscendAndEnd) {
    const int lengths[4] = {24, 24, 24, 12};
    for (int cls = 0; cls < 4; ++cls) {
        const BandPlanClass& rows = g_bandplan[cls];
        for (int i = 0; i < lengths[cls]; ++i) {
            EXPECT_GT(rows[i].low, 0.0) << cls << " " << i;
            EXPECT_LT(rows[i].low, rows[i].high) << cls << " " << i;
            if (i > 0) {
                EXPECT_GE(rows[i].low, rows[i - 1].high) << cls << " " << i;
            }
        }
        EXPECT_EQ(rows[lengths[cls]].low, 0.0) << cls;
    }
    EXPECT_EQ(g_bandplan[kForeignClass][0].low, 0.0);
    EXPECT_STREQ(kLicenseClassNames[kForeignClass], "Foreign");
}

TEST(BandPlan, EmptyForeignClassForbidsEverything) {
    EXPECT_EQ(Allowed(4, 14.070, kCw), 0);
    EXPECT_EQ(Allowed(4, 146.0, kFm), 0);
}

TEST(BandPlan, UnrestrictedBandRows) {
    g_licenseclass = 3;
    TxTuning t = Tuned(14.2, kUsb);
    t.bandrow = 32;
    EXPECT_EQ(IsTxAllowed(t), 0);
    t.bandrow = 33;
    EXPECT_EQ(IsTxAllowed(t), 1);
    t.bandrow = 35;
    t.vfoa = 0.5;
    EXPECT_EQ(IsTxAllowed(t), 1);
}

TEST(BandPlan, XitAndSplitChooseTheTransmitFrequency) {
    g_licenseclass = 2;
    TxTuning t = Tuned(14.2249, kUsb);
    EXPECT_EQ(IsTxAllowed(t), 0);
    t.xit = true;
    t.ritoffset = 200;  // 14.2251
    EXPECT_DOUBLE_EQ(TxFrequency(t), 14.2249 + 0.0002);
    EXPECT_EQ(IsTxAllowed(t), 1);
    t.ritoffset = -5000;
    EXPECT_EQ(IsTxAllowed(t), 0);

    // Split transmits on VFO B in its own mode; the XIT offset is not added.
    t.split = true;
    t.vfob = 14.100;
    t.modeb = kCw;
    EXPECT_DOUBLE_EQ(TxFrequency(t), 14.100);
    EXPECT_EQ(TxMode(t), kCw);
    EXPECT_EQ(IsTxAllowed(t), 1);
    t.modeb = kUsb;
    EXPECT_EQ(IsTxAllowed(t), 0);
    t.vfob = 14.22495;
    t.ritoffset = 1000;
    EXPECT_EQ(IsTxAllowed(t), 0);
}

TEST(BandPlan, WalkStopsAtTheEndOfAFullClass) {
    // Thirty rows with no terminator: the walk must not run past the class.
    BandPlanClass rows{};
    for (int i = 0; i < kBandPlanRows; ++i) rows[i] = {1.0 + i, 1.5 + i, 0};
    EXPECT_EQ(BandPlanAllows(rows, 30.2, kCw), 1);
    EXPECT_EQ(BandPlanAllows(rows, 30.7, kCw), 0);
    EXPECT_EQ(BandPlanAllows(rows, 100.0, kCw), 0);
}

TEST(BandPlan, OutOfRangeLicenceClassIsClamped) {
    TestDir dir;
    g_trace = 3;
    OpenTraceFile();
    g_bandplan[kForeignClass][0] = {14.0, 14.35, 1};
    // Above the table: the last class (here the only one with 14.2 phone).
    EXPECT_EQ(Allowed(99, 14.2, kUsb), 1);
    // Below the table: class 0.
    EXPECT_EQ(Allowed(-1, 3.65, kLsb), 1);
    EXPECT_EQ(LicenseClassIndex(5), 4);
    EXPECT_EQ(LicenseClassIndex(-7), 0);
    EXPECT_EQ(LicenseClassIndex(2), 2);
    EndTraceFile();
    CloseTraceStream();
    std::string log = dir.read("comms.txt");
    EXPECT_NE(log.find("LICENSE CLASS 99 out of range, using 4"), std::string::npos) << log;
    EXPECT_NE(log.find("LICENSE CLASS -1 out of range, using 0"), std::string::npos) << log;
}

}  // namespace
