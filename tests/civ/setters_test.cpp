// Golden frames of the CI-V setters, model gates and the scalings.
#include "setter_fixture.h"

#include "civ/civ_options.h"
#include "civ/engine_options.h"
#include "civ/filter_widths.h"

TEST(Scalings, LevelsStayInsideTheRadioRange) {
    EXPECT_EQ(AfGainLevel(0), 1);
    EXPECT_EQ(AfGainLevel(200), 182);
    // (240 + 16)^2 / 255 would be 257: the radio takes at most 255.
    EXPECT_EQ(AfGainLevel(240), 255);
    EXPECT_EQ(AfGainLevel(255), 255);
    EXPECT_EQ(AfGainLevel(-5), 1);
    EXPECT_EQ(RfGainLevel(100), 0);
    EXPECT_EQ(RfGainLevel(0), 255);
    EXPECT_EQ(RfGainLevel(-20), 255);
    EXPECT_EQ(PercentLevel(50), 127);
    EXPECT_EQ(PercentLevel(150), 255);
    EXPECT_EQ(CwPitchLevel(600), 128);
    EXPECT_EQ(CwPitchLevel(100), 0);
    EXPECT_EQ(CwPitchLevel(900), 255);
    EXPECT_EQ(CwPitchLevel(5000), 255);
}

TEST(Scalings, FilterTables) {
    EXPECT_EQ(FilterEntry(1, false).hz, 3600);
    EXPECT_EQ(FilterEntry(28, false).hz, 900);
    EXPECT_EQ(FilterEntry(28, false).code, 13);
    EXPECT_EQ(FilterEntry(33, false).hz, 450);
    EXPECT_EQ(FilterEntry(33, false).code, 8);
    EXPECT_EQ(FilterEntry(0, false).hz, 3600);   // clamped to the first entry
    EXPECT_EQ(FilterEntry(99, true).hz, 2000);   // and to the last
    EXPECT_EQ(FilterEntry(1, true).code, 49);
}

TEST(Setters, LevelFramesOnIc7300) {
    Captured c(23);
    SendAfGain(0);
    SendAfGain(255);
    SetRfGain(100);
    SetRfGain(0);
    SetCwPitch(600);
    SetSquelchA(77);
    SetMicGain(36);
    EXPECT_EQ(c.bodies(), (Bodies{{0x14, 0x01, 0x00, 0x01},
                                  {0x14, 0x01, 0x02, 0x55},
                                  {0x14, 0x02, 0x00, 0x00},
                                  {0x14, 0x02, 0x02, 0x55},
                                  {0x14, 0x09, 0x01, 0x28},
                                  {0x14, 0x03, 0x00, 0x77},
                                  {0x14, 0x0B, 0x00, 0x91}}));
    EXPECT_EQ(c.frames(), std::vector<Bytes>{});
}

TEST(Setters, FullFrameCarriesAddresses) {
    Captured c(23);
    SendAfGain(0);
    EXPECT_EQ(c.frames(), (std::vector<Bytes>{{0xFE, 0xFE, 0x94, 0xE0, 0x14, 0x01, 0x00, 0x01, 0xFD}}));
}

TEST(Setters, GatesSendNothing) {
    Captured c(4);  // IC-706MKIIG: no level commands, no notch, no tone
    SendAfGain(100);
    SetRfGain(50);
    SetCwPitch(600);
    SetManualNotchA(1);
    SetNotchPositionA(5);
    SetCtcss(885);
    SetVsc(1);
    SetDataMode(1);
    SetDigiSelA(1);
    SetVoxGain(50);
    SetTxPower(50);
    EXPECT_TRUE(c.bodies().empty());
    // Without DSP filters the mode command carries the filter: a new filter
    // goes as the mode command (filter numbers from 0 on this model).
    g_vfoamode = '0';
    SetFilterWidthA(3);
    EXPECT_EQ(c.bodies(), (Bodies{{0x06, 0x01, 0x02}}));
    g_radiotype = 23;
    SetAntenna(1, 0);  // the IC-7300 has one antenna connector
    g_radiotype = 11;
    SetHiCut(1);       // the IC-703 has no inner cut
    EXPECT_TRUE(c.bodies().empty());
}

