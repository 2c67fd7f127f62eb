// The whole catalogue against the file it must produce: the first save in an
// empty directory, the order of the writes, and that a save of an unchanged
// file adds nothing.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>

#include "base/settings_store.h"
#include "common/test_dir.h"
#include "settings_test_util.h"

namespace {
std::string Golden() {
    std::string dir = __FILE__;
    dir.erase(dir.rfind('/'));
    std::ifstream in(dir + "/golden_qarv_ini.txt");
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// Position of the first trace line that starts with `text`; -1 when absent.
long IndexOf(const std::vector<std::string>& lines, const std::string& text) {
    auto it = std::find_if(lines.begin(), lines.end(), [&](const std::string& l) { return l.rfind(text, 0) == 0; });
    return it == lines.end() ? -1 : long(it - lines.begin());
}

std::vector<std::string> Writes(const std::vector<std::string>& lines) {
    std::vector<std::string> w;
    for (const std::string& l : lines)
        if (l.rfind("writing ", 0) == 0) w.push_back(l);
    return w;
}
}  // namespace

TEST(SettingsCatalogue, FirstSaveWritesEveryKeyWithItsDefault) {
    TestDir dir;
    LoadAll();
    SaveTraced();
    const auto golden = ParseIni(Golden());
    const auto written = ParseIni(dir.read("qarv.ini"));
    ASSERT_GT(golden.size(), 60u);
    for (const IniSection& want : golden) {
        const IniSection* got = FindSection(written, want.first);
        ASSERT_NE(got, nullptr) << "[" << want.first << "]";
        EXPECT_EQ(got->second, want.second) << "[" << want.first << "]";
    }
    EXPECT_EQ(written.size(), golden.size());
}

TEST(SettingsCatalogue, SaveOrderAcrossSections) {
    TestDir dir;
    LoadAll();
    const auto lines = SaveTraced();
    const auto w = Writes(lines);
    ASSERT_FALSE(w.empty());
    EXPECT_EQ(w.front(), "writing OPERATING STATUS VERSION V3.52  ");
    EXPECT_EQ(w.back(), "writing OPERATING STATUS AUTO PROGRAM START FOLDER ");

    // Progress marks of the save.
    EXPECT_EQ(IndexOf(lines, "progress 0 filter 4"), IndexOf(lines, "writing") - 1);
    EXPECT_EQ(IndexOf(lines, "progress 1 filter 4"), IndexOf(lines, "writing OPERATING STATUS TV5 LOWER LIMIT") + 1);
    EXPECT_EQ(IndexOf(lines, "save filter 4"), IndexOf(lines, "writing PREFERENCE FILTER 3 ") + 1);

    // Blocks in the order of the save.
    const char* anchors[] = {
        "writing OPERATING STATUS STEPPIR 0",
        "writing INTERFACE STEPPIR BAUD",
        "writing OPERATING STATUS SWEEP RANGE",
        "writing OPERATING STATUS NEW TUNING DELAY",
        "writing PREFERENCE FILTER 1 ",
        "writing OPERATING STATUS MEMORY FILE",
        "writing INTERFACE COMPORT",
        "writing INTERFACE BAUD",
        "writing MAIN WINDOW LOCATION",
        "writing OPERATING STATUS CWLEFT ",
        "writing MEMORY WINDOW VISIBLE",
        "writing RADIO WINDOW CALL COLOR",
        "writing SPECIAL TRACE",
        "writing RADIO WINDOW CALL SIZE",
        "writing OPERATING STATUS SIDETONE VOLUME",
        "writing RADIO WINDOW Micro Font",
        "writing OPERATING STATUS ANTI VOX",
        "writing OPERATING STATUS T-X AMP TUNE PULSE",
        "writing 160 Meters CW Frequency",
        "writing SCRATCH PADX MEFFA",
        "writing PREFERENCE 302 FUNCTION KEY 1",
        "writing OPERATING STATUS Flex Knob",
        "writing PREFERENCE LICENSE CLASS",
        "writing INTERFACE PEGASUS COMPORT",
        "writing 60 Meters lower limit",
        "writing OPERATING STATUS ANT 1 LOW ",
    };
    long last = -1;
    for (const char* a : anchors) {
        long at = IndexOf(lines, a);
        EXPECT_GT(at, last) << a;
        last = at;
    }
}

TEST(SettingsCatalogue, ASaveOfAnUnchangedFileAddsNothing) {
    TestDir dir;
    LoadAll();
    SaveTraced();
    const std::string settled = dir.read("qarv.ini");
    LoadAll();
    const auto w = Writes(SaveTraced());
    EXPECT_EQ(dir.read("qarv.ini"), settled);
    // Trailing blanks ("V3.52  ", the label default "FT8 ") are not written,
    // so the first save already settles the file.
    EXPECT_TRUE(w.empty()) << w.front();
}

TEST(SettingsCatalogue, ReadOnlyKeysKeepTheOperatorsValues) {
    TestDir dir;
    dir.write("qarv.ini",
              "[OPERATING STATUS]\nZIX7=5\nID TIMER=77\nMEMORY CRASH=1\n[PREFERENCE]\nPELX=3\nFLX KNOB LONG=VOL\n"
              "[VISUAL]\nRADIO_PANEL=TRUE\n");
    LoadAll();
    const auto ini = SaveAndReadBack(dir);
    EXPECT_EQ(IniValue(ini, "OPERATING STATUS", "ZIX7"), "5");
    EXPECT_EQ(IniValue(ini, "OPERATING STATUS", "ID TIMER"), "77");
    EXPECT_EQ(IniValue(ini, "OPERATING STATUS", "MEMORY CRASH"), "1");
    EXPECT_EQ(IniValue(ini, "PREFERENCE", "PELX"), "3");
    EXPECT_EQ(IniValue(ini, "PREFERENCE", "FLX KNOB LONG"), "VOL");
    EXPECT_EQ(IniValue(ini, "VISUAL", "RADIO_PANEL"), "TRUE");
    EXPECT_EQ(IniValue(ini, "OPERATING STATUS", "NO KEEP ALIVE"), "<missing>");
    EXPECT_EQ(IniValue(ini, "OPERATING STATUS", "SQL LEVEL"), "<missing>");
}
