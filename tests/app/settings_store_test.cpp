#include <gtest/gtest.h>

#include <cstring>

#include "app/settings_load.h"
#include "base/settings_table.h"
#include "base/trace_log.h"
#include "common/test_dir.h"
#include "devices/cw_keyboard.h"
#include "platform/profile.h"

namespace {
// Count of "writing" lines in the trace: each is one key that was saved.
int WritesIn(const std::string& trace) {
    int n = 0;
    for (std::size_t p = trace.find(" writing "); p != std::string::npos; p = trace.find(" writing ", p + 1)) ++n;
    return n;
}

struct SettingsFixture : ::testing::Test {
    TestDir dir;
    std::string path() { return dir.file("qarv.ini"); }
    void StartTrace() {
        g_trace = 3;
        OpenTraceFile();
    }
};
}  // namespace

TEST_F(SettingsFixture, WriteIniKeySkipsUnchangedValuesOnly) {
    dir.write("qarv.ini",
              "[OPERATING STATUS]\n"
              "CALL=w1aw\n"
              "STEP = 10\n"
              "FREQ=14.025000\n"
              "PAD=5   \n"
              "[CW WINDOW POPOUT]\n"
              "LOCATION=0001 0002\n");
    LoadIniText(path());
    StartTrace();
    WriteIniKey("operating status", "call", "w1aw", path());       // same: names without case
    WriteIniKey("OPERATING STATUS", "CALL", "W1AW", path());       // case of the value changed: saved
    WriteIniKey("OPERATING STATUS", "STEP", "10", path());         // blank before '=': not recognised
    WriteIniKey("OPERATING STATUS", "FREQ", "014.025000", path()); // different form: rewritten
    WriteIniKey("OPERATING STATUS", "PAD", "5", path());           // stored trailing blanks: rewritten
    WriteIniKey("OPERATING STATUS", "NEW", "1   ", path());        // trailing blanks of the new value ignored
    // "[CW WINDOW" must not match "[CW WINDOW POPOUT]".
    WriteIniKey("CW WINDOW", "LOCATION", "0001 0002", path());
    EndTraceFile();
    CloseTraceStream();
    std::string trace = dir.read("comms.txt");
    EXPECT_EQ(trace.find("writing operating status call"), std::string::npos);
    EXPECT_NE(trace.find("writing OPERATING STATUS CALL W1AW"), std::string::npos);
    EXPECT_NE(trace.find("writing OPERATING STATUS STEP 10"), std::string::npos);
    EXPECT_NE(trace.find("writing OPERATING STATUS FREQ 014.025000"), std::string::npos);
    EXPECT_NE(trace.find("writing OPERATING STATUS PAD 5"), std::string::npos);
    EXPECT_NE(trace.find("writing CW WINDOW LOCATION"), std::string::npos);
    EXPECT_EQ(WritesIn(trace), 6);
    EXPECT_EQ(plat::ProfileReadString("OPERATING STATUS", "CALL", "", path()), "W1AW");
    EXPECT_EQ(plat::ProfileReadString("CW WINDOW", "LOCATION", "", path()), "0001 0002");
}

TEST_F(SettingsFixture, KeysPastTheCacheAreAlwaysWritten) {
    std::string text = "[OPERATING STATUS]\n";
    while (text.size() < 40000) text += "FILLER" + std::to_string(text.size()) + "=1\n";
    text += "LATE=1\n";
    dir.write("qarv.ini", text);
    LoadIniText(path());
    EXPECT_EQ(IniCacheLength(), 32000);
    StartTrace();
    WriteIniKey("OPERATING STATUS", "LATE", "1", path());
    WriteIniKey("OPERATING STATUS", "FILLER19", "1", path());
    CloseTraceStream();
    EXPECT_EQ(WritesIn(dir.read("comms.txt")), 1);
}

// A value that the 32000-byte cache cuts short is not known: a new value that
// equals the cut part must still be written.
TEST_F(SettingsFixture, ValueCutByTheCacheEndIsWritten) {
    std::string text = "[OPERATING STATUS]\n";
    while (text.size() < 31989) text += "F" + std::to_string(text.size()) + "=1\n";
    text.resize(31989, 'X');  // pad the last filler value to the exact place
    text += "\nCALLSIGN=W1AWXYZ\n";
    dir.write("qarv.ini", text);
    LoadIniText(path());
    ASSERT_EQ(IniCacheLength(), 32000);  // the cache ends after "CALLSIGN=W"
    WriteIniKey("OPERATING STATUS", "CALLSIGN", "W", path());
    EXPECT_EQ(plat::ProfileReadString("OPERATING STATUS", "CALLSIGN", "", path()), "W");
}

