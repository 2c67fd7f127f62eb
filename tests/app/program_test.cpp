// The whole program, started as an operator would start it.
#include <gtest/gtest.h>

#include <signal.h>

#include "common/program_runner.h"
#include "common/test_dir.h"

TEST(Program, StartsInEmptyDirectoryAndSavesOnSigterm) {
    TestDir dir;
    ProgramRunner qarv(dir.path());
    ASSERT_GT(qarv.pid(), 0);
    ASSERT_TRUE(qarv.WaitForText("comms.txt", "OnCreate exit", 10000));
    EXPECT_EQ(qarv.StopWith(SIGTERM, 10000), 0);
    const std::string ini = dir.read("qarv.ini");
    EXPECT_NE(ini.find("VERSION=V3.52"), std::string::npos);
    EXPECT_NE(ini.find("[SPECIAL]"), std::string::npos);
    const std::string trace = dir.read("comms.txt");
    EXPECT_EQ(trace.rfind("Log File Begin\r\nV3.52  \r\n", 0), 0u);
    EXPECT_NE(trace.find("calling saveoper"), std::string::npos);
    EXPECT_EQ(trace.substr(trace.size() - 14), "Log File End\r\n");
}

TEST(Program, SigintClosesTooAndTraceOffWritesNoLog) {
    TestDir dir;
    dir.write("qarv.ini", "[SPECIAL]\nTRACE=0\n[OPERATING STATUS]\nMEMORY1=KEEP@ME\n");
    ProgramRunner qarv(dir.path());
    ASSERT_GT(qarv.pid(), 0);
    // Nothing to wait for in a log: the signal may come at any time once
    // the program catches it, during start-up as well.
    ASSERT_TRUE(qarv.WaitForHandler(SIGINT, 10000));
    EXPECT_EQ(dir.read("qarv.ini").find("VERSION"), std::string::npos);  // rewritten only at close
    EXPECT_EQ(qarv.StopWith(SIGINT, 10000), 0);
    EXPECT_FALSE(dir.exists("comms.txt"));
    const std::string ini = dir.read("qarv.ini");
    EXPECT_NE(ini.find("MEMORY1=KEEP@ME"), std::string::npos);
    EXPECT_NE(ini.find("TRACE=0"), std::string::npos);
}

TEST(Program, ASignalDuringStartUpWaitsForTheWindowAndSaves) {
    TestDir dir;
    dir.write("qarv.ini", "[OPERATING STATUS]\nMEMORY1=KEEP@ME\n");
    ProgramRunner qarv(dir.path());
    ASSERT_GT(qarv.pid(), 0);
    // At once, while the program is still starting.
    ASSERT_TRUE(qarv.WaitForHandler(SIGTERM, 10000));
    EXPECT_EQ(qarv.StopWith(SIGTERM, 20000), 0);
    const std::string ini = dir.read("qarv.ini");
    EXPECT_NE(ini.find("VERSION=V3.52"), std::string::npos);
    EXPECT_NE(ini.find("MEMORY1=KEEP@ME"), std::string::npos);
    const std::string trace = dir.read("comms.txt");
    EXPECT_NE(trace.find("calling saveoper"), std::string::npos);
    EXPECT_EQ(trace.substr(trace.size() - 14), "Log File End\r\n");
}
