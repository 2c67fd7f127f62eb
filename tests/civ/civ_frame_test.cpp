#include <gtest/gtest.h>

#include <vector>

#include "civ/civ_frame.h"
#include "civ/radio_models.h"

namespace {
using Bytes = std::vector<std::uint8_t>;

Bytes Bcd(double mhz) {
    Bytes b(5, 0xAA);
    EXPECT_TRUE(FrequencyToBcd(mhz, b.data()));
    return b;
}
}  // namespace

TEST(CivFrame, HeaderAndEnd) {
    g_radioadr = 0x94;
    g_myaddr = 0xE0;
    std::uint8_t buf[4];
    BuildCivHeader(buf);
    EXPECT_EQ(Bytes(buf, buf + 4), (Bytes{0xFE, 0xFE, 0x94, 0xE0}));
    BuildPerseusHeader(buf);
    EXPECT_EQ(Bytes(buf, buf + 4), (Bytes{0xFE, 0xFE, 0xE1, 0xE0}));
    const Bytes ok{0xFE, 0xFE, 0xE0, 0x94, 0xFB, 0xFD, 0xFE};
    EXPECT_EQ(FindCivEnd(ok.data(), int(ok.size())), 6);
    EXPECT_EQ(FindCivEnd(ok.data(), 5), 0);
    EXPECT_EQ(FindCivEnd(ok.data(), 0), 0);
}

TEST(CivFrame, FrequencyToBcd) {
    EXPECT_EQ(Bcd(14.025), (Bytes{0x00, 0x50, 0x02, 0x14, 0x00}));
    EXPECT_EQ(Bcd(0.1), (Bytes{0x00, 0x00, 0x10, 0x00, 0x00}));
    EXPECT_EQ(Bcd(14.074), (Bytes{0x00, 0x40, 0x07, 0x14, 0x00}));
    EXPECT_EQ(Bcd(432.1234567), (Bytes{0x57, 0x34, 0x12, 0x32, 0x04}));  // to the nearest hertz
    EXPECT_EQ(Bcd(999.999999), (Bytes{0x99, 0x99, 0x99, 0x99, 0x09}));
    EXPECT_EQ(Bcd(0.0), (Bytes{0, 0, 0, 0, 0}));
    // Each value decodes to itself.
    for (double f : {1.8, 3.573, 7.074, 10.1365, 50.313, 144.174, 145.5, 0.1357}) {
        Bytes b = Bcd(f);
        EXPECT_NEAR(BcdToFrequency(b.data(), 0.0), f, 1e-9) << f;
    }
}

TEST(CivFrame, FrequencyOutOfRangeIsRefused) {
    Bytes b(5, 0xAA);
    for (double f : {1000.0, 1296.1, 999.9999996, -0.001, 1e300}) {
        EXPECT_FALSE(FrequencyToBcd(f, b.data())) << f;
        EXPECT_EQ(b, Bytes(5, 0xAA));
    }
}

TEST(CivFrame, BcdToFrequency) {
    const Bytes hundred{0x00, 0x00, 0x00, 0x00, 0x01};
    EXPECT_DOUBLE_EQ(BcdToFrequency(hundred.data(), 0.0), 100.0);
    EXPECT_DOUBLE_EQ(BcdToFrequency(hundred.data(), 116.0), 216.0);
    const Bytes top{0x00, 0x00, 0x00, 0x00, 0x10};
    EXPECT_EQ(BcdToHz(top.data()), 1000000000LL);
}

TEST(CivFrame, Levels) {
    std::uint8_t b[2];
    LevelToBcd(255, b);
    EXPECT_EQ(b[0], 0x02);
    EXPECT_EQ(b[1], 0x55);
    EXPECT_EQ(pdtoi(b), 255);
    LevelToBcd(127, b);  // half power
    EXPECT_EQ(Bytes(b, b + 2), (Bytes{0x01, 0x27}));
    LevelToBcd(-5, b);
    EXPECT_EQ(Bytes(b, b + 2), (Bytes{0x00, 0x00}));
    LevelToBcd(12345, b);
    EXPECT_EQ(Bytes(b, b + 2), (Bytes{0x99, 0x99}));
    const std::uint8_t odd[2] = {0x0A, 0x0F};  // nibbles above 9 count with their value
    EXPECT_EQ(pdtoi(odd), 1000 + 15);
    EXPECT_EQ(ByteToBcd(42), 0x42);
    EXPECT_EQ(ByteToBcd(100), 0x99);
}

