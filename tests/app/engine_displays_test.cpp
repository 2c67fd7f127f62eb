// What the engine shows on the radio window and the settings window in the
// whole program: the power in watts and the speech level, the power slider
// after the power keys, the Expert amplifier's drive, the band's preamp and
// attenuator, the values the mirror follows; and the accessory polls and
// the second receiver that go with them.
#include <gtest/gtest.h>

#include <string>

#include "app/main_frame.h"
#include "app/started_app.h"
#include "base/device_options.h"
#include "base/settings_options.h"
#include "civ/band_table.h"
#include "civ/civ_options.h"
#include "civ/civ_setters.h"
#include "civ/engine_options.h"
#include "civ/frame_reader.h"
#include "civ/frequency_options.h"
#include "civ/frequency_state.h"
#include "civ/mirror_replies.h"
#include "civ/polling.h"
#include "civ/radio_init.h"
#include "civ/radio_models.h"
#include "common/test_dir.h"
#include "devices/cat_out.h"
#include "devices/device_port.h"
#include "devices/external_meters.h"
#include "devices/tuner.h"
#include "memories/sweep.h"
#include "panel/controls/slider.h"
#include "panel/function_buttons.h"
#include "panel/radio_window.h"
#include "panel/swl_panel.h"
#include "platform/input_synth.h"
#include "settings/settings_pages.h"
#include "settings/trans_ops.h"
#include "sim/pty_pair.h"

namespace {
std::string RadioText(unsigned id) { return g_radiowindow->Control(int(id))->GetWindowText(); }
int RadioSlider(unsigned id) { return static_cast<CSlider*>(g_radiowindow->Control(int(id)))->GetValue(); }
std::string SettingsLabel(int id) { return g_transops->ValueLabel(settings::RowOfId(id))->GetWindowText(); }

int Count(const std::string& text, const std::string& what) {
    int n = 0;
    for (std::size_t p = text.find(what); p != std::string::npos; p = text.find(what, p + what.size())) ++n;
    return n;
}

// A reply from the radio as the frame reader gets it.
void Reply(std::initializer_list<std::uint8_t> body) {
    std::vector<std::uint8_t> f{0xFE, 0xFE, 0xE0, 0x94};
    f.insert(f.end(), body.begin(), body.end());
    f.push_back(0xFD);
    ProcessRadioBytes(f.data(), int(f.size()));
}

struct Program {
    TestDir dir;
    StartedApp app;
    Program() {
        g_radioadr = 0x94;
        g_myaddr = 0xE0;
        g_firstpoll = 0;
        g_txenable = 1;
    }
};
}  // namespace

TEST(EngineDisplays, ThePowerShowsInWattsOfTheRadioType) {
    Program p;
    g_radiotype = 23;
    SetTxPower(50);
    EXPECT_EQ(RadioText(9312), "50W");
    g_radiotype = 16;  // 200 W
    SetTxPower(50);
    EXPECT_EQ(RadioText(9312), "100W");
    g_radiotype = 25;  // 10 W
    SetTxPower(50);
    EXPECT_EQ(RadioText(9312), "5W");
    g_radiotype = 16;
    SetTxPower(100);
    EXPECT_TRUE(plat::SaveWindowPng(g_radiowindow, std::string(QARV_BUILD_DIR) + "/radio_window/power_watts.png"));
    EXPECT_EQ(PowerWatts(100, 11), 10);
}

TEST(EngineDisplays, TheSpeechLevelShowsOnTheSettingsWindow) {
    Program p;
    g_radiotype = 23;
    SetSpeech(1, 7);
    EXPECT_EQ(SettingsLabel(2472), "Sp 7");
    g_transops->ShowPage(15);
    EXPECT_TRUE(plat::SaveWindowPng(g_transops, std::string(QARV_BUILD_DIR) + "/settings_window/speech_level.png"));
}

TEST(EngineDisplays, ThePowerKeysMoveThePowerSlider) {
    Program p;
    g_radiotype = 23;
    g_power = 50;
    PowerUp();
    EXPECT_EQ(g_power, 55);
    EXPECT_EQ(RadioSlider(725), 55);
    PowerDown();
    PowerDown();
    EXPECT_EQ(RadioSlider(725), 45);
    g_power = 98;
    PowerUp();
    EXPECT_EQ(RadioSlider(725), 100);
    EXPECT_EQ(RadioText(9312), "100W");
}

TEST(EngineDisplays, AnotherBandShowsTheExpertAmplifiersDrive) {
    Program p;
    g_experton = 1;
    g_ampdrivebyband = 1;
    g_ampdrivefactor = 33;
    const int row40 = BandIndex(7.05);
    g_ampdrive[row40] = 77;
    UpdateBandStack(7.05, 0);
    EXPECT_EQ(g_transops->EditOf(2536)->GetWindowText(), "77");
    EXPECT_NE(p.dir.read("comms.txt").find("band amp drive 77, band " + std::to_string(g_bandrow)), std::string::npos);
    g_ampdrivebyband = 0;
    UpdateBandStack(14.2, 0);
    EXPECT_EQ(g_transops->EditOf(2536)->GetWindowText(), "33");
}

