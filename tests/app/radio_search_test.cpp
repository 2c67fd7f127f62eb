// The radio search in the running program: ports tried in list order, the
// baud cycle on the port that echoes, the settings saved at close, and the
// operator's settings kept when nothing is found.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "app/main_frame.h"
#include "app/started_app.h"
#include "civ/civ_timers.h"
#include "civ/radio_models.h"
#include "civ/radio_port.h"
#include "civ/radio_search.h"
#include "common/sim_steps.h"
#include "common/test_dir.h"
#include "platform/clock.h"
#include "platform/message_box.h"
#include "platform/types.h"
#include "sim/pty_pair.h"
#include "sim/sim_radio.h"

namespace {
const std::string kFound = "Radio Found, select correct radio type and\nthen exit and restart the program.";

// The simulated radios of the running test.
std::vector<const sim::SimRadio*> g_radios;

// Manual time in poll steps, the radios' lines settled after each, before
// the search's next step looks.
void Run(int ms) { simsteps::Run(ms, g_radios); }

void RunWhileSearching(int limitMs) {
    for (int t = 0; t < limitMs && g_autobaud != 0; t += 100) Run(100);
}

bool Shown(const std::string& text) {
    for (const auto& box : plat::message_box_script::History())
        if (box.text == text) return true;
    return false;
}

std::string Key(const TestDir& dir, const std::string& key) {
    const std::string ini = dir.read("qarv.ini");
    const std::size_t p = ini.find("\n" + key + "=");
    if (p == std::string::npos) return "";
    const std::size_t start = p + key.size() + 2;
    return ini.substr(start, ini.find_first_of("\r\n", start) - start);
}

void Close() {
    g_mainwin->SendMessage(plat::WM_CLOSE);
    plat::manual_clock::Advance(600);
}

const char* kUnconfigured = "[INTERFACE]\nCOMPORT=COM0\nBAUD=4800\n[OPERATING STATUS]\nMUTE ALWAYS=1\n";

// The simulated radio, set up by `fault`, alone on ports/com1, and a search
// over that one port started in the unconfigured program.
struct OnePort {
    TestDir dir;
    sim::SimRadio radio{0x94, 19200};
    std::unique_ptr<StartedApp> app;
    template <typename Fault>
    explicit OnePort(Fault fault) {
        EXPECT_TRUE(radio.link(dir.file("ports/com1")));
        fault(radio);
        radio.start();
        g_radios = {&radio};
        dir.write("qarv.ini", kUnconfigured);
        app = std::make_unique<StartedApp>();
        StartRadioSearch({"COM1"});
    }
    ~OnePort() {
        g_radios.clear();
        app.reset();
        radio.stop();
    }
};
}  // namespace

TEST(RadioSearch, FindsTheRadioOnTheSecondPortAt9600AndSavesItAtClose) {
    TestDir dir;
    PtyPair silent1, silent3;
    sim::SimRadio radio(0x94, 9600);
    ASSERT_TRUE(silent1.link(dir.file("ports/com1")));
    ASSERT_TRUE(radio.link(dir.file("ports/com2")));
    ASSERT_TRUE(silent3.link(dir.file("ports/com3")));
    radio.start();
    g_radios = {&radio};
    dir.write("qarv.ini", kUnconfigured);
    StartedApp s;
    EXPECT_EQ(g_radioadr, 0x5C);  // the IC-756PRO's address: not the radio's
    StartRadioSearch(plat::ListSerialPorts());
    EXPECT_EQ(g_autobaud, 2);
    RunWhileSearching(5000);
    EXPECT_EQ(g_autobaud, 0);
    ASSERT_TRUE(Shown(kFound));
    EXPECT_STREQ(g_comport, "COM2");
    EXPECT_EQ(g_baud, 9600);
    EXPECT_EQ(g_radioadr, 0x94);
    EXPECT_EQ(g_civindex, 0x93);
    const std::string log = dir.read("comms.txt");
    EXPECT_NE(log.find("Autobaud 2 no echo"), std::string::npos);
    EXPECT_NE(log.find("Autobaud echo"), std::string::npos);
    EXPECT_NE(log.find("Good Message 4"), std::string::npos);
    Close();
    g_radios.clear();
    radio.stop();
    EXPECT_EQ(Key(dir, "COMPORT"), "COM2");
    EXPECT_EQ(Key(dir, "BAUD"), "9600");
    EXPECT_EQ(Key(dir, "CIV"), "147");
}

