// The whole program, started as an operator would start it.
#include <gtest/gtest.h>

#include <signal.h>

#include <string>

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

namespace {
// The program started on `ini` and sent `sig` as soon as it catches it,
// while it is still starting as a rule; its exit status.
int SignalAtOnce(TestDir& dir, const std::string& ini, int sig) {
    dir.write("qarv.ini", ini);
    ProgramRunner qarv(dir.path());
    if (qarv.pid() <= 0 || !qarv.WaitForHandler(sig, 10000)) return -2;
    EXPECT_EQ(dir.read("qarv.ini"), ini);  // rewritten only at close
    return qarv.StopWith(sig, 20000);
}
}  // namespace

TEST(Program, SigintClosesTooAndTraceOffWritesNoLog) {
    TestDir dir;
    EXPECT_EQ(SignalAtOnce(dir, "[SPECIAL]\nTRACE=0\n[OPERATING STATUS]\nMEMORY1=KEEP@ME\n", SIGINT), 0);
    EXPECT_FALSE(dir.exists("comms.txt"));
    const std::string ini = dir.read("qarv.ini");
    EXPECT_NE(ini.find("MEMORY1=KEEP@ME"), std::string::npos);
    EXPECT_NE(ini.find("TRACE=0"), std::string::npos);
}

TEST(Program, ASignalDuringStartUpWaitsForTheWindowAndSaves) {
    TestDir dir;
    EXPECT_EQ(SignalAtOnce(dir, "[OPERATING STATUS]\nMEMORY1=KEEP@ME\n", SIGTERM), 0);
    const std::string ini = dir.read("qarv.ini");
    EXPECT_NE(ini.find("VERSION=V3.52"), std::string::npos);
    EXPECT_NE(ini.find("MEMORY1=KEEP@ME"), std::string::npos);
    const std::string trace = dir.read("comms.txt");
    EXPECT_NE(trace.find("calling saveoper"), std::string::npos);
    EXPECT_EQ(trace.substr(trace.size() - 14), "Log File End\r\n");
}