TEST(Setters, SelectVfoBOnceAndBack) {
    Captured c(23);
    SelectVfo('B');
    SelectVfo('B');
    EXPECT_EQ(c.bodies(), (Bodies{{0x07, 0x01}}));
    EXPECT_TRUE(c.win.HasTimer(TIMER_SELECT_VFO));
    // The return timer brings the radio back to VFO A.
    OnSelectVfoTimer();
    EXPECT_EQ(c.bodies(), (Bodies{{0x07, 0x00}}));
    EXPECT_EQ(g_selvfo, 'A');
    EXPECT_FALSE(c.win.HasTimer(TIMER_SELECT_VFO));
    EXPECT_EQ(c.traced("scr 8"), 1);
}

TEST(Setters, SelectVfoOnMainSubModels) {
    Captured c(5);
    SetRfGainB(100);
    EXPECT_EQ(c.bodies(), (Bodies{{0x07, 0xD1}, {0x14, 0x02, 0x00, 0x00}}));
    g_radiotype = 8;
    SelectVfo('A');
    EXPECT_EQ(c.bodies(), (Bodies{{0x07, 0xB0}}));
    SelectVfoDirect('B');  // only through the mirror poll path
    EXPECT_TRUE(c.bodies().empty());
}

TEST(Setters, SelectVfoOnIc9100SameAndOtherBand) {
    Captured c(20);
    g_vfoafreq = 14.1;
    g_vfobfreq = 14.1;
    SelectVfo('B');
    EXPECT_EQ(c.bodies(), (Bodies{{0x07, 0xD0}, {0x07, 0x01}}));
    g_vfobfreq = 7.1;
    SelectVfo('A');
    EXPECT_EQ(c.bodies(), (Bodies{{0x07, 0xD0}, {0x07, 0x00}}));
    EXPECT_EQ(c.traced("sameband 9100"), 2);
    EXPECT_EQ(c.traced("not sameband 9100"), 1);
}

TEST(Setters, SwitchesAndModelVariants) {
    Captured c(23);
    SetAgcA('3');
    SetAgcA('2');
    SetAgcA('6');
    SetAgcA('1');
    SetPreampA(2);
    SetNoiseBlankerA(1);
    SetMonitor(2);
    SetAttenuatorA(2);
    EXPECT_EQ(c.bodies(), (Bodies{{0x16, 0x12, 0x01},
                                  {0x16, 0x12, 0x02},
                                  {0x16, 0x12, 0x00},
                                  {0x16, 0x12, 0x03},
                                  {0x16, 0x02, 0x02},
                                  {0x16, 0x22, 0x01},
                                  {0x16, 0x45, 0x00},
                                  {0x11, 0x02}}));
    g_radiotype = 4;
    SetAgcA('2');  // model 4 turns Med into Fast
    SetAgc('1');
    g_radiotype = 17;
    SetAgc('1');
    g_radiotype = 16;  // DIGI-SEL family: the attenuator counts 3 dB steps
    SetAttenuatorA(2);
    EXPECT_EQ(c.bodies(), (Bodies{{0x16, 0x12, 0x01}, {0x16, 0x12, 0x02}, {0x16, 0x12, 0x00}, {0x11, 0x06}}));
}

TEST(Setters, TransmitPowerFollowsTransmitEnable) {
    Captured c(25);
    g_txenable = 1;
    SetTxPower(100);
    SetTxEnable(0);
    EXPECT_EQ(c.bodies(), (Bodies{{0x1A, 0x05, 0x00, 0x37, 0x34},
                                  {0x14, 0x0A, 0x02, 0x55},
                                  {0x1A, 0x05, 0x00, 0x37, 0x34},
                                  {0x14, 0x0A, 0x00, 0x00}}));
    g_firstpoll = 1;
    SetTxPower(50);
    EXPECT_TRUE(c.bodies().empty());
}