TEST(RadioSearch, NothingFoundKeepsThePortAndBaudThatWereSet) {
    TestDir dir;
    PtyPair silent1, silent2;
    ASSERT_TRUE(silent1.link(dir.file("ports/com1")));
    ASSERT_TRUE(silent2.link(dir.file("ports/com2")));
    dir.write("qarv.ini", kUnconfigured);
    StartedApp s;
    // The third entry names a port that does not exist: its open fails. The
    // fourth does not fit the settings and is passed over.
    StartRadioSearch({"COM1", "COM2", "COM3", "/dev/serial/by-id/" + std::string(40, 'x')});
    RunWhileSearching(5000);
    EXPECT_EQ(g_autobaud, 0);
    EXPECT_TRUE(Shown("No Qarv Radio Found"));
    EXPECT_FALSE(Shown(kFound));
    EXPECT_STREQ(g_comport, "COM0");
    EXPECT_EQ(g_baud, 4800);
    EXPECT_NE(dir.read("comms.txt").find("Autobaud port name too long"), std::string::npos);
    Close();
    EXPECT_EQ(Key(dir, "COMPORT"), "COM0");
    EXPECT_EQ(Key(dir, "BAUD"), "4800");
}

TEST(RadioSearch, ABusWhoseRadioNeverAnswersEndsAfterOneCycleOfRates) {
    OnePort one([](sim::SimRadio& r) { r.setAnswering(false); });
    RunWhileSearching(8000);
    EXPECT_EQ(g_autobaud, 0);
    EXPECT_TRUE(Shown("No Qarv Radio Found"));
    const std::string log = one.dir.read("comms.txt");
    int steps = 0;
    for (std::size_t p = log.find("Autobaud 1"); p != std::string::npos; p = log.find("Autobaud 1", p + 1)) ++steps;
    EXPECT_EQ(steps, 7);  // 9600 ... 115200, then the way back to 19200 ends it
    EXPECT_EQ(g_baud, 4800);
}

TEST(RadioSearch, AUsbPortWithoutEchoIsFoundByTheAnswer) {
    OnePort one([](sim::SimRadio& r) { r.setEcho(false); });
    RunWhileSearching(3000);
    EXPECT_EQ(g_autobaud, 0);
    EXPECT_TRUE(Shown(kFound));
    EXPECT_EQ(g_baud, 19200);
    EXPECT_EQ(g_radioadr, 0x94);
}

TEST(RadioSearch, AnEmptyPortListEndsAtOnceAndLetsTheContactRetryRun) {
    TestDir dir;
    dir.write("qarv.ini", kUnconfigured);
    StartedApp s;
    StartRadioSearch({});
    EXPECT_EQ(g_autobaud, 0);
    EXPECT_TRUE(Shown("No Qarv Radio Found"));
    EXPECT_FALSE(g_mainwin->HasTimer(TIMER_AUTOBAUD));
}

TEST(RadioSearch, BaudCycleAndListIndexes) {
    long baud = 19200;
    const long cycle[] = {9600, 4800, 1200, 38400, 57600, 115200, 19200};
    for (long next : cycle) EXPECT_EQ(baud = NextSearchBaud(baud), next);
    EXPECT_EQ(NextSearchBaud(2400), 2400);
    EXPECT_EQ(BaudComboIndex(2400), 0);
    EXPECT_EQ(BaudComboIndex(19200), 3);
    EXPECT_EQ(BaudComboIndex(1200), 4);
    EXPECT_EQ(BaudComboIndex(115200), 7);
    EXPECT_EQ(BaudComboIndex(300), -1);
}
