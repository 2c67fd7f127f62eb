// The whole program with a logger on COM5: a logger that stops reading while
// the radio's knob turns costs the program nothing and gets the latest state,
// in whole commands, once it reads again; a radio that reports digits above
// 9 moves nothing.
#include <gtest/gtest.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <regex>
#include <string>

#include "app/app.h"
#include "app/main_frame.h"
#include "civ/civ_options.h"
#include "civ/civ_timers.h"
#include "common/real_waits.h"
#include "common/sim_steps.h"
#include "common/test_dir.h"
#include "platform/event_loop.h"
#include "sim/sim_radio.h"

namespace {

struct LoggedStation {
    TestDir dir;
    sim::SimRadio radio{0x94, 19200};
    PtyPair logger;
    CApp app;
    std::uint64_t base = 0, junk = 0, seen = 0;  // the program's bytes before, the test's filler, all read

    LoggedStation() {
        EXPECT_TRUE(radio.link(dir.file("ports/com1")) && logger.link(dir.file("ports/com5")));
        dir.write("qarv.ini", "[INTERFACE]\nCOMPORT=COM1\nBAUD=19200\nTHP COMPORT=COM5\n[OPERATING STATUS]\n"
                              "QARV=23\nTHP=1\nVFO-A FREQUENCY=14.074000\n[SPECIAL]\nTRACE=3\n");
        radio.start();
        EXPECT_TRUE(app.InitInstance());
        simsteps::RunUntil([] { return g_mainwin->HasTimer(TIMER_METER_CYCLE); }, 30000, {&radio});
        simsteps::Run(3000, {&radio});
        base = plat::SerialTraffic(logger.slavePath()).written;
    }
    ~LoggedStation() { radio.stop(); }
    // The logger's input full and the line taking no more (the kernel moves
    // bytes across a little after they were written).
    void stall() {
        const std::string fill(512, ';');
        realwait::Wait([&] {
            bool took = false;
            for (ssize_t n; (n = ::write(logger.spareSlave(), fill.data(), fill.size())) > 0; took = true)
                junk += std::uint64_t(n);
            int held = 0;
            ::ioctl(logger.master(), FIONREAD, &held);
            return !took && held >= 4095;
        });
    }
    // Everything the logger has been sent, without the filler.
    std::string read() {
        std::string got, text;
        realwait::Wait([&] {
            char buf[4096];
            for (ssize_t n; (n = ::read(logger.master(), buf, sizeof buf)) > 0; seen += std::uint64_t(n))
                got.append(buf, std::size_t(n));
            return seen >= junk + plat::SerialTraffic(logger.slavePath()).written - base;
        });
        for (char c : got)
            if (c != ';' || (!text.empty() && text.back() != ';')) text.push_back(c);
        return text;
    }
    void turn(long long hz) {
        radio.setFrequency(hz);
        radio.sendTransceiveFrequency();
        simsteps::Run(10, {&radio});
    }
    std::string trace() { return dir.read("comms.txt") + dir.read("comms2.txt") + dir.read("comms3.txt"); }
    int closeBySignal() {
        g_mainwin->SendMessage(plat::WM_CLOSE, plat::kCloseBySignal);
        return simsteps::RunUntil([] { return g_mainwin->Closed(); }, 5000, {&radio});
    }
};

std::string LastFa(const std::string& text) {
    const std::size_t at = text.rfind("FA");
    return at == std::string::npos ? std::string() : text.substr(at, 14);
}

}  // namespace