TEST(Setters, VoxAndSidetoneDialects) {
    Captured c(23);
    SetVoxGain(100);
    SetVoxHang(50);
    SetSidetoneLevel(40);
    g_radiotype = 1;  // dialect 1, old item numbers
    SetVoxGain(100);
    SetAntiVox(0);
    SetVoxHang(50);
    SetSidetoneLevel(100);
    g_radiotype = 18;
    g_model7610 = 1;
    SetVoxHang(100);
    SetSidetoneLevel(0);
    EXPECT_EQ(c.bodies(), (Bodies{{0x14, 0x16, 0x02, 0x55},
                                  {0x1A, 0x05, 0x01, 0x91, 0x10},
                                  {0x1A, 0x05, 0x01, 0x58, 0x00, 0x40},
                                  {0x1A, 0x05, 0x58, 0x02, 0x55},
                                  {0x1A, 0x05, 0x59, 0x00, 0x00},
                                  {0x1A, 0x05, 0x60, 0x10},
                                  {0x1A, 0x05, 0x04, 0x02, 0x55},
                                  {0x1A, 0x05, 0x02, 0x92, 0x20},
                                  {0x1A, 0x05, 0x02, 0x25, 0x00, 0x00}}));
    g_skipvoxdelay = 1;
    SetVoxHang(50);
    EXPECT_TRUE(c.bodies().empty());
}

TEST(Setters, ToneAndAntenna) {
    Captured c(23);
    SetCtcss(885);
    SetCtcss(0);
    EXPECT_EQ(c.bodies(), (Bodies{{0x16, 0x42, 0x01},
                                  {0x16, 0x43, 0x01},
                                  {0x1B, 0x00, 0x00, 0x08, 0x85},
                                  {0x1B, 0x01, 0x00, 0x08, 0x85},
                                  {0x16, 0x42, 0x00},
                                  {0x16, 0x43, 0x00}}));
    g_radiotype = 0;
    SetAntenna(2, 1);
    g_radiotype = 3;
    SetAntenna(1, 1);
    EXPECT_EQ(c.bodies(), (Bodies{{0x12, 0x01, 0x01}, {0x12, 0x00}}));
    EXPECT_EQ(g_tuning, 1);
    EXPECT_TRUE(c.win.HasTimer(TIMER_FREQ_HOLDOFF));
}

TEST(Setters, ModeAndFilterWidth) {
    Captured c(23);
    g_vfoamode = '3';
    SetModeA('3', '3');
    EXPECT_EQ(c.bodies(), (Bodies{{0x06, 0x03, 0x02}, {0x14, 0x0A, 0x00, 0x00}}));
    g_power = 0;
    SetFilterWidthA(28);  // 900 Hz
    EXPECT_EQ(c.bodies(), (Bodies{{0x1A, 0x03, 0x13}}));
    g_vfoamode = '7';
    SetFilterWidthA(3);   // RTTY takes at least entry 10
    EXPECT_EQ(c.bodies(), (Bodies{{0x1A, 0x03, 0x31}}));
    g_radiotype = 16;     // DIGI-SEL family: roofing follows the width
    g_vfoamode = '0';
    SetFilterWidthA(1);
    EXPECT_EQ(c.bodies(), (Bodies{{0x1A, 0x03, 0x40}, {0x1A, 0x09, 0x01}}));
    g_firstpoll = 1;
    SetFilterWidthA(5);
    SetModeA('0', '0');
    EXPECT_TRUE(c.bodies().empty());
    EXPECT_EQ(g_rxfilter, 5);
}

TEST(Setters, DstarCallsAreUpperCasedAndPadded) {
    Captured c(22);
    std::snprintf(g_dstarur, sizeof g_dstarur, "cqcqcq");
    std::snprintf(g_dstarrpt[0], sizeof g_dstarrpt[0], "dl0abc b");
    std::snprintf(g_dstarmy, sizeof g_dstarmy, "dk1xyz");
    SendDstarCalls();
    const auto f = c.frames();
    ASSERT_EQ(f.size(), 2u);
    ASSERT_EQ(f[0].size(), 31u);
    ASSERT_EQ(f[1].size(), 19u);
    EXPECT_EQ(std::string(f[0].begin() + 6, f[0].end() - 1), "CQCQCQ  DL0ABC B        ");
    EXPECT_EQ(std::string(f[1].begin() + 6, f[1].end() - 1), "DK1XYZ      ");
    EXPECT_STREQ(g_dstarur, "CQCQCQ");
}

TEST(Setters, PowerOnFrameAndOff) {
    Captured c(23);
    SetRadioPower(1);
    SetRadioPower(0);
    const auto f = c.frames();
    ASSERT_EQ(f.size(), 2u);
    ASSERT_EQ(f[0].size(), 207u);
    EXPECT_EQ(Bytes(f[0].begin() + 199, f[0].end()), (Bytes{0xFE, 0xFE, 0xFE, 0x94, 0xE0, 0x18, 0x01, 0xFD}));
    EXPECT_EQ(f[1], (Bytes{0xFE, 0xFE, 0x94, 0xE0, 0x18, 0x00, 0xFD}));
}

