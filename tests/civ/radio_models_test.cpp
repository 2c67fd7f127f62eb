#include <gtest/gtest.h>

#include "civ/radio_models.h"
#include "common/test_dir.h"

namespace {
void Start(int type, int civ, long baud = 19200) {
    g_radiotype = type;
    g_civindex = civ;
    FixRadioType();
    SetRadioAddress(baud);
}
}  // namespace

TEST(RadioModels, TypeOutsideTheListBecomesFirst) {
    Start(30, 207);
    EXPECT_EQ(g_radiotype, 0);
    EXPECT_EQ(g_radioadr, 0x5C);
    EXPECT_STREQ(RadioModelName(), "IC-756PRO");
}

TEST(RadioModels, Ic7610RunsAsIc7600) {
    Start(24, 207);
    SetFrequencyCommandFlag(0);
    EXPECT_EQ(g_radiotype, 18);
    EXPECT_EQ(g_radioadr, 0x98);
    EXPECT_EQ(g_model7610, 1);
    EXPECT_EQ(g_7600fw2, 1);
    EXPECT_STREQ(RadioModelName(), "IC7610");
}

TEST(RadioModels, FrequencyCommandFlag) {
    Start(23, 207);
    SetFrequencyCommandFlag(0);
    EXPECT_EQ(g_7600fw2, 1);
    Start(0, 207);
    SetFrequencyCommandFlag(1);
    EXPECT_EQ(g_7600fw2, 0);  // not read on this type
    Start(16, 207);
    SetFrequencyCommandFlag(1);
    EXPECT_EQ(g_7600fw2, 1);
    SetFrequencyCommandFlag(0);
    EXPECT_EQ(g_7600fw2, 0);
}

TEST(RadioModels, PerseusAlwaysE1) {
    Start(19, 50);
    EXPECT_EQ(g_radiotype, 13);
    EXPECT_EQ(g_perseus, 1);
    EXPECT_EQ(g_radioadr, 0xE1);
    EXPECT_STREQ(RadioModelName(), "Perseus");
}

TEST(RadioModels, AddressFromTheList) {
    Start(3, 147);
    EXPECT_EQ(g_radioadr, 0x94);
    Start(21, 127);
    EXPECT_EQ(g_radioadr, 0x80);
    Start(3, 127);
    EXPECT_EQ(g_radioadr, 0x66);
    Start(23, 300);
    EXPECT_EQ(g_radioadr, 0x94);
}

TEST(RadioModels, OldRadioDialects) {
    Start(10, 0x1E - 1, 1200);
    EXPECT_EQ(g_oldradio, 2);
    Start(10, 0x1E - 1, 9600);
    EXPECT_EQ(g_oldradio, 0);
    Start(10, 0x2C - 1, 1200);
    EXPECT_EQ(g_oldradio, 1);
    Start(10, 0x04 - 1, 9600);
    EXPECT_EQ(g_oldradio, 1);
    Start(3, 0x04 - 1, 9600);  // generic type only
    EXPECT_EQ(g_oldradio, 0);
}

TEST(RadioModels, SetupReadsTheFlagOnlyWhereItCounts) {
    TestDir dir;
    dir.write("qarv.ini", "[OPERATING STATUS]\r\n7600 FW2=1\r\n");
    g_radiotype = 18;
    g_civindex = 207;
    SetupRadioModel(dir.file("qarv.ini"), 19200);
    EXPECT_EQ(g_7600fw2, 1);
    g_radiotype = 2;
    SetupRadioModel(dir.file("qarv.ini"), 19200);
    EXPECT_EQ(g_7600fw2, 0);
    EXPECT_EQ(g_radioadr, 0x56);
}
