// The mode, filter, AGC, RIT and PBT controls of the radio window clicked
// as an operator clicks them, in the whole program against the simulated
// IC-7300: the frames that reach the radio, once each.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "app/main_frame.h"
#include "civ/civ_options.h"
#include "civ/engine_options.h"
#include "common/sim_station.h"
#include "panel/radio_window.h"
#include "platform/input_synth.h"

namespace {
using Body = std::vector<std::uint8_t>;
using plat::synth::Button;

// The command and data of every frame sent to the radio (FE FE 94 E0 ... FD).
std::vector<Body> Bodies(const SimStation& s) {
    std::vector<Body> out;
    for (const sim::Bytes& f : s.radio.frames())
        if (f.size() >= 6 && f[2] == 0x94) out.emplace_back(f.begin() + 4, f.end() - 1);
    return out;
}

int Count(const std::vector<Body>& bodies, const Body& b) {
    int n = 0;
    for (const Body& x : bodies) n += x == b;
    return n;
}

// Frames that set the operating frequency (05, or 25 00), in Hz.
std::vector<long long> Frequencies(const std::vector<Body>& bodies) {
    std::vector<long long> out;
    for (const Body& b : bodies) {
        if (b.size() == 6 && b[0] == 0x05) out.push_back(sim::BcdToHz(&b[1]));
        if (b.size() == 7 && b[0] == 0x25 && b[1] == 0x00) out.push_back(sim::BcdToHz(&b[2]));
    }
    return out;
}

// Frames whose command is `cmd` (and sub-command `sub`).
int CountCommand(const std::vector<Body>& bodies, std::uint8_t cmd, int sub = -1) {
    int n = 0;
    for (const Body& b : bodies) n += !b.empty() && b[0] == cmd && (sub < 0 || (b.size() > 1 && b[1] == sub));
    return n;
}

void Click(int id, Button b = Button::Left) {
    plat::Window* w = g_radiowindow->Control(id);
    ASSERT_NE(w, nullptr) << id;
    ASSERT_TRUE(w->IsWindowVisible()) << id;
    plat::synth::Click(w, b, {5, 5});
}

// The wheel turned by one notch over a control of the window.
void WheelOver(int id, int notches = 1) {
    plat::Window* w = g_radiowindow->Control(id);
    ASSERT_NE(w, nullptr) << id;
    plat::synth::Enter(w);
    plat::synth::Wheel(w, {4, 6}, 120 * notches);
    plat::synth::Leave(w);
}

// The station at 14.2 MHz USB, the log cleared.
void AtUsb(SimStation& s) {
    s.initialise();
    plat::synth::Type(g_radiowindow->Control(5157), "14.2\r");
    s.run(1000);
    Click(101);
    s.run(1000);
    ASSERT_EQ(s.radio.frequency(0), 14200000);
    ASSERT_EQ(s.radio.mode(0), 0x01);
    s.radio.clearLog();
}
}  // namespace

TEST(ModeFrames, CwFromUsbMovesByTheBfoAndSelectsCw) {
    SimStation s("VFO-A MODE=48\n");
    AtUsb(s);
    const int width = s.radio.filterWidth();
    Click(103);
    s.run(1000);
    const auto b = Bodies(s);
    EXPECT_EQ(Count(b, {0x06, 0x03, 0x02}), 1);
    EXPECT_EQ(Frequencies(b), std::vector<long long>{14200700});
    EXPECT_EQ(s.radio.mode(0), 0x03);
    EXPECT_EQ(s.radio.frequency(0), 14200700);
    // No AGC default for CW is set: the AGC stays. The default CW filter
    // button (9) holds no filter of the radio: the nearest one before it
    // (8, 450 Hz) is taken and sent.
    EXPECT_EQ(CountCommand(b, 0x16, 0x12), 0);
    EXPECT_EQ(g_swlpanel->filter, 33);
    EXPECT_EQ(g_swlpanel->filter, g_rxfilter);
    EXPECT_NE(width, 8);
    EXPECT_EQ(s.radio.filterWidth(), 8);
    // LSB from CW goes back by the same offset.
    s.radio.clearLog();
    Click(102);
    s.run(1000);
    EXPECT_EQ(Count(Bodies(s), {0x06, 0x00, 0x02}), 1);
    EXPECT_EQ(Frequencies(Bodies(s)), std::vector<long long>{14201400});
}

