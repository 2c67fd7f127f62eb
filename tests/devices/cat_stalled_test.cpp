// The whole program with a logger on a CAT-out port: a logger that stops
// reading while the radio's knob turns costs the program nothing (the meter
// poll keeps its rate, the close completes) and gets the latest state, in
// whole commands, once it reads again; a radio that reports a frequency in
// digits above 9 moves nothing.
#include <fcntl.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <regex>
#include <string>

#include "app/app.h"
#include "app/main_frame.h"
#include "civ/civ_options.h"
#include "civ/frequency_state.h"
#include "civ/radio_init.h"
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
    std::uint64_t base = 0;   // the program's writes to the logger before the test read any
    std::uint64_t junk = 0;   // bytes the test put in the logger's way
    std::uint64_t seen = 0;   // bytes the logger has read

    LoggedStation() {
        EXPECT_TRUE(radio.link(dir.file("ports/com1")));
        EXPECT_TRUE(logger.link(dir.file("ports/com5")));
        dir.write("qarv.ini",
                  "[INTERFACE]\nCOMPORT=COM1\nBAUD=19200\nTHP COMPORT=COM5\n"
                  "[OPERATING STATUS]\nQARV=23\nTHP=1\nVFO-A FREQUENCY=14.074000\n[SPECIAL]\nTRACE=3\n");
        radio.start();
        EXPECT_TRUE(app.InitInstance());
        simsteps::RunUntil([&] { return g_allowed && radio.frequency(0) == 14074000; }, 30000, {&radio});
        base = plat::SerialTraffic(logger.slavePath()).written;
    }
    ~LoggedStation() { radio.stop(); }

    // SIGTERM's close, on the program's clock; the time it took or -1.
    int closeBySignal() {
        g_mainwin->SendMessage(plat::WM_CLOSE, plat::kCloseBySignal);
        return simsteps::RunUntil([] { return g_mainwin->Closed(); }, 5000, {&radio});
    }

    // The logger stops reading with its input full: the terminal takes
    // nothing more from the program.
    void stall() {
        const std::string fill(512, ';');
        while (::write(logger.spareSlave(), fill.data(), fill.size()) > 0) junk += fill.size();
    }
    // The logger reads everything there is; the program's own bytes without
    // the test's filler.
    std::string read() {
        std::string got;
        realwait::Wait([&] {
            char buf[4096];
            for (ssize_t n; (n = ::read(logger.master(), buf, sizeof buf)) > 0;) {
                got.append(buf, std::size_t(n));
                seen += std::uint64_t(n);
            }
            return seen >= junk + plat::SerialTraffic(logger.slavePath()).written - base;
        });
        std::string text;
        for (char c : got)
            if (c != ';' || (!text.empty() && text.back() != ';')) text.push_back(c);
        return text;
    }
    // The radio's knob one step up, announced as the radio does.
    void turn(long long hz) {
        radio.setFrequency(hz);
        radio.sendTransceiveFrequency();
    }
    int meterPolls() {
        int n = 0;
        for (const auto& f : radio.takeFrames())
            if (f.size() == 7 && f[4] == 0x15 && f[5] == 0x02) ++n;
        return n;
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
    // Two seconds of the knob at 100 steps a second, nobody reading.
    long long hz = 14074000;
    for (int step = 0; step < 200; ++step) {
        s.turn(hz += 10);
        simsteps::Run(10, {&s.radio});
    }
    simsteps::Run(200, {&s.radio});
    EXPECT_EQ(g_vfoafreq, 14.076);
    EXPECT_GE(s.meterPolls(), 9) << "the 200 ms meter poll kept its rate";
    EXPECT_NE(s.dir.read("comms.txt").find("THP port 1 not reading, its output left behind"), std::string::npos);

    // Reading again, the logger is told where the radio is now, and every
    // command it got is whole.
    std::string text = s.read();
    simsteps::Run(100, {&s.radio});
    text += s.read();
    EXPECT_EQ(LastFa(text), "FA00014076000;") << text;
    const std::regex whole("(FA[0-9]{11}|MD[0-9]|ID|[A-Z]{2}[^;]*);");
    std::string rest = std::regex_replace(text, whole, "");
    EXPECT_EQ(rest, "") << text;
    EXPECT_NE(s.dir.read("comms.txt").find("THP port 1 reading again"), std::string::npos);

    // Stalled again, the knob turns on; the close does not wait on the logger.
    s.stall();
    for (int step = 0; step < 50; ++step) {
        s.turn(hz += 10);
        simsteps::Run(10, {&s.radio});
    }
    const int closeMs = s.closeBySignal();
    EXPECT_GE(closeMs, 0);
    EXPECT_LE(closeMs, 2000);
    s.app.ExitInstance();
    EXPECT_NE(s.dir.read("qarv.ini").find("VFO-A FREQUENCY=14.076500"), std::string::npos);
}

TEST(CatStalled, FrequencyWithDigitsAboveNineIsRefused) {
    LoggedStation s;
    s.read();
    // AA BB CC DD EE would read as 15,544,332,210 Hz; one bad nibble (0A)
    // as a wrong frequency near the right one.
    s.radio.sendRaw({0xFE, 0xFE, 0x00, 0x94, 0x00, 0xAA, 0xBB, 0xCC, 0xDD, 0xEE, 0xFD});
    s.radio.sendRaw({0xFE, 0xFE, 0x00, 0x94, 0x00, 0x00, 0x50, 0x0A, 0x14, 0x00, 0xFD});
    simsteps::Run(1000, {&s.radio});
    EXPECT_EQ(g_vfoafreq, 14.074);
    EXPECT_EQ(s.read(), "") << "nothing is passed on to the logger";
    EXPECT_NE(s.dir.read("comms.txt").find("Throw away bad BCD FE FE 00 94 00 AA BB CC DD EE FD"), std::string::npos);
    // The radio's next good report is taken as before.
    s.turn(14100000);
    simsteps::Run(300, {&s.radio});
    EXPECT_EQ(g_vfoafreq, 14.1);
    EXPECT_EQ(LastFa(s.read()), "FA00014100000;");
    s.radio.sendRaw({0xFE, 0xFE, 0x00, 0x94, 0x00, 0xAA, 0xBB, 0xCC, 0xDD, 0xEE, 0xFD});
    simsteps::Run(300, {&s.radio});
    EXPECT_EQ(g_vfoafreq, 14.1);
    ASSERT_GE(s.closeBySignal(), 0);
    s.app.ExitInstance();
    const std::string ini = s.dir.read("qarv.ini");
    EXPECT_NE(ini.find("VFO-A FREQUENCY=14.100000"), std::string::npos) << ini;
    EXPECT_EQ(ini.find("15544"), std::string::npos) << ini;
}
