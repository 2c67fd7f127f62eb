// The whole program with a CAT-out port: the device poll reads it, the
// follower tells the logger the frequency, a query is answered and a
// frequency set reaches the simulated radio.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "app/app.h"
#include "civ/civ_options.h"
#include "civ/frequency_state.h"
#include "civ/radio_init.h"
#include "civ/radio_port.h"
#include "common/test_dir.h"
#include "platform/clock.h"
#include "sim/sim_radio.h"

namespace {

std::string Until(PtyPair& logger, const std::string& want, int steps = 200) {
    std::string got;
    for (int k = 0; k < steps && got.find(want) == std::string::npos; ++k) {
        plat::manual_clock::Advance(10);
        const sim::Bytes b = logger.read(1, 2);
        got.append(b.begin(), b.end());
    }
    return got;
}

}  // namespace

TEST(CatProgram, LoggerOnComFiveReadsAndSetsTheRadio) {
    TestDir dir;
    sim::SimRadio radio(0x94, 19200);
    PtyPair logger;
    ASSERT_TRUE(radio.link(dir.file("ports/com1")));
    ASSERT_TRUE(logger.link(dir.file("ports/com5")));
    radio.start();
    dir.write("qarv.ini",
              "[INTERFACE]\nCOMPORT=COM1\nBAUD=19200\nTHP COMPORT=COM5\n"
              "[OPERATING STATUS]\nQARV=23\nTHP=1\n");
    CApp app;
    ASSERT_TRUE(app.InitInstance());
    // First contact puts the saved VFO A on the radio; the logger is told it.
    for (int k = 0; k < 3000 && !(g_allowed && radio.frequency(0) == 14025000); ++k) {
        plat::manual_clock::Advance(10);
        if (k % 10 == 0) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    ASSERT_EQ(radio.frequency(0), 14025000);
    EXPECT_NE(Until(logger, "FA00014025000;", 100).find("FA00014025000;"), std::string::npos);
    const std::string q = "IF;";
    logger.write(sim::Bytes(q.begin(), q.end()));
    const std::string status = Until(logger, " ;");
    const std::size_t at = status.find("IF00014025000");
    ASSERT_NE(at, std::string::npos) << status;
    EXPECT_EQ(status.size() - at, 38u) << status;
    // A set inside the hold-off after the program's own tuning is not taken.
    for (int k = 0; k < 200 && g_tuning; ++k) plat::manual_clock::Advance(10);
    const std::string set = "FA00014100000;";
    logger.write(sim::Bytes(set.begin(), set.end()));
    for (int k = 0; k < 400 && radio.frequency(0) != 14100000; ++k) {
        plat::manual_clock::Advance(10);
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    EXPECT_EQ(radio.frequency(0), 14100000);
    app.ExitInstance();
    radio.stop();
}
