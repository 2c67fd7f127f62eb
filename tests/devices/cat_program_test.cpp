// The whole program with a CAT-out port: the device poll reads it, the
// follower tells the logger the frequency, a query is answered and a
// frequency set reaches the simulated radio.
#include <gtest/gtest.h>

#include "app/app.h"
#include "civ/civ_options.h"
#include "civ/frequency_state.h"
#include "civ/radio_init.h"
#include "civ/radio_port.h"
#include "common/real_waits.h"
#include "common/sim_steps.h"
#include "common/test_dir.h"
#include "platform/clock.h"
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

}  // namespace

TEST(CatProgram, LoggerOnComFiveReadsAndSetsTheRadio) {
    TestDir dir;
    sim::SimRadio radio(0x94, 19200);
    PtyPair logger;
    realwait::PortEnd loggerEnd(logger);
    ASSERT_TRUE(radio.link(dir.file("ports/com1")));
    ASSERT_TRUE(logger.link(dir.file("ports/com5")));
    radio.start();
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
    // A set inside the hold-off after the program's own tuning is not taken.
    simsteps::RunUntil([] { return !g_tuning; }, 2000, {&radio});
    loggerEnd.give("FA00014100000;");
    simsteps::RunUntil([&] { return radio.frequency(0) == 14100000; }, 4000, {&radio});
    EXPECT_EQ(radio.frequency(0), 14100000);
    app.ExitInstance();
    radio.stop();
}