// Without a final line end the last value ends with the file and is known.
TEST_F(SettingsFixture, LastValueWithoutLineEndCompares) {
    dir.write("qarv.ini", "[OPERATING STATUS]\nCALLSIGN=W1AW");
    LoadIniText(path());
    StartTrace();
    WriteIniKey("OPERATING STATUS", "CALLSIGN", "W1AW", path());
    CloseTraceStream();
    EXPECT_EQ(WritesIn(dir.read("comms.txt")), 0);
}

TEST_F(SettingsFixture, IniLineLengthCountsTheLineEnd) {
    dir.write("qarv.ini", "[A]\r\nk=1\r\nlast");
    LoadIniText(path());
    EXPECT_EQ(IniCacheLength(), 12);  // CR LF read as LF
    EXPECT_EQ(IniLineLength(0), 4);
    EXPECT_EQ(IniLineLength(4), 4);
    EXPECT_EQ(IniLineLength(8), 5);  // stops at the end and still adds one
}

TEST_F(SettingsFixture, MacroBlanksSurviveASaveAndLoad) {
    std::strcpy(g_cwmacro[0], " CQ  TEST ");
    std::strcpy(g_cwmacro[1], "DE@W1AW");
    saveoper();
    EXPECT_NE(dir.read("qarv.ini").find("MEMORY1=@CQ@@TEST@"), std::string::npos);
    std::memset(g_cwmacro, 0, sizeof g_cwmacro);
    LoadSettings(path());
    EXPECT_STREQ(g_cwmacro[0], " CQ  TEST ");
    EXPECT_STREQ(g_cwmacro[1], "DE W1AW");  // a typed '@' loads as a blank
}

TEST_F(SettingsFixture, SecondSaveChangesNothing) {
    dir.write("qarv.ini", "[SPECIAL]\nTRACE=3\n[OPERATING STATUS]\nMEMORY1=@A\nUNKNOWN=kept\n");
    LoadSettings(path());
    saveoper();
    const std::string first = dir.read("qarv.ini");
    EXPECT_NE(first.find("UNKNOWN=kept"), std::string::npos);
    ClearIniCache();
    LoadSettings(path());
    StartTrace();
    saveoper();
    CloseTraceStream();
    EXPECT_EQ(dir.read("qarv.ini"), first);
    EXPECT_EQ(WritesIn(dir.read("comms.txt")), 0) << dir.read("comms.txt");
}

TEST_F(SettingsFixture, GarbageOrEmptyFileGivesDefaults) {
    dir.write("qarv.ini", std::string("\x01\x02garbage\n[[[\n=\n[OPERATING STATUS\nMEMORY1\n", 42));
    LoadSettings(path());
    EXPECT_STREQ(g_cwmacro[0], "");
    dir.write("qarv.ini", "");
    LoadSettings(path());
    saveoper();
    EXPECT_NE(dir.read("qarv.ini").find("VERSION=V3.52"), std::string::npos);
}

TEST_F(SettingsFixture, SaveGoesToTheStartDirectoryAndCrashFlagToo) {
    LoadSettings(path());
    TestDir other;  // a file dialog moved the current directory
    saveoper();
    SetMemoryCrashFlag(1);
    EXPECT_FALSE(other.exists("qarv.ini"));
    EXPECT_EQ(plat::ProfileReadString("OPERATING STATUS", "MEMORY CRASH", "", dir.file("qarv.ini")), "1");
}

TEST(SettingsPath, SingleSeparator) {
    EXPECT_EQ(SettingsPathFor("/home/op"), "/home/op/qarv.ini");
    EXPECT_EQ(SettingsPathFor("/"), "/qarv.ini");
}

TEST(SettingsText, AtAndSpaceConversions) {
    char t[] = " a  b ";
    SpacesToAt(t);
    EXPECT_STREQ(t, "@a@@b@");
    AtToSpaces(t);
    EXPECT_STREQ(t, " a  b ");
}
