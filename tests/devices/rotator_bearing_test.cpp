// The rotor driven from the settings window as an operator does it, with
// the whole program running: the bearing typed in "Rotor Bearing" is the one
// the rotor gets, and what the rotor reports (its bearing, whether it is
// turning) is shown on the rotor's settings page and follows the rotor.
#include <atomic>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "app/app.h"
#include "base/settings_options.h"
#include "devices/rotator.h"
#include "devices/station_fixture.h"
#include "settings/device_status.h"
#include "settings/settings_pages.h"
#include "settings/trans_ops.h"
#include "sim/sim_radio.h"

namespace {
// An "AP1" rotor: "AP1ddd;" sets the target, "AM1;" starts the turn and every
// "AI1;" is answered with ";ddd", the rotor 30 degrees nearer the target.
sim::SimDevice::Responder Ap1Rotor() {
    auto pending = std::make_shared<std::string>();
    auto at = std::make_shared<int>(0);
    auto target = std::make_shared<int>(0);
    auto turning = std::make_shared<bool>(false);
    return [=](const sim::Bytes& in) {
        pending->append(in.begin(), in.end());
        std::string out;
        for (std::size_t semi; (semi = pending->find(';')) != std::string::npos;) {
            const std::string cmd = pending->substr(0, semi);
            pending->erase(0, semi + 1);
            if (cmd.size() == 6 && cmd.compare(0, 3, "AP1") == 0) *target = std::atoi(cmd.c_str() + 3);
            if (cmd == "AM1") *turning = true;
            if (cmd != "AI1") continue;
            if (*turning) *at += std::max(-30, std::min(30, *target - *at));
            char reply[8];
            std::snprintf(reply, sizeof reply, ";%03d", *at);
            out += reply;
        }
        return sim::Bytes(out.begin(), out.end());
    };
}

// A text-protocol rotor that turns until the test lets it stop: a bearing
// "ddd" CR and every poll are answered "A=ddd.0 M" CR while it turns, and
// without " M" once it stopped.
sim::SimDevice::Responder TextRotor(std::shared_ptr<std::atomic<bool>> turning) {
    auto pending = std::make_shared<std::string>();
    auto bearing = std::make_shared<std::string>("000");
    return [=](const sim::Bytes& in) {
        pending->append(in.begin(), in.end());
        std::string out;
        for (std::size_t cr; (cr = pending->find('\r')) != std::string::npos;) {
            const std::string line = pending->substr(0, cr);
            pending->erase(0, cr + 1);
            if (line.size() == 3) *bearing = line;
            out += "A=" + *bearing + (*turning ? ".0 M\r" : ".0\r");
        }
        return sim::Bytes(out.begin(), out.end());
    };
}

// The program on the simulated radio with a rotor on COM2, its settings
// window on the rotor's page.
struct RotorStation {
    TestDir dir;
    SettledRadio radio{0x94, 19200};
    SettledDevice rotor;
    CApp app;
    explicit RotorStation(sim::SimDevice::Responder responder, int m2rotor) : rotor(std::move(responder)) {
        EXPECT_TRUE(radio.link(dir.file("ports/com1")));
        radio.start();
        EXPECT_TRUE(rotor.link(dir.file("ports/com2")));
        dir.write("qarv.ini", "[INTERFACE]\nCOMPORT=COM1\nBAUD=19200\nROTOR COMPORT=COM2\n[OPERATING STATUS]\nQARV=23\n"
                              "SELECTION=6\nM2 ROTOR=" + std::to_string(m2rotor) + "\n");
        EXPECT_TRUE(app.InitInstance());
        g_transops->ShowWindow(plat::SW_SHOW);
        g_transops->PageList()->Choose(6);
    }
    ~RotorStation() {
        app.ExitInstance();
        radio.stop();
    }
    void typeBearing(const std::string& text) {
        plat::Edit* bearing = g_transops->EditOf(2525);
        ASSERT_TRUE(bearing && bearing->IsWindowVisible());
        bearing->TypeText(text);
        bearing->KillFocus();
    }
    plat::Window* label(int id) { return g_transops->RowControl(settings::RowOfId(id)); }
    std::string shown() { return label(kRotorShownLabelId)->GetWindowText(); }
    std::string moving() { return label(kRotorMovingLabelId)->GetWindowText(); }
};
}  // namespace

TEST(RotorBearing, TheTypedBearingTurnsAnAp1RotorAndItsReportsAreShown) {
    RotorStation s(Ap1Rotor(), 0);
    ASSERT_NE(g_rotorport, plat::kInvalidPort);
    s.typeBearing("045");
    // Exactly the bearing typed, in the rotor's three commands.
    EXPECT_TRUE(s.rotor.waitFor("AP1045;;AM1;"));
    EXPECT_EQ(s.rotor.text().find("AP1000"), std::string::npos);
    EXPECT_STREQ(g_rotortarget, "045");
    // The polls every fifth second bring the turning rotor's bearings, one
    // after the other, to the label under the field.
    EXPECT_TRUE(RunUntil([&] { return s.shown() == "030"; }, 20000));
    EXPECT_TRUE(s.label(kRotorShownLabelId)->IsWindowVisible());
    EXPECT_TRUE(RunUntil([&] { return s.shown() == "045"; }, 20000));
    // Another bearing: the rotor is sent that one, and turns back.
    s.typeBearing("010");
    EXPECT_TRUE(s.rotor.waitFor("AP1010;;AM1;"));
    EXPECT_TRUE(RunUntil([&] { return s.shown() == "010"; }, 20000));
    EXPECT_NE(s.dir.read("comms.txt").find("received 1 rotor bearing 015, change 1"), std::string::npos);
}

TEST(RotorBearing, TheMovingIndicatorFollowsATextProtocolRotor) {
    auto turning = std::make_shared<std::atomic<bool>>(true);
    RotorStation s(TextRotor(turning), 1);
    ASSERT_NE(g_rotorport, plat::kInvalidPort);
    EXPECT_EQ(s.moving(), "");
    s.typeBearing("270");
    // Sent a bearing, the rotor turns: "Moving" shows under "Stop" at once.
    EXPECT_EQ(s.moving(), "Moving");
    EXPECT_TRUE(s.label(kRotorMovingLabelId)->IsWindowVisible());
    EXPECT_TRUE(s.rotor.waitFor("270\r"));
    // Its answer says where it is and that it is still turning.
    EXPECT_TRUE(RunUntil([&] { return s.shown() == "270" && s.moving() == "Moving"; }, 3000));
    // While it turns it is asked every second and stays "Moving".
    RunFor(2500);
    EXPECT_EQ(s.moving(), "Moving");
    // It arrives: the next report clears the indicator.
    *turning = false;
    EXPECT_TRUE(RunUntil([&] { return s.moving().empty(); }, 3000));
    EXPECT_EQ(s.shown(), "270");
    EXPECT_EQ(g_rotormoving, 0);
}