TEST(CatStalled, LoggerThatStopsReadingIsLeftBehindAndGetsTheLatestStateBack) {
    LoggedStation s;
    s.read();
    s.stall();
    s.radio.takeFrames();
    long long hz = 14074000;
    for (int step = 0; step < 200; ++step) s.turn(hz += 10);  // 2 s at 100 steps a second
    simsteps::Run(200, {&s.radio});
    EXPECT_EQ(g_vfoafreq, 14.076);
    int polls = 0;
    for (const auto& f : s.radio.takeFrames()) polls += f.size() == 7 && f[4] == 0x15 && f[5] == 0x02;
    EXPECT_GE(polls, 10) << "the meter poll every 200 ms";
    EXPECT_NE(s.trace().find("THP port 1 not reading, its output left behind"), std::string::npos);

    std::string text = s.read();
    simsteps::Run(100, {&s.radio});
    text += s.read();
    EXPECT_EQ(LastFa(text), "FA00014076000;") << text;
    EXPECT_EQ(std::regex_replace(text, std::regex("(FA[0-9]{11}|MD[0-9]);"), ""), "") << text;
    EXPECT_NE(s.trace().find("THP port 1 reading again"), std::string::npos);

    s.stall();
    for (int step = 0; step < 50; ++step) s.turn(hz += 10);
    const int closeMs = s.closeBySignal();
    EXPECT_TRUE(closeMs >= 0 && closeMs <= 2000) << closeMs;
    s.app.ExitInstance();
    EXPECT_NE(s.dir.read("qarv.ini").find("VFO-A FREQUENCY=14.076500"), std::string::npos);
}

TEST(CatStalled, FrequencyWithDigitsAboveNineIsRefused) {
    LoggedStation s;
    s.read();
    // 15,544,332,210 Hz as read digit by digit; then one bad nibble.
    s.radio.sendRaw({0xFE, 0xFE, 0x00, 0x94, 0x00, 0xAA, 0xBB, 0xCC, 0xDD, 0xEE, 0xFD});
    s.radio.sendRaw({0xFE, 0xFE, 0x00, 0x94, 0x00, 0x00, 0x50, 0x0A, 0x14, 0x00, 0xFD});
    simsteps::Run(1000, {&s.radio});
    EXPECT_EQ(g_vfoafreq, 14.074);
    EXPECT_EQ(s.read(), "") << "nothing passed on to the logger";
    EXPECT_NE(s.trace().find("Throw away bad BCD FE FE 00 94 00 AA BB CC DD EE FD"), std::string::npos);
    s.turn(14100000);
    simsteps::Run(300, {&s.radio});
    EXPECT_EQ(LastFa(s.read()), "FA00014100000;");
    s.radio.sendRaw({0xFE, 0xFE, 0x00, 0x94, 0x00, 0xAA, 0xBB, 0xCC, 0xDD, 0xEE, 0xFD});
    simsteps::Run(300, {&s.radio});
    ASSERT_GE(s.closeBySignal(), 0);
    s.app.ExitInstance();
    const std::string ini = s.dir.read("qarv.ini");
    EXPECT_NE(ini.find("VFO-A FREQUENCY=14.100000"), std::string::npos) << ini;
    EXPECT_EQ(ini.find("15544"), std::string::npos) << ini;
}

TEST(CatStalled, ALoggerThatAskedMuchWhileStalledStillGetsTheFrequencyNewestLast) {
    LoggedStation s;
    s.read();
    // Stalled for good: the program has found the logger not reading.
    long long hz = 14074000;
    for (int k = 0; k < 50 && s.trace().find("left behind") == std::string::npos; ++k) {
        s.stall();
        s.turn(hz += 10);
    }
    auto ask = [&](const std::string& q) {
        EXPECT_EQ(::write(s.logger.master(), q.data(), q.size()), ssize_t(q.size()));
        simsteps::Run(100, {&s.radio});
    };
    ask("IF;");  // its status answer waits, at 14.074 MHz
    s.turn(7074000);
    simsteps::Run(300, {&s.radio});
    ASSERT_EQ(g_vfoafreq, 7.074);
    // More kinds of question than there used to be room for.
    ask("PC;SB;FI;BW;IS;FW;TQ;SM;AI;MX;LK;RM;PT;SH;SL;K2;ID;");
    std::string text = s.read();
    simsteps::Run(100, {&s.radio});
    text += s.read();
    EXPECT_EQ(LastFa(text), "FA00007074000;") << text;
    // The older status comes before the newer frequency.
    EXPECT_LT(text.find("IF00014074"), text.rfind("FA00007074000;")) << text;
}