TEST(ModeFrames, ManualModeKeepsTheModeDefaults) {
    // CW brings AGC Fast ("CWAGC" as the settings page stores it) ...
    SimStation s("VFO-A MODE=48\nCWAGC=51\nAGC MODE=1\n");
    AtUsb(s);
    Click(103);
    s.run(1000);
    EXPECT_EQ(Count(Bodies(s), {0x16, 0x12, 0x01}), 1);
    // ... but not with ManMD on.
    Click(101);
    s.run(500);
    Click(40036);  // Slow
    s.run(500);
    Click(238);
    s.radio.clearLog();
    Click(103);
    s.run(1000);
    const auto b = Bodies(s);
    EXPECT_EQ(Count(b, {0x06, 0x03, 0x02}), 1);
    EXPECT_EQ(CountCommand(b, 0x16, 0x12), 0);
}

TEST(ModeFrames, AgcButtonsSendTheTimeConstant) {
    SimStation s("VFO-A MODE=48\nAGC MODE=1\n");
    AtUsb(s);
    Click(40034);
    s.run(500);
    Click(40035);
    s.run(500);
    Click(40036);
    s.run(500);
    const auto b = Bodies(s);
    EXPECT_EQ(Count(b, {0x16, 0x12, 0x01}), 1);
    EXPECT_EQ(Count(b, {0x16, 0x12, 0x02}), 1);
    EXPECT_EQ(Count(b, {0x16, 0x12, 0x03}), 1);
    EXPECT_EQ(s.radio.switchState(0x12), 3);
    // The same button again sends nothing.
    s.radio.clearLog();
    Click(40036);
    s.run(500);
    EXPECT_EQ(CountCommand(Bodies(s), 0x16, 0x12), 0);
}

TEST(ModeFrames, FilterButtonsAndToolsSendTheWidth) {
    SimStation s("VFO-A MODE=48\n");
    AtUsb(s);
    Click(401);  // filter 16: 2.1 kHz
    s.run(500);
    EXPECT_EQ(Count(Bodies(s), {0x1A, 0x03, 0x25}), 1);
    EXPECT_EQ(s.radio.filterWidth(), 25);
    // FILTER A: left click one index down (wider), right click back.
    s.radio.clearLog();
    Click(2408);
    s.run(500);
    Click(2408, Button::Right);
    s.run(500);
    const auto b = Bodies(s);
    EXPECT_EQ(Count(b, {0x1A, 0x03, 0x26}), 1);
    EXPECT_EQ(Count(b, {0x1A, 0x03, 0x25}), 1);
    // A button holding a filter the radio does not have (the default 45 of
    // button 9) is not shown; its command sends nothing and keeps the width.
    s.radio.clearLog();
    EXPECT_FALSE(g_radiowindow->Control(409)->IsWindowVisible());
    g_radiowindow->SendMessage(plat::WM_COMMAND, 409, 0);
    s.run(500);
    EXPECT_EQ(CountCommand(Bodies(s), 0x1A, 0x03), 0);
    EXPECT_EQ(s.radio.filterWidth(), 25);
}

TEST(OffsetFrames, RitButtonAndTheWheelOverItsScale) {
    SimStation s("VFO-A MODE=48\n7600 FW2=1\n");
    AtUsb(s);
    Click(164);
    s.run(1000);
    EXPECT_EQ(Count(Bodies(s), {0x21, 0x01, 0x01}), 1);
    // The wheel over the RIT scale: one notch up at a 1 kHz step moves the
    // offset 100 Hz, a second notch keeps RIT on.
    Click(704);  // 1.0 kHz
    s.run(500);
    s.radio.clearLog();
    WheelOver(2382);
    s.run(500);
    WheelOver(2382);
    s.run(500);
    auto b = Bodies(s);
    EXPECT_EQ(Count(b, {0x21, 0x00, 0x00, 0x01, 0x00}), 1);
    EXPECT_EQ(Count(b, {0x21, 0x00, 0x00, 0x02, 0x00}), 1);
    EXPECT_EQ(CountCommand(b, 0x21, 0x01), 0);
    EXPECT_EQ(g_riton, 1);
    // Off again from the button.
    s.radio.clearLog();
    Click(164);
    s.run(1000);
    EXPECT_EQ(Count(Bodies(s), {0x21, 0x01, 0x00}), 1);
}

