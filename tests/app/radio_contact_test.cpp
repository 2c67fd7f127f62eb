// The main frame against the simulated radio: start-up asks for frequency
// and mode, the device poll reads the answers, and the close order holds.
#include <gtest/gtest.h>

#include <signal.h>

#include "app/app.h"
#include "app/main_frame.h"
#include "civ/civ_timers.h"
#include "civ/frame_reader.h"
#include "common/program_runner.h"
#include "common/sim_steps.h"
#include "common/test_dir.h"
#include "platform/clock.h"
#include "platform/keys.h"
#include "platform/types.h"
#include "sim/sim_radio.h"

namespace {
// The simulated IC-7300 on ports/com1 of the test directory, and the
// settings that point the program at it.
struct SimOnCom1 : sim::SimRadio {
    explicit SimOnCom1(const TestDir& dir, const std::string& extra = "") : sim::SimRadio(0x94, 19200) {
        EXPECT_TRUE(link(dir.file("ports/com1")));
        start();
        dir.write("qarv.ini", "[INTERFACE]\nCOMPORT=COM1\nBAUD=19200\n[OPERATING STATUS]\nQARV=23\n" + extra);
    }
    ~SimOnCom1() { stop(); }
};
}  // namespace

TEST(RadioContact, StartupRequestsReachTheRadioAndItsAnswersAreRead) {
    TestDir dir;
    SimOnCom1 radio(dir);
    CApp app;
    ASSERT_TRUE(app.InitInstance());
    // The send pump writes the frequency and mode requests, one frame per 50 ms.
    const sim::Bytes readFreq{0xFE, 0xFE, 0x94, 0xE0, 0x03, 0xFD};
    const sim::Bytes readMode{0xFE, 0xFE, 0x94, 0xE0, 0x04, 0xFD};
    auto position = [&](const sim::Bytes& f) {
        auto frames = radio.frames();
        for (std::size_t i = 0; i < frames.size(); ++i)
            if (frames[i] == f) return int(i);
        return -1;
    };
    simsteps::RunUntil([&] { return position(readMode) >= 0; }, 5000, {&radio});
    ASSERT_GE(position(readFreq), 0);
    EXPECT_GT(position(readMode), position(readFreq));
    simsteps::RunUntil([] { return g_radioheard != 0; }, 400, {&radio});
    EXPECT_GE(g_radioheard, 1);
    app.ExitInstance();
}

TEST(RadioContact, SigtermRunsTheWholeCloseSequence) {
    TestDir dir;
    SimOnCom1 radio(dir, "MUTE ALWAYS=2\n");
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
}

TEST(RadioContact, FirstContactInitialisesAndTheArrowKeysTuneTheRadio) {
    TestDir dir;
    SimOnCom1 radio(dir);
    CApp app;
    ASSERT_TRUE(app.InitInstance());
    auto run = [&](int ms) { simsteps::Run(ms, {&radio}); };
    for (int i = 0; i < 30 && !g_mainwin->HasTimer(TIMER_METER_CYCLE); ++i) run(500);
    // The frequency reply was the first contact: the radio is initialised and
    // the meter tick runs.
    EXPECT_EQ(g_radioheard, 2);
    ASSERT_TRUE(g_mainwin->HasTimer(TIMER_METER_CYCLE));
    run(2000);
    const long long before = radio.frequency(0);
    g_mainwin->SendMessage(plat::WM_KEYDOWN, plat::VK_RIGHT);
    for (int i = 0; i < 40 && radio.frequency(0) == before; ++i) run(100);
    EXPECT_NE(radio.frequency(0), before);
    EXPECT_NE(dir.read("comms.txt").find("key down 39"), std::string::npos);
    app.ExitInstance();
}
