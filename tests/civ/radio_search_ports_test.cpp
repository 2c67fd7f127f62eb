// The radio search as the operator starts it: ticking "Search for Radio
// Automatically" on the settings window's Interface page of the running
// program. Every port of the list is tried until one carries the bus, and
// whatever ends the search (found, not found, stopped, closed) the port and
// baud in qarv.ini are the found ones or the operator's own.
#include <gtest/gtest.h>

#include <memory>

#include "app/main_frame.h"
#include "app/started_app.h"
#include "civ/radio_models.h"
#include "civ/radio_port.h"
#include "civ/radio_search.h"
#include "common/sim_steps.h"
#include "common/test_dir.h"
#include "platform/clock.h"
#include "platform/input_synth.h"
#include "platform/message_box.h"
#include "platform/serial_port.h"
#include "settings/trans_ops.h"
#include "sim/pty_pair.h"
#include "sim/sim_radio.h"

namespace {
const std::string kFound = "Radio Found, select correct radio type and\nthen exit and restart the program.";
const std::string kNotFound = "No Qarv Radio Found";
constexpr int kInterfacePage = 21;
constexpr int kSearchBox = 2492, kPortList = 1317, kBaudList = 2475, kAddressList = 2524;

// Three ports: "ports/com1" and "ports/com3" dead (no echo, no answer), on
// "ports/com2" the simulated radio at 9600 baud with its own address 5E, or
// a third dead port. The operator's settings: COM1 at 4800 baud.
struct ThreePorts {
    TestDir dir;
    PtyPair dead1, dead3;
    std::unique_ptr<PtyPair> dead2;
    std::unique_ptr<sim::SimRadio> radio;
    std::unique_ptr<StartedApp> app;

    explicit ThreePorts(bool withRadio, bool answering = true) {
        EXPECT_TRUE(dead1.link(dir.file("ports/com1")));
        if (withRadio) {
            radio = std::make_unique<sim::SimRadio>(0x5E, 9600);
            radio->setAnswering(answering);
            EXPECT_TRUE(radio->link(dir.file("ports/com2")));
            radio->start();
        } else {
            dead2 = std::make_unique<PtyPair>();
            EXPECT_TRUE(dead2->link(dir.file("ports/com2")));
        }
        EXPECT_TRUE(dead3.link(dir.file("ports/com3")));
        dir.write("qarv.ini", "[INTERFACE]\nCOMPORT=COM1\nBAUD=4800\n[OPERATING STATUS]\nMUTE ALWAYS=1\n");
        app = std::make_unique<StartedApp>();
        g_transops->ShowWindow(plat::SW_SHOW);
        g_transops->PageList()->Choose(kInterfacePage);
    }
    ~ThreePorts() {
        app.reset();
        if (radio) radio->stop();
    }

    plat::CheckBox* box() { return g_transops->CheckOf(kSearchBox); }
    // The operator's click on the search box.
    void clickBox() {
        ASSERT_TRUE(box()->IsWindowVisible());
        plat::synth::Click(box(), plat::synth::Button::Left, {5, 5});
    }
    // Manual time in poll steps, the radio's line settled after each.
    void run(int ms) { simsteps::Run(ms, {radio.get()}); }
    void runWhileSearching(int limitMs) {
        for (int t = 0; t < limitMs && g_autobaud != 0; t += 100) run(100);
    }
    std::string log() const { return dir.read("comms.txt"); }
    bool tried(const char* port) const { return log().find(std::string("Autobaud port ") + port) != std::string::npos; }
    std::string shownPort() { return g_transops->ComboOf(kPortList)->GetSelectedText(); }
    std::string shownBaud() { return g_transops->ComboOf(kBaudList)->GetSelectedText(); }
    // The operator's COM1 at 4800 in use and on show.
    void expectOperatorsPort() {
        EXPECT_STREQ(g_comport, "COM1");
        EXPECT_EQ(g_baud, 4800);
        EXPECT_EQ(shownPort(), "COM1");
        EXPECT_EQ(shownBaud(), "4800");
    }
    // ... and in qarv.ini after the close.
    void expectOperatorsPortSaved() {
        EXPECT_EQ(closedKey("COMPORT"), "COM1");
        EXPECT_EQ(closedKey("BAUD"), "4800");
    }
    // The search started on a bus whose radio never answers: past the port
    // search, it runs through the rates on COM2.
    bool searchingRates() {
        clickBox();
        run(1500);
        return g_autobaud == 1 && std::string(g_comport) == "COM2" && shownPort() == "COM2";
    }
    // The program closed as the operator closes it; then qarv.ini's key.
    std::string closedKey(const std::string& key) {
        if (g_mainwin) {
            g_mainwin->SendMessage(plat::WM_CLOSE);
            plat::manual_clock::Advance(600);
        }
        const std::string ini = dir.read("qarv.ini");
        const std::size_t p = ini.find("\n" + key + "=");
        if (p == std::string::npos) return "";
        const std::size_t start = p + key.size() + 2;
        return ini.substr(start, ini.find_first_of("\r\n", start) - start);
    }
};

bool Shown(const std::string& text) {
    for (const auto& box : plat::message_box_script::History())
        if (box.text == text) return true;
    return false;
}
}  // namespace

