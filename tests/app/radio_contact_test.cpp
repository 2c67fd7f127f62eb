// The main frame against the simulated radio: start-up asks for frequency
// and mode, the device poll reads the answers, and the close order holds.
#include <gtest/gtest.h>

#include <signal.h>

#include <chrono>
#include <thread>

#include "app/app.h"
#include "app/main_frame.h"
#include "civ/frame_reader.h"
#include "common/program_runner.h"
#include "common/test_dir.h"
#include "platform/clock.h"
#include "sim/sim_radio.h"

TEST(RadioContact, StartupRequestsReachTheRadioAndItsAnswersAreRead) {
    TestDir dir;
    sim::SimRadio radio(0x94, 19200);
    ASSERT_TRUE(radio.ok());
    ASSERT_TRUE(radio.link(dir.file("ports/com1")));
    radio.start();
    dir.write("qarv.ini", "[INTERFACE]\nCOMPORT=COM1\nBAUD=19200\n[OPERATING STATUS]\nQARV=23\n");
    CApp app;
    ASSERT_TRUE(app.InitInstance());
    // The send pump writes the two requests, 50 ms apart.
    for (int i = 0; i < 40 && radio.frames().size() < 2; ++i) {
        plat::manual_clock::Advance(50);
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    auto frames = radio.frames();
    ASSERT_GE(frames.size(), 2u);
    EXPECT_EQ(frames[0], (sim::Bytes{0xFE, 0xFE, 0x94, 0xE0, 0x03, 0xFD}));
    EXPECT_EQ(frames[1], (sim::Bytes{0xFE, 0xFE, 0x94, 0xE0, 0x04, 0xFD}));
    for (int i = 0; i < 40 && g_radioheard == 0; ++i) {
        plat::manual_clock::Advance(10);
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    EXPECT_GE(g_radioheard, 1);
    app.ExitInstance();
    radio.stop();
}

TEST(RadioContact, SigtermRunsTheWholeCloseSequence) {
    TestDir dir;
    sim::SimRadio radio(0x94, 19200);
    ASSERT_TRUE(radio.link(dir.file("ports/com1")));
    radio.start();
    dir.write("qarv.ini", "[INTERFACE]\nCOMPORT=COM1\nBAUD=19200\n[OPERATING STATUS]\nQARV=23\nMUTE ALWAYS=2\n");
    ProgramRunner qarv(dir.path());
    ASSERT_TRUE(qarv.WaitForText("comms.txt", "Good Message 3", 10000));
    EXPECT_EQ(qarv.StopWith(SIGTERM, 10000), 0);
    const std::string log = dir.read("comms.txt");
    std::size_t at = 0;
    for (const char* line : {"close1", "close2", "calling saveoper", "back from saveoper", "Close 1", "Log File End"}) {
        const std::size_t p = log.find(line, at);
        ASSERT_NE(p, std::string::npos) << line;
        at = p;
    }
    EXPECT_NE(dir.read("qarv.ini").find("COMPORT=COM1"), std::string::npos);
    radio.stop();
}