TEST(Setters, UserCommands) {
    Captured c(23);
    SendUserCommand("1C0001");
    SendUserCommand("1C0");   // odd: nothing
    SendUserCommand("1x0g");  // non-digits hold their place as zero
    SendUserCommand("");
    EXPECT_EQ(c.bodies(), (Bodies{{0x1C, 0x00, 0x01}, {0x10, 0x00}}));
}

TEST(Setters, KeyerTextCommandsDoNotReachTheRadio) {
    Captured c(23);
    SetRadioKeyer(1);
    SetAuxTHang(1, 250);
    EXPECT_TRUE(c.frames().empty());
}

TEST(Setters, VolumeDebounceAndMute) {
    Captured c(23);
    SetVolume(100);
    SetVolume(120);
    EXPECT_TRUE(c.bodies().empty());
    EXPECT_TRUE(c.win.HasTimer(TIMER_AF_GAIN));
    OnAfGainTimer();
    EXPECT_EQ(c.bodies(), (Bodies{{0x14, 0x01, 0x00, 0x72}}));
    g_volume = 120;
    ToggleMute();  // muting goes out at once
    EXPECT_EQ(c.bodies(), (Bodies{{0x14, 0x01, 0x00, 0x01}}));
    EXPECT_EQ(g_muted, 1);
    ToggleMute();
    EXPECT_EQ(g_muted, 0);
    OnAfGainTimer();
    EXPECT_EQ(c.bodies(), (Bodies{{0x14, 0x01, 0x00, 0x72}}));
}

TEST(Setters, RawModeFrequencyOnCommand25RadiosPassesTheFilter) {
    Captured c(23);
    g_7600fw2 = 1;
    g_rawmode = 1;
    g_lastsenta = 0;
    SetCommonFrequencies(0, 14.025, 'A');
    EXPECT_EQ(c.bodies(), (Bodies{{0x05, 0x00, 0x50, 0x02, 0x14, 0x00}}));
    EXPECT_EQ(g_lastsenta, 14.025);
    SetCommonFrequencies(0, 14.025, 'A');  // unchanged: nothing
    EXPECT_TRUE(c.bodies().empty());
    EXPECT_EQ(c.traced("suppressed"), 0);
}

TEST(Setters, Command25OutsideRawMode) {
    Captured c(23);
    g_7600fw2 = 1;
    g_lastsenta = 0;
    SetCommonFrequencies(0, 14.025, 'A');
    EXPECT_EQ(c.bodies(), (Bodies{{0x25, 0x00, 0x00, 0x50, 0x02, 0x14, 0x00}}));
    EXPECT_EQ(g_lastsenta, 14.025);
}

TEST(Setters, FrequencyOutsideTheEncodingIsNotSent) {
    Captured c(3);
    g_lastsenta = 0;
    g_lastsentb = 0;
    SetCommonFrequencies(0, 1296.2, 'A');
    SetCommonFrequencies(0, 1000.0, 'B');
    SetCommonFrequencies(0, -0.5, 'A');
    EXPECT_TRUE(c.bodies().empty());  // no 05 00 00 00 00 00 (0 Hz), no VFO switch
    EXPECT_EQ(g_lastsenta, 0.0);
    EXPECT_EQ(g_selvfo, 'A');
    SetCommonFrequencies(0, 999.999999, 'A');  // the top of the encoding still goes
    EXPECT_EQ(c.bodies(), (Bodies{{0x05, 0x99, 0x99, 0x99, 0x99, 0x09}}));
}

TEST(Setters, FilterWidthFromTheTableGivenWhateverVfoAsMode) {
    Captured c(23);
    g_vfoamode = '0';
    // The exit's AM slot: entry 1 of the AM table is 10 kHz, code 49.
    SetFilterWidthFromTable(1, '4', true);
    // Without a table given the shown mode (USB) picks the SSB table: 3.6 kHz.
    SetFilterWidth(1, '4');
    EXPECT_EQ(c.bodies(), (Bodies{{0x1A, 0x03, 0x49}, {0x1A, 0x03, 0x40}}));
}
