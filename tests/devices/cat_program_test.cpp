// The whole program with a CAT-out port: the device poll reads it, the
// follower tells the logger the frequency, a query is answered and a
// frequency set reaches the simulated radio.
#include <gtest/gtest.h>

#include <cmath>

#include "app/app.h"
#include "app/main_frame.h"
#include "civ/civ_options.h"
#include "civ/frequency_state.h"
#include "civ/radio_init.h"
#include "civ/radio_port.h"
#include "common/real_waits.h"
#include "common/sim_steps.h"
#include "common/test_dir.h"
#include "platform/clock.h"
#include "platform/keys.h"
#include "platform/types.h"
#include "sim/sim_radio.h"

namespace {

// Runs the program until the logger has heard `want`; everything heard.
std::string Until(realwait::PortEnd& logger, const std::string& want, const sim::SimRadio& radio, int ms = 2000) {
    std::string got;
    simsteps::RunUntil([&] {
        got += logger.takeText();
        return got.find(want) != std::string::npos;
    }, ms, {&radio});
    return got;
}

// The simulated radio on COM1 and a logger's terminal on COM5.
struct LoggerStation {
    TestDir dir;
    sim::SimRadio radio{0x94, 19200};
    PtyPair logger;
    realwait::PortEnd loggerEnd{logger};
    bool start() {
        if (!radio.link(dir.file("ports/com1")) || !logger.link(dir.file("ports/com5"))) return false;
        radio.start();
        return true;
    }
};

}  // namespace

TEST(CatProgram, LoggerOnComFiveReadsAndSetsTheRadio) {
    LoggerStation st;
    ASSERT_TRUE(st.start());
    TestDir& dir = st.dir;
    sim::SimRadio& radio = st.radio;
    realwait::PortEnd& loggerEnd = st.loggerEnd;
    dir.write("qarv.ini",
              "[INTERFACE]\nCOMPORT=COM1\nBAUD=19200\nTHP COMPORT=COM5\n"
              "[OPERATING STATUS]\nQARV=23\nTHP=1\n");
    CApp app;
    ASSERT_TRUE(app.InitInstance());
    // First contact puts the saved VFO A on the radio; the logger is told it.
    simsteps::RunUntil([&] { return g_allowed && radio.frequency(0) == 14025000; }, 30000, {&radio});
    ASSERT_EQ(radio.frequency(0), 14025000);
    EXPECT_NE(Until(loggerEnd, "FA00014025000;", radio, 1000).find("FA00014025000;"), std::string::npos);
    loggerEnd.give("IF;");
    const std::string status = Until(loggerEnd, " ;", radio);
    const std::size_t at = status.find("IF00014025000");
    ASSERT_NE(at, std::string::npos) << status;
    EXPECT_EQ(status.size() - at, 38u) << status;
    // Outside the hold-off after the program's own tuning a set is taken at once.
    simsteps::RunUntil([] { return !g_tuning; }, 2000, {&radio});
    loggerEnd.give("FA00014100000;");
    simsteps::RunUntil([&] { return radio.frequency(0) == 14100000; }, 4000, {&radio});
    EXPECT_EQ(radio.frequency(0), 14100000);
    app.ExitInstance();
    radio.stop();
}

TEST(CatProgram, ASetDuringTheHoldOffIsCarriedOutWhenItEnds) {
    LoggerStation st;
    ASSERT_TRUE(st.start());
    TestDir& dir = st.dir;
    sim::SimRadio& radio = st.radio;
    realwait::PortEnd& loggerEnd = st.loggerEnd;
    // A polling logger: every frequency sent to the radio holds its reports off.
    dir.write("qarv.ini",
              "[INTERFACE]\nCOMPORT=COM1\nBAUD=19200\nTHP COMPORT=COM5\n"
              "[OPERATING STATUS]\nQARV=23\nTHP=1\nTHP POLL=1\n");
    CApp app;
    ASSERT_TRUE(app.InitInstance());
    simsteps::RunUntil([&] { return g_allowed && radio.frequency(0) == 14025000; }, 30000, {&radio});
    simsteps::RunUntil([] { return !g_tuning; }, 2000, {&radio});
    ASSERT_FALSE(g_tuning);

    loggerEnd.give("FA00014100000;");
    ASSERT_GE(simsteps::RunUntil([&] { return radio.frequency(0) == 14100000; }, 1000, {&radio}), 0);
    ASSERT_TRUE(g_tuning);
    // The logger's next set comes inside the hold: it takes effect when the
    // hold ends, not never.
    loggerEnd.give("FA00014200000;");
    simsteps::Run(200, {&radio});
    EXPECT_EQ(radio.frequency(0), 14100000);
    EXPECT_GE(simsteps::RunUntil([&] { return radio.frequency(0) == 14200000; }, 1500, {&radio}), 0);
    EXPECT_DOUBLE_EQ(g_vfoafreq, 14.2);

    // A held set that the operator's own tuning overtakes is not carried out.
    ASSERT_TRUE(g_tuning);
    loggerEnd.give("FA00014300000;");
    simsteps::Run(20, {&radio});
    g_mainwin->SendMessage(plat::WM_KEYDOWN, plat::VK_RIGHT);
    simsteps::Run(2000, {&radio});
    EXPECT_GT(radio.frequency(0), 14200000);  // a step up from where it was
    EXPECT_LT(radio.frequency(0), 14300000);
    EXPECT_EQ(radio.frequency(0), std::llround(g_vfoafreq * 1e6));
    for (const sim::Bytes& f : radio.frames())
        EXPECT_FALSE(f.size() >= 10 && sim::BcdToHz(f.data() + f.size() - 6) == 14300000);
    app.ExitInstance();
    radio.stop();
}
