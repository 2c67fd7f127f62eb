#include <gtest/gtest.h>

#include <string>

#include "base/colour_names.h"

namespace {

struct Named {
    const char* name;
    plat::Colour value;
    int index;
};

// Every fixed colour with its value and list index.
constexpr Named kFixed[] = {
    {"BLACK", 0x000000, 0},     {"WHITE", 0xFFFFFF, 1},    {"RED", 0x0000FF, 2},        {"GREEN", 0x00FF00, 3},
    {"BLUE", 0xFF0000, 4},      {"YELLOW", 0x00FFFF, 5},   {"CYAN", 0xFFFF00, 6},       {"PURPLE", 0xFF00FF, 7},
    {"GRAY", 0xC0C0C0, 10},     {"LO RED", 0x0000C0, 11},  {"LO GREEN", 0x00C000, 12},  {"LO BLUE", 0xC00000, 13},
    {"LO YELLOW", 0x00C0C0, 14}, {"LO CYAN", 0xC0C000, 15}, {"LO PURPLE", 0xC000C0, 16},
};

void SetColour1(int r, int g, int b) { g_color1red = r, g_color1green = g, g_color1blue = b; }
void SetColour2(int r, int g, int b) { g_color2red = r, g_color2green = g, g_color2blue = b; }

TEST(ColourNames, FixedColoursBothWays) {
    SetColour1(1, 2, 3);
    SetColour2(4, 5, 6);
    for (const Named& n : kFixed) {
        EXPECT_EQ(NameToColor(n.name), n.value) << n.name;
        g_lastcolorindex = -1;
        const char* name = ColorToName(n.value);
        ASSERT_NE(name, nullptr) << n.name;
        EXPECT_STREQ(name, n.name);
        EXPECT_EQ(g_lastcolorindex, n.index) << n.name;
        EXPECT_STREQ(kColourNames[n.index], n.name);
    }
}

TEST(ColourNames, NamesIgnoreCase) {
    EXPECT_EQ(NameToColor("red"), 0x0000FFu);
    EXPECT_EQ(NameToColor("Red"), 0x0000FFu);
    EXPECT_EQ(NameToColor("lo cyan"), 0xC0C000u);
    EXPECT_EQ(NameToColor("Gray"), 0xC0C0C0u);
}

TEST(ColourNames, UnknownNamesGiveBlack) {
    EXPECT_EQ(NameToColor("MAROON"), 0u);
    EXPECT_EQ(NameToColor(""), 0u);
    EXPECT_EQ(NameToColor("RED "), 0u);
    EXPECT_EQ(NameToColor("LO"), 0u);
    EXPECT_EQ(NameToColor(nullptr), 0u);
}

TEST(ColourNames, UnknownValueHasNoNameAndKeepsTheIndex) {
    SetColour1(1, 2, 3);
    SetColour2(4, 5, 6);
    g_lastcolorindex = 13;
    EXPECT_EQ(ColorToName(0x123456), nullptr);
    EXPECT_EQ(ColorToName(0x01000000), nullptr);  // only the low three bytes are a colour
    EXPECT_EQ(g_lastcolorindex, 13);
}

TEST(ColourNames, OperatorColoursAreMixedAtTheCall) {
    SetColour1(0x12, 0x34, 0x56);
    SetColour2(10, 10, 10);
    EXPECT_EQ(NameToColor("COLOR1"), 0x563412u);
    EXPECT_EQ(NameToColor("color2"), 0x0A0A0Au);
    SetColour1(0, 0, 0x80);
    EXPECT_EQ(NameToColor("Color1"), 0x800000u);
    EXPECT_STREQ(ColorToName(0x800000), "COLOR1");
    EXPECT_EQ(g_lastcolorindex, 8);
    EXPECT_STREQ(ColorToName(0x0A0A0A), "COLOR2");
    EXPECT_EQ(g_lastcolorindex, 9);
}

TEST(ColourNames, FullColoursWinOverOperatorColours) {
    SetColour1(255, 0, 0);
    SetColour2(0, 255, 255);
    EXPECT_STREQ(ColorToName(0x0000FF), "RED");
    EXPECT_EQ(g_lastcolorindex, 2);
    EXPECT_STREQ(ColorToName(0xFFFF00), "CYAN");
    EXPECT_EQ(g_lastcolorindex, 6);
}

TEST(ColourNames, OperatorColoursWinOverGrayAndLowColours) {
    SetColour1(192, 192, 192);
    SetColour2(0, 0, 192);
    EXPECT_STREQ(ColorToName(0xC0C0C0), "COLOR1");
    EXPECT_EQ(g_lastcolorindex, 8);
    EXPECT_STREQ(ColorToName(0xC00000), "COLOR2");
    EXPECT_EQ(g_lastcolorindex, 9);
    // Asked by name, GRAY stays gray.
    EXPECT_EQ(NameToColor("GRAY"), 0xC0C0C0u);
}

TEST(ColourNames, EqualOperatorColoursAreNamedColour1) {
    SetColour1(7, 8, 9);
    SetColour2(7, 8, 9);
    EXPECT_STREQ(ColorToName(0x090807), "COLOR1");
}

TEST(ColourNames, ComponentsContributeTheirLowByteOnly) {
    SetColour1(256, 0x1FF, 0x301);
    EXPECT_EQ(NameToColor("COLOR1"), 0x01FF00u);
    SetColour2(256, 256, 256);
    SetColour1(1, 1, 1);
    EXPECT_EQ(NameToColor("COLOR2"), 0u);
    EXPECT_STREQ(ColorToName(0), "BLACK");  // BLACK comes first
}

TEST(ColourNames, EveryListNameRoundTrips) {
    SetColour1(1, 2, 3);
    SetColour2(4, 5, 6);
    for (int i = 0; i < 17; ++i) {
        const char* name = ColorToName(NameToColor(kColourNames[i]));
        ASSERT_NE(name, nullptr) << kColourNames[i];
        EXPECT_STREQ(name, kColourNames[i]);
        EXPECT_EQ(g_lastcolorindex, i);
    }
}

}  // namespace