TEST(CivFrame, ModeBytes) {
    struct Row {
        int mode;
        std::uint8_t plain, digisel, perseus;
    };
    // Only PSK, PSK-R and CW-R depend on the model; the rest is one table.
    const Row rows[] = {
        {'0', 0x01, 0x01, 0x01}, {'2', 0x07, 0x07, 0x03}, {'8', 0x08, 0x08, 0x08}, {'9', 0x01, 0x12, 0x01},
        {':', 0x00, 0x13, 0x00}, {'<', 0x06, 0x06, 0x06}, {0x17, 0x17, 0x17, 0x17}, {'6', 0x00, 0x00, 0x00},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(CivModeByteFor(r.mode, false, false), r.plain) << r.mode;
        EXPECT_EQ(CivModeByteFor(r.mode, true, false), r.digisel) << r.mode;
        EXPECT_EQ(CivModeByteFor(r.mode, false, true), r.perseus) << r.mode;
    }
    g_radiotype = 18;
    g_perseus = 0;
    EXPECT_EQ(CivModeByte('9'), 0x12);
    g_radiotype = 23;
    EXPECT_EQ(CivModeByte('9'), 0x01);
    g_radiotype = 13;
    g_perseus = 1;
    EXPECT_EQ(CivModeByte('2'), 0x03);
}

TEST(CivFrame, FilterByteOnDspModels) {
    ModeFilterState s;
    s.radioType = 5;
    EXPECT_EQ(ModeFilterByte(0x05, 1, s), 2);  // IC-7800 in FM: fixed slot
    s.vfoB = true;
    EXPECT_EQ(ModeFilterByte(0x01, 1, s), 3);
    s.radioType = 23;
    s.vfoB = false;
    s.ic765 = true;
    EXPECT_EQ(ModeFilterByte(0x01, 9, s), 2);  // carried even with IC765
    s.ic765 = false;
    // AM on a DSP model that is not a big one: from the argument, matched
    // against the panel's filter buttons.
    s.buttons[0] = 12;
    s.buttons[1] = 20;
    s.buttons[2] = 30;
    EXPECT_EQ(ModeFilterByte(0x02, 20, s), 2);
    EXPECT_EQ(ModeFilterByte(0x02, 30, s), 3);
    EXPECT_EQ(ModeFilterByte(0x02, 7, s), 2);  // no match, out of 1..3
    s.savemem = true;
    EXPECT_EQ(ModeFilterByte(0x01, 12, s), 1);
    s.savemem = false;
    s.closing = true;
    EXPECT_EQ(ModeFilterByte(0x01, 3, s), 1);
}

TEST(CivFrame, FilterByteFromTheArgument) {
    ModeFilterState s;
    s.radioType = 2;  // IC-746: filter numbers from 0
    EXPECT_EQ(ModeFilterByte(0x05, 3, s), 2);
    EXPECT_EQ(ModeFilterByte(0x05, 0, s), 1);
    EXPECT_EQ(ModeFilterByte(0x05, 9, s), 1);
    s.radioType = 0;
    EXPECT_EQ(ModeFilterByte(0x01, 3, s), 3);
    EXPECT_EQ(ModeFilterByte(0x01, 4, s), 2);
    s.radioType = 8;
    EXPECT_EQ(ModeFilterByte(0x01, 3, s), 1);
    EXPECT_EQ(ModeFilterByte(0x01, 2, s), 2);
    s.radioType = 10;
    s.oldRadio = 2;
    EXPECT_EQ(ModeFilterByte(0x01, 9, s), 9);
    EXPECT_EQ(ModeFilterByte(0x01, 10, s), 2);
    s.oldRadio = 1;
    EXPECT_EQ(ModeFilterByte(0x01, 5, s), 5);
    EXPECT_EQ(ModeFilterByte(0x01, 6, s), 1);
    s.oldRadio = 0;
    s.ic765 = true;
    EXPECT_EQ(ModeFilterByte(0x01, 1, s), -1);
}

TEST(CivFrame, ModeFrame) {
    g_radioadr = 0x5C;
    g_myaddr = 0xE0;
    std::uint8_t buf[16];
    EXPECT_EQ(BuildModeFrame(buf, 0x01, 2), 8);
    EXPECT_EQ(Bytes(buf, buf + 8), (Bytes{0xFE, 0xFE, 0x5C, 0xE0, 0x06, 0x01, 0x02, 0xFD}));
    EXPECT_EQ(BuildModeFrame(buf, 0x03, -1), 7);
    EXPECT_EQ(Bytes(buf, buf + 7), (Bytes{0xFE, 0xFE, 0x5C, 0xE0, 0x06, 0x03, 0xFD}));
    EXPECT_EQ(HexBytes(buf, 3), "FE FE 5C ");
}
