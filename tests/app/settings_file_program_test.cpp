// The settings file through whole runs of the program: a file grown large
// by another program's sections and a value longer than its field both come
// back from a start and close exactly as they were.
#include <gtest/gtest.h>

#include <signal.h>

#include <string>

#include "common/program_runner.h"
#include "common/test_dir.h"

namespace {
std::string ForeignSections(std::size_t bytes) {
    std::string text;
    for (int s = 0; text.size() < bytes; ++s) {
        text += "[OTHER PROGRAM " + std::to_string(s) + "]\r\n";
        for (int k = 0; k < 40; ++k) text += "Entry" + std::to_string(k) + "=value of another program\r\n";
    }
    return text;
}
}  // namespace

TEST(SettingsFile, ALargeFileAndAnOverlongCallSignComeBackUnchanged) {
    TestDir dir;
    const std::string foreign = ForeignSections(4u << 20);
    const std::string call(5000, 'W');
    dir.write("qarv.ini", foreign + "[OPERATING STATUS]\r\nCALLSIGN=" + call + "\r\n");
    {
        ProgramRunner qarv(dir.path());
        ASSERT_TRUE(qarv.WaitForText("comms.txt", "OnCreate exit", 20000));
        EXPECT_EQ(qarv.StopWith(SIGTERM, 20000), 0);
    }
    const std::string settled = dir.read("qarv.ini");
    EXPECT_EQ(settled.compare(0, foreign.size(), foreign), 0);
    EXPECT_NE(settled.find("CALLSIGN=" + call + "\r\n"), std::string::npos);
    EXPECT_NE(dir.read("comms.txt").find("CALLSIGN is longer than 39 characters"), std::string::npos);

    // Closed while it still loads: the close waits for the window, and a
    // run that changed nothing leaves the file as it was.
    ProgramRunner qarv(dir.path());
    ASSERT_TRUE(qarv.WaitForHandler(SIGTERM, 10000));
    EXPECT_EQ(qarv.StopWith(SIGTERM, 20000), 0);
    EXPECT_EQ(dir.read("qarv.ini"), settled);
    EXPECT_NE(dir.read("comms.txt").find("back from saveoper"), std::string::npos);
}
