#include <gtest/gtest.h>

#include <regex>

#include "base/trace_log.h"
#include "common/test_dir.h"
#include "platform/clock.h"

TEST(TraceLog, BeginLineVersionAndStampedLines) {
    TestDir dir;
    g_trace = 3;
    OpenTraceFile();
    plat::manual_clock::Advance((65536 - plat::GetTickCount() % 65536) + 42);  // tick & 0xFFFF == 42
    WriteTrace("hello");
    WriteTracef("n=%d", 5);
    WriteTrace("two\nlines");
    EndTraceFile();
    WriteTrace("after end");  // dropped
    CloseTraceStream();
    EXPECT_EQ(dir.read("comms.txt"),
              "Log File Begin\r\nV3.52  \r\n00042 hello\r\n00042 n=5\r\n00042 two\nlines\r\nLog File End\r\n");
}

TEST(TraceLog, LevelZeroWritesNoFileAndKeepsRotations) {
    TestDir dir;
    dir.write("comms2.txt", "old");
    g_trace = 0;
    WriteTrace("x");
    EXPECT_FALSE(dir.exists("comms.txt"));
    EXPECT_TRUE(dir.exists("comms2.txt"));
}

TEST(TraceLog, OpeningDeletesOldRotations) {
    TestDir dir;
    dir.write("comms2.txt", "old");
    dir.write("comms3.txt", "old");
    g_trace = 1;
    OpenTraceFile();
    EXPECT_FALSE(dir.exists("comms2.txt"));
    EXPECT_FALSE(dir.exists("comms3.txt"));
    CloseTraceStream();
}

TEST(TraceLog, RotatesAlternatelyAndLeavesTheFirstFile) {
    TestDir dir;
    g_trace = 3;
    SetTraceRotateLimit(80);
    OpenTraceFile();
    const std::string line(60, 'x');
    WriteTrace(line);  // comms.txt passes 80 bytes: next lines go to comms2
    const std::string first = dir.read("comms.txt");
    WriteTrace("a" + line);
    WriteTrace("b" + line);  // comms2 full: on to comms3
    WriteTrace("c" + line);
    WriteTrace("d" + line);  // comms3 full: a fresh comms2
    WriteTrace("e");
    CloseTraceStream();
    EXPECT_EQ(dir.read("comms.txt"), first);
    EXPECT_NE(dir.read("comms3.txt").find("c" + line), std::string::npos);
    std::string c2 = dir.read("comms2.txt");
    EXPECT_EQ(c2.find("a" + line), std::string::npos);  // truncated on reuse
    EXPECT_NE(c2.find(" e\r\n"), std::string::npos);
}