TEST(RadioSearchPorts, TheBoxFindsTheRadioOnTheSecondPortAndItIsSaved) {
    ThreePorts s(true);
    ASSERT_NE(g_radioadr, 0x5E);
    s.clickBox();
    EXPECT_EQ(g_autobaud, 2);
    s.runWhileSearching(6000);
    EXPECT_EQ(g_autobaud, 0);
    ASSERT_TRUE(Shown(kFound));
    EXPECT_FALSE(Shown(kNotFound));
    EXPECT_TRUE(s.tried("COM1"));
    EXPECT_TRUE(s.tried("COM2"));
    EXPECT_FALSE(s.tried("COM3"));
    EXPECT_STREQ(g_comport, "COM2");
    EXPECT_EQ(g_baud, 9600);
    EXPECT_EQ(g_radioadr, 0x5E);
    // The settings window shows what was found, the box unticked.
    EXPECT_EQ(s.box()->GetCheck(), 0);
    EXPECT_EQ(s.shownPort(), "COM2");
    EXPECT_EQ(s.shownBaud(), "9600");
    EXPECT_EQ(g_transops->ComboOf(kAddressList)->GetCurSel(), 0x5D);
    EXPECT_EQ(s.closedKey("COMPORT"), "COM2");
    EXPECT_EQ(s.closedKey("BAUD"), "9600");
    EXPECT_EQ(s.closedKey("CIV"), "93");
}

TEST(RadioSearchPorts, DeadPortsAreAllTriedAndTheOperatorsPortIsKept) {
    ThreePorts s(false);
    s.clickBox();
    s.runWhileSearching(6000);
    EXPECT_EQ(g_autobaud, 0);
    EXPECT_TRUE(Shown(kNotFound));
    EXPECT_TRUE(s.tried("COM1"));
    EXPECT_TRUE(s.tried("COM2"));
    EXPECT_TRUE(s.tried("COM3"));
    EXPECT_TRUE(plat::SerialIsOpen(g_radioport));
    EXPECT_EQ(s.box()->GetCheck(), 0);
    s.expectOperatorsPort();
    s.expectOperatorsPortSaved();
}

// A bus whose radio never answers keeps the baud search going: the operator
// stops it, or closes the program, and keeps COM1 at 4800.
TEST(RadioSearchPorts, UntickingARunningSearchGivesTheOperatorsPortBack) {
    ThreePorts s(true, false);
    ASSERT_TRUE(s.searchingRates());
    s.clickBox();
    EXPECT_EQ(g_autobaud, 0);
    s.expectOperatorsPort();
    s.run(2000);
    EXPECT_STREQ(g_comport, "COM1");
    EXPECT_FALSE(Shown(kNotFound));
    s.expectOperatorsPortSaved();
}

TEST(RadioSearchPorts, ClosingDuringTheSearchSavesTheOperatorsPort) {
    ThreePorts s(true, false);
    ASSERT_TRUE(s.searchingRates());
    s.expectOperatorsPortSaved();
}