TEST(EngineDisplays, TuningIntoABandShowsItsPreampAttenuatorAndPower) {
    Program p;
    g_radiotype = 23;
    const int row = BandIndex(7.05);
    g_bandpreamp[std::size_t(row)] = 1;
    g_bandattn[std::size_t(row)] = 1;
    g_bandpower[std::size_t(row)] = 40;
    const std::string attnBefore = RadioText(IDC_ATTN);
    TuneToFrequency(7.05, 1);
    EXPECT_EQ(RadioText(IDC_PREAMP), PreampCaption(1));
    EXPECT_EQ(g_swlpanel->attenuator, 1);
    EXPECT_NE(RadioText(IDC_ATTN), attnBefore);
    EXPECT_EQ(RadioSlider(725), 40);
}

TEST(EngineDisplays, TheSettingsWindowFollowsTheMirroredLevels) {
    Program p;
    g_radiotype = 23;
    g_mirror = 1;
    g_pollmain = g_pollvfoa = 1;
    g_micgain = 10;
    g_cwqskdelay = 0;
    g_voxgain = 10;
    g_antivox = 10;
    g_bfo = 600;
    Reply({0x14, 0x0B, 0x01, 0x28});  // mic gain 128: 50 %
    EXPECT_EQ(g_micgain, 50);
    EXPECT_EQ(g_transops->SliderOf(2471)->GetValue(), 50);
    EXPECT_EQ(SettingsLabel(2471), "50");
    Reply({0x14, 0x0F, 0x02, 0x00});  // QSK 200
    EXPECT_EQ(g_transops->SliderOf(2456)->GetValue(), 200);
    Reply({0x14, 0x16, 0x01, 0x53});  // VOX gain 153: 60 %
    EXPECT_EQ(g_transops->SliderOf(2379)->GetValue(), 64);
    EXPECT_EQ(SettingsLabel(2379), "60");
    Reply({0x14, 0x17, 0x00, 0x51});  // anti-VOX 51: 20 %
    EXPECT_EQ(g_transops->SliderOf(2378)->GetValue(), 24);
    EXPECT_EQ(SettingsLabel(2378), "20");
    Reply({0x14, 0x09, 0x01, 0x60});  // pitch 160 x 75 / 32 + 300 = 675 Hz
    EXPECT_EQ(g_bfo, 675);
    EXPECT_EQ(g_transops->EditOf(2369)->GetWindowText(), "675");
    // The controls only show the values: the next apply changes nothing.
    g_mainwin->SendMessage(plat::WM_COMMAND, kSettingsChangedId, 0);
    EXPECT_EQ(g_micgain, 50);
    EXPECT_EQ(g_voxgain, 60);
    EXPECT_EQ(g_bfo, 675);
}

TEST(EngineDisplays, ATuneKeysTheTransmitterUnlessTheLdgTunerKeysItself) {
    Program p;
    g_internaltuner = 4;
    g_ldgrtspulse = 1;
    g_tunerstate = 1;
    OnSwl();
    EXPECT_EQ(Count(p.dir.read("comms.txt"), "keyon\r\n"), 0);
    EXPECT_EQ(g_tunerstate, 2);
    autotunerexit();
    g_ldgrtspulse = 0;
    g_tunerstate = 1;
    OnSwl();
    EXPECT_EQ(Count(p.dir.read("comms.txt"), "keyon\r\n"), 1);
    autotunerexit();
}

TEST(EngineDisplays, TheMeterTickPollsTheLp100AndTheDualWatchReachesThePerseus) {
    Program p;
    PtyPair meter;
    g_wattmetertype = 1;  // LP-100A
    ASSERT_NE(OpenDevicePort(g_powermeterport, "LP100A ", meter.slavePath().c_str(), 115200), plat::kInvalidPort);
    PollMeters();
    const auto poll = meter.takeWritten();
    EXPECT_EQ(std::string(poll.begin(), poll.end()), "P");
    plat::SerialClose(g_powermeterport);

    // The Perseus on CAT-out port 1 is the second receiver: dual watch
    // makes it heard, and off mutes it again.
    g_perseuspan = 1;
    g_thpopen[0] = 1;
    g_pollatstart = 1;
    g_swlpanel->dual = 1;
    SendFreqToRX340();
    EXPECT_EQ(g_dual, 1);
    g_swlpanel->dual = 0;
    SendFreqToRX340();
    EXPECT_EQ(g_dual, 0);
    const std::string log = p.dir.read("comms.txt");
    const std::size_t on = log.find("Send to Per FE FE E1 E0 70 05 01 FD");
    ASSERT_NE(on, std::string::npos);
    EXPECT_NE(log.find("Send to Per FE FE E1 E0 70 05 00 FD", on), std::string::npos);
    g_perseuspan = 0;
    g_thpopen[0] = 0;
}

TEST(EngineDisplays, SplitDuringASweepKeepsVfoBForTheSweepAndStopsIt) {
    Program p;
    g_radiotype = 23;
    ASSERT_NE(g_sweeppanel, nullptr);
    g_sweeppanel->StartSweep();
    ASSERT_EQ(g_sweeprunning, 1);
    g_vfobrxfilter = 3;
    g_swlpanel->vfoBFreq = 14.2;
    g_swlpanel->vfoBMode = '1';
    g_swlpanel->split = 1;
    OnSwl();
    EXPECT_EQ(g_sweeprunning, 0);
    EXPECT_DOUBLE_EQ(CurrentSweep().vfoBFreq, 14.2);
    EXPECT_EQ(CurrentSweep().vfoBMode, '1');
    EXPECT_EQ(CurrentSweep().vfoBFilter, 3);
}
