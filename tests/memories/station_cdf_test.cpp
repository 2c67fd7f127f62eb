// Export and import of the station list as comma-separated text: the lines
// as other programs expect them, and a round trip that keeps every field
// the format carries.
#include "civ/radio_models.h"
#include "memories/station_cdf.h"
#include "memory_fixture.h"
#include "panel/filter_table.h"

namespace {
using Cdf = MemoryFixture;
}  // namespace

TEST_F(Cdf, ExportLinesAreExact) {
    EXPECT_EQ(CdfLine(MakeStation("Club, Net", 7.1, "LSB", "3.6 kHz ", "USA")), "Club  Net, 7.100000,LSB,3600,USA,English");
    CStation s = MakeStation("Radio", 9.62, "AM", "10.0 kHz ", "Spain", 7.1);
    s.language = "Spanish";
    EXPECT_EQ(CdfLine(s), "Radio, 9.620000,AM,10000,Spain,Spanish, 7.100000");
    EXPECT_EQ(CdfFilterField("FIL2"), "FIL2");
    EXPECT_EQ(CdfFilterField("3.6 kHz "), "3600");
    EXPECT_EQ(CdfFilterField("1.0 kHz "), "1000");
    EXPECT_EQ(CdfFilterField("10.0 kHz "), "10000");  // not 1000, which is 1.0 kHz
    EXPECT_EQ(CdfFilterField("500 Hz "), "500");
    EXPECT_EQ(CdfFilterField("6000"), "6000");
}

TEST_F(Cdf, ImportThenExportGivesTheSameFile) {
    g_radiotype = 23;  // named filters, AM widths in AM
    ASSERT_TRUE(HasNamedFilters());
    const std::string text =
        "Radio Exterior, 9.620000,AM,10000,Spain,Spanish\n"
        "Net,14.300000,USB,2400,USA,English, 7.100000\n"
        "Beacon, 0.137500,CW,500,Norway,Morse\n"
        "Memory 007, 7.074000,USB,3600,,\n";
    dir.write("in.cdf", text);
    ASSERT_TRUE(ImportCdf(kUseName, "in.cdf"));
    ASSERT_EQ(g_stationlist.size(), 4u);
    EXPECT_EQ(g_stationlist[0].filter, "10.0 kHz ");
    EXPECT_EQ(g_stationlist[1].filter, "2.4 kHz ");
    EXPECT_DOUBLE_EQ(g_stationlist[1].frequency2, 7.1);
    EXPECT_EQ(g_stationlist[2].filter, "500 Hz ");
    EXPECT_EQ(g_memmodified, 1);
    EXPECT_STREQ(g_memfilename, "NONAME");
    ASSERT_TRUE(ExportCdf(kUseName, "out.cdf"));
    const std::string out = dir.read("out.cdf");
    EXPECT_EQ(out,
              "Radio Exterior, 9.620000,AM,10000,Spain,Spanish\n"
              "Net,14.300000,USB,2400,USA,English, 7.100000\n"
              "Beacon, 0.137500,CW,500,Norway,Morse\n"
              "Memory 007, 7.074000,USB,3600,,\n");
    // Every named filter survives the trip.
    for (int i = 1; i <= 41; ++i)
        for (bool am : {false, true}) {
            const std::string word = FilterCaption(i, am);
            EXPECT_EQ(ImportFilterWord(CdfFilterField(word), am ? "AM" : "USB"), word) << word;
        }
}