TEST(OffsetFrames, WheelOverTheRitScaleSwitchesRitOnOnce) {
    SimStation s("VFO-A MODE=48\n7600 FW2=1\n");
    AtUsb(s);
    WheelOver(2382);
    WheelOver(2382);
    s.run(1000);
    EXPECT_EQ(Count(Bodies(s), {0x21, 0x01, 0x01}), 1);
    EXPECT_EQ(CountCommand(Bodies(s), 0x21, 0x01), 1);
}

TEST(OffsetFrames, PbtCutsAndTheWheelOverThePbtScale) {
    SimStation s("VFO-A MODE=48\n");
    AtUsb(s);
    // HI CUT (the outer cut, 14 07 here): right click up 5 positions.
    Click(2490, Button::Right);
    s.run(500);
    EXPECT_EQ(Count(Bodies(s), {0x14, 0x07, 0x01, 0x33}), 1);
    // The wheel over the PBT scale moves both cuts by one position.
    s.radio.clearLog();
    WheelOver(2386);
    s.run(500);
    auto b = Bodies(s);
    EXPECT_EQ(Count(b, {0x14, 0x08, 0x01, 0x29}), 1);
    EXPECT_EQ(Count(b, {0x14, 0x07, 0x01, 0x34}), 1);
    // Dragging the PBT scale far beyond its end never sends a cut outside 0..255.
    s.radio.clearLog();
    plat::Window* scale = g_radiowindow->Control(2386);
    plat::synth::Press(scale, Button::Left, {5, 5});
    plat::synth::Move(scale, {-3000, 5}, plat::MK_LBUTTON);
    plat::synth::Release(scale, Button::Left, {-3000, 5});
    s.run(500);
    b = Bodies(s);
    // Both cuts move by as much as the outer one can: it stops at 255.
    EXPECT_EQ(s.radio.level(0x07), 255);
    EXPECT_EQ(s.radio.level(0x08), 253);
    EXPECT_EQ(CountCommand(b, 0x14, 0x07), 1);
    EXPECT_EQ(CountCommand(b, 0x14, 0x08), 1);
    const std::string dir = std::string(QARV_BUILD_DIR) + "/radio_window";
    EXPECT_TRUE(plat::SaveWindowPng(g_radiowindow, dir + "/mode_offset.png"));
}

TEST(ModeFrames, RightClicksChooseTheReverseModesAndDataMode) {
    SimStation s("VFO-A MODE=48\n");
    AtUsb(s);
    Click(103, Button::Right);  // CW-R, with the CW offset
    s.run(1000);
    auto b = Bodies(s);
    EXPECT_EQ(Count(b, {0x06, 0x07, 0x02}), 1);
    EXPECT_EQ(Frequencies(b), std::vector<long long>{14200700});
    s.radio.clearLog();
    Click(106, Button::Right);  // RTTY-R
    s.run(1000);
    EXPECT_EQ(Count(Bodies(s), {0x06, 0x08, 0x02}), 1);
    EXPECT_EQ(s.radio.mode(0), 0x08);
    // "D M" switches the radio's data mode on, once.
    Click(101);
    s.run(1000);
    s.radio.clearLog();
    Click(597);
    s.run(1000);
    EXPECT_EQ(CountCommand(Bodies(s), 0x1A, 0x06), 1);
    EXPECT_EQ(s.radio.dataMode(), 1);
}

TEST(ModeFrames, AmBringsTheAmFilterButtons) {
    SimStation s("VFO-A MODE=48\n");
    AtUsb(s);
    Click(100);
    s.run(1000);
    // "AM FILTER POSITION" 2 presses the second AM button: 9 kHz.
    EXPECT_EQ(s.radio.mode(0), 0x02);
    EXPECT_EQ(s.radio.filterWidth(), 44);
    // Mode, frequency and filter go in one push: the width once.
    EXPECT_EQ(CountCommand(Bodies(s), 0x1A, 0x03), 1);
    EXPECT_EQ(CountCommand(Bodies(s), 0x06), 1);
    EXPECT_EQ(g_radiowindow->Control(401)->GetWindowText(), "10.00");
    EXPECT_EQ(g_radiowindow->Control(402)->GetWindowText(), "9.00");
    s.radio.clearLog();
    Click(401);
    s.run(500);
    EXPECT_EQ(Count(Bodies(s), {0x1A, 0x03, 0x49}), 1);
    // Back in USB the buttons read the other table again.
    Click(101);
    s.run(1000);
    EXPECT_EQ(g_radiowindow->Control(401)->GetWindowText(), "2.10");
}