TEST_F(Cdf, ImportSkipsBankClearAndUncoveredLines) {
    g_radiotype = 23;
    dir.write("mems.cdf",
              "Bank A\r\nMemory 001, 7.100000,LSB,2400,,\r\nClear\r\n\r\nNowhere,95.000000,FM,,,\r\n"
              "Zero,0,AM,,,\r\nBroken line without commas\r\n" +
                  std::string(500, 'L') + ",15.000000,AM,,,\r\n");
    SetList({MakeStation("Old", 6.0)});
    plat::message_box_script::Clear();
    ASSERT_TRUE(ImportCdf(kUseName, "mems.cdf"));
    ASSERT_EQ(g_stationlist.size(), 2u);
    // The operator is told which lines held no station: bank, clear and
    // empty lines are no stations and are not counted.
    ASSERT_EQ(plat::message_box_script::History().size(), 1u);
    EXPECT_EQ(plat::message_box_script::History()[0].caption, "Import");
    EXPECT_EQ(plat::message_box_script::History()[0].text.substr(0, 37), "3 lines were skipped: lines 5, 6, 7.\n");
    EXPECT_EQ(g_stationlist[0].name, "Memory 001");
    EXPECT_EQ(g_stationlist[1].name, std::string(500, 'L'));  // a long line is a line
    EXPECT_EQ(g_stationlist[1].filter, "6.0 kHz ");  // an empty filter is 6000 Hz
}

TEST_F(Cdf, ImportAsksToSaveAModifiedListFirst) {
    dir.write("in.cdf", "A, 9.500000,AM,,,\n");
    SetList({MakeStation("Unsaved", 6.0)}, true);
    plat::message_box_script::PushAnswer(plat::IDCANCEL);
    EXPECT_FALSE(ImportCdf(kUseName, "in.cdf"));
    EXPECT_EQ(g_stationlist[0].name, "Unsaved");
    // A .cdf that is not there leaves the list alone.
    SetList({MakeStation("Kept", 6.0)});
    EXPECT_FALSE(ImportCdf(kUseName, "missing.cdf"));
    EXPECT_EQ(g_stationlist[0].name, "Kept");
}

TEST_F(Cdf, FilterWordsOfModelsWithoutNamedFilters) {
    g_radiotype = 2;
    g_filtercount = 3;
    ASSERT_FALSE(HasNamedFilters());
    EXPECT_EQ(ImportFilterWord("FIL1", "USB"), "FIL1");
    EXPECT_EQ(ImportFilterWord("FIL3", "USB"), "FIL3");
    EXPECT_EQ(ImportFilterWord("2400", "USB"), "FIL2");
    EXPECT_EQ(GetMemoryFilterIndex("FIL1"), 1);
    EXPECT_EQ(GetMemoryFilterIndex("FIL3"), 3);
    EXPECT_EQ(GetMemoryFilterIndex("3.6 kHz "), 2);
    g_radiotype = 23;
    g_filtercount = 41;
    EXPECT_EQ(GetMemoryFilterIndex("3.6 kHz "), 1);
    EXPECT_EQ(GetMemoryFilterIndex("2.4 kHz "), 13);
    EXPECT_EQ(GetMemoryFilterIndex("FIL2"), 0);
    EXPECT_EQ(GetMemoryFilterIndex("10.0 kHz ", true), 1);
}

TEST_F(Cdf, ImportNamesTheFirstFewSkippedLinesAndKeepsTheGoodStations) {
    g_radiotype = 23;
    std::string text;
    for (int n = 1; n <= 12; ++n)
        text += n % 2 ? "Net " + std::to_string(n) + ",14.300000,USB,2400,,\n" : "Off " + std::to_string(n) + ",95.0,FM,,,\n";
    dir.write("many.cdf", text);
    plat::message_box_script::Clear();
    ASSERT_TRUE(ImportCdf(kUseName, "many.cdf"));
    EXPECT_EQ(g_stationlist.size(), 6u);
    ASSERT_EQ(plat::message_box_script::History().size(), 1u);
    EXPECT_EQ(plat::message_box_script::History()[0].text.substr(0, 52),
              "6 lines were skipped: lines 2, 4, 6, 8, 10 and more.");
    // A clean file says nothing.
    dir.write("clean.cdf", "Net,14.300000,USB,2400,,\n");
    g_memmodified = 0;
    plat::message_box_script::Clear();
    ASSERT_TRUE(ImportCdf(kUseName, "clean.cdf"));
    EXPECT_TRUE(plat::message_box_script::History().empty());
    EXPECT_EQ(SkippedLinesText({}, 0), "");
    EXPECT_EQ(SkippedLinesText({}, 9), "The read stopped at line 9: it is too long.");
}
