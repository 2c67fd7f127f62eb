// The function buttons: the per-model rules, and the buttons clicked on a
// real radio window, checked on the screen and in what the main frame hears.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <string>

#include "base/panel_options.h"
#include "civ/band_table.h"
#include "civ/civ_options.h"
#include "civ/frequency_options.h"
#include "civ/frequency_state.h"
#include "civ/polling.h"
#include "civ/radio_init.h"
#include "civ/radio_models.h"
#include "control_fixture.h"
#include "devices/function_table.h"
#include "devices/keying.h"
#include "panel/controls/bistate_button.h"
#include "panel/function_buttons.h"
#include "panel/mirror_panel.h"
#include "panel/radio_window.h"
#include "panel/radio_window_fixture.h"
#include "panel/swl_panel.h"

namespace {
using plat::synth::Button;

FunctionModel Model(int type, bool perseus = false, bool m7610 = false) { return {type, perseus, m7610}; }

std::vector<int> Presses(int type, int n, bool perseus = false, bool m7610 = false) {
    std::vector<int> out;
    int v = 0;
    for (int i = 0; i < n; ++i) out.push_back(v = NextAttenuator(v, Model(type, perseus, m7610)));
    return out;
}
}  // namespace

TEST(FunctionRules, AttenuatorSeriesPerModel) {
    EXPECT_EQ(Presses(0, 5), (std::vector<int>{6, 12, 18, 0, 6}));
    EXPECT_EQ(Presses(18, 4), (std::vector<int>{6, 12, 18, 0}));
    EXPECT_EQ(Presses(23, 3), (std::vector<int>{20, 0, 20}));
    EXPECT_EQ(Presses(13, 3), (std::vector<int>{12, 0, 12}));
    EXPECT_EQ(Presses(13, 4, true), (std::vector<int>{10, 20, 30, 0}));
    EXPECT_EQ(Presses(5, 9), (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 0, 1}));
    EXPECT_EQ(Presses(18, 9, false, true), (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 0}));
    // Models without a series keep what they have.
    EXPECT_EQ(NextAttenuator(0, Model(6)), 0);
    EXPECT_EQ(NextAttenuator(12, Model(9)), 12);
    // A value the series does not hold (a reply) starts it over.
    EXPECT_EQ(NextAttenuator(9, Model(0)), 0);

    EXPECT_EQ(AttenuatorCaption(0, Model(5)), "Attn");
    EXPECT_EQ(AttenuatorCaption(4, Model(5)), "Atn-12");
    EXPECT_EQ(AttenuatorCaption(6, Model(0)), "Atn- 6");
    EXPECT_EQ(AttenuatorCaption(20, Model(23)), "Atn-20");
    EXPECT_EQ(AttenuatorCaption(8, Model(18, false, true)), "Atn-24");
}

TEST(FunctionRules, PreampAntennaAndCaptions) {
    EXPECT_EQ(NextPreamp(0, 1), 1);
    EXPECT_EQ(NextPreamp(1, 1), 0);
    EXPECT_EQ(NextPreamp(1, 2), 2);
    EXPECT_EQ(NextPreamp(2, 2), 0);
    EXPECT_EQ(NextPreamp(0, 0), 0);  // no preamp at all
    EXPECT_EQ(PreampCaption(0), "PreAmp");
    EXPECT_EQ(PreampCaption(1), "PreAmp");
    EXPECT_EQ(PreampCaption(2), "PreAm2");
    EXPECT_EQ(NextAntenna(2, 23), 1);
    EXPECT_EQ(NextAntenna(2, 5), 3);
    EXPECT_EQ(NextAntenna(4, 16), 1);
    EXPECT_EQ(NextAntenna(9, 0), 1);  // "not stored" is never shown
    EXPECT_EQ(AntennaCaption(3), "Ant 3");
    EXPECT_EQ(ApfCaption(0) + ApfCaption(1) + ApfCaption(2) + ApfCaption(3), "APFAPF320APF160APF80");
    EXPECT_EQ(BreakInCaption(0) + BreakInCaption(1) + BreakInCaption(2), "Bk-InBSemiBFull");
    EXPECT_EQ(NextBreakIn(0), 1);
    EXPECT_EQ(NextBreakIn(2), 0);
    EXPECT_EQ(NextBreakIn(20), 1);  // the settings default is not a break-in value
    EXPECT_EQ(NotchWidthCaption(0) + NotchWidthCaption(1) + NotchWidthCaption(2), "Mn WidMn MidMn Nar");
    EXPECT_TRUE(IsVscMode('0') && IsVscMode('1') && IsVscMode('4') && IsVscMode('5'));
    EXPECT_FALSE(IsVscMode('3') || IsVscMode('7') || IsVscMode('2'));
    EXPECT_EQ(ClampKeyerKs(15, 1), 15);
    EXPECT_EQ(ClampKeyerKs(0, -1), 0);
    EXPECT_EQ(ClampKeyerKs(7, 1), 8);
}

TEST(FunctionRules, StatusLinesPutEachFieldInItsColumns) {
    PanelFunctions f;
    f.antennaB = 0;
    EXPECT_EQ(DspStatusLine(f, 0), std::string(29, ' '));
    EXPECT_EQ(RfStatusLine(f), std::string(29, ' '));
    f.noiseReductionB = f.noiseBlankerB = f.autoNotchB = f.manualNotchB = f.twinPeakB = 1;
    EXPECT_EQ(DspStatusLine(f, '1'), "nr nb an agcs mn tp          ");
    EXPECT_EQ(DspStatusLine(f, '3').substr(9, 4), "agcf");
    f.agcVrB = 1;
    EXPECT_EQ(DspStatusLine(f, '2').substr(9, 4), "magc");
    f = {};
    f.antennaB = 2;
    f.rxAntennaB = 1;
    f.attenuatorB = 7;
    f.preampB = 2;
    f.apfB = 1;
    EXPECT_EQ(RfStatusLine(f), "ant2 rx at21 pa2 af320       ");
    EXPECT_EQ(RfStatusLine(f).size(), 29u);
    f.attenuatorB = 1;
    f.apfB = 3;
    EXPECT_EQ(RfStatusLine(f), "ant2 rx at 3 pa2 af80        ");
}

namespace {
struct FunctionButtonsTest : ShownRadioWindow {
    void Open(int model) { OpenTuned(model, 14.2, '0', 14.2, '0'); }
    void Click(int id, Button b = Button::Left) {
        plat::Window* w = window.Control(id);
        ASSERT_NE(w, nullptr) << id;
        plat::synth::Click(w, b, {5, 5});
    }
    std::string Text(int id) {
        plat::Window* w = window.Control(id);
        return w ? w->GetWindowText() : "<none>";
    }
    int Lit(int id) {
        auto* b = dynamic_cast<CBiStateButton*>(window.Control(id));
        return b ? b->GetState() : -1;
    }
    int Notified() {
        const int n = frame.Count(IDC_RADIO_WINDOW);
        frame.commands.clear();
        return n;
    }
};
}  // namespace

TEST_F(FunctionButtonsTest, AttenuatorAndPreampWorkAgainstEachOther) {
    Open(0);
    Click(173);
    EXPECT_EQ(panel.preamp, 1);
    EXPECT_EQ(Lit(173), 1);
    std::string seen;
    for (int i = 0; i < 5; ++i) {
        Click(126);
        seen += Text(126) + "|";
        EXPECT_EQ(panel.preamp, 0);
    }
    EXPECT_EQ(seen, "Atn- 6|Atn-12|Atn-18|Attn|Atn- 6|");
    EXPECT_EQ(Lit(126), 1);
    EXPECT_EQ(Notified(), 1 + 5);
    // The preamp turns the attenuator off and shows it.
    Click(173);
    EXPECT_EQ(panel.attenuator, 0);
    EXPECT_EQ(Text(126), "Attn");
    EXPECT_EQ(Lit(126), 0);
    Click(173);
    EXPECT_EQ(Text(173), "PreAm2");
    Click(173);
    EXPECT_EQ(panel.preamp, 0);
    EXPECT_EQ(Text(173), "PreAmp");
    EXPECT_EQ(Lit(173), 0);
}

TEST_F(FunctionButtonsTest, OnePreampLevelAlternatesWithOneCaption) {
    Open(4);  // preamp maximum 1
    ASSERT_EQ(ModelCap(g_preampcount), 1);
    Click(173);
    EXPECT_EQ(Text(173), "PreAmp");
    EXPECT_EQ(Lit(173), 1);
    Click(173);
    EXPECT_EQ(Text(173), "PreAmp");
    EXPECT_EQ(Lit(173), 0);
    Click(173);
    EXPECT_EQ(panel.preamp, 1);
}

TEST_F(FunctionButtonsTest, SquelchOnlyInPhoneModesAndOnlyWhereTheRadioHasIt) {
    Open(3);  // takes VSC
    panel.vfoAMode = '3';
    Click(1520);
    EXPECT_EQ(panel.vsc, 0);
    EXPECT_EQ(Lit(1520), 0);
    EXPECT_EQ(Notified(), 0);
    panel.vfoAMode = '0';
    Click(1520);
    EXPECT_EQ(panel.vsc, 1);
    EXPECT_EQ(Lit(1520), 1);
    EXPECT_EQ(Notified(), 1);
    // Switching off works in any mode.
    panel.vfoAMode = '3';
    Click(1520);
    EXPECT_EQ(panel.vsc, 0);
    // The IC-7300 has no VSC.
    g_radiotype = 23;
    panel.vfoAMode = '0';
    Click(1520);
    EXPECT_EQ(panel.vsc, 0);
}

TEST_F(FunctionButtonsTest, KeyerSpeedOffsetClampsAndYieldsToTheKeyersPot) {
    Open(23);
    g_keyerks = 14;
    Click(1514, Button::Right);
    Click(1514, Button::Right);
    EXPECT_EQ(g_keyerks, 15);
    EXPECT_EQ(g_keyerspeedchanged, 1);
    EXPECT_EQ(Notified(), 2);
    g_keyerks = 1;
    Click(1514);
    Click(1514);
    EXPECT_EQ(g_keyerks, 0);
    frame.commands.clear();
    // A serial keyer with its own speed pot owns the speed.
    g_keyerspeedchanged = 0;
    g_yaltkeyer = 1;
    g_nospeedpot = 0;
    Click(1514, Button::Right);
    EXPECT_EQ(g_keyerks, 0);
    EXPECT_EQ(g_keyerspeedchanged, 0);
    EXPECT_EQ(Notified(), 0);
    g_nospeedpot = 1;
    Click(1514, Button::Right);
    EXPECT_EQ(g_keyerks, 1);
}

TEST_F(FunctionButtonsTest, MultiStateButtonsCycleTheirCaptions) {
    Open(5);
    std::string apf;
    for (int i = 0; i < 4; ++i) {
        Click(2512);
        apf += Text(2512) + std::to_string(Lit(2512)) + "|";
    }
    EXPECT_EQ(apf, "APF3201|APF1601|APF801|APF0|");
    std::string bk;
    for (int i = 0; i < 3; ++i) {
        Click(1407);
        bk += Text(1407) + std::to_string(Lit(1407)) + "|";
    }
    EXPECT_EQ(bk, "BSemi1|BFull1|Bk-In0|");
    std::string nw;
    for (int i = 0; i < 3; ++i) {
        Click(2533);
        nw += Text(2533) + "|";
    }
    EXPECT_EQ(nw, "Mn Mid|Mn Nar|Mn Wid|");
    EXPECT_EQ(panel.fn.notchWidth, 0);
    // Models 5 and 16 count the attenuator in steps of 3 dB.
    for (int i = 0; i < 4; ++i) Click(126);
    EXPECT_EQ(Text(126), "Atn-12");
    EXPECT_EQ(panel.attenuator, 4);
}

TEST_F(FunctionButtonsTest, MeterSelectionSkipsCompressionOnModelThreeAndFollowsOnTheMirrorPanel) {
    Open(3);
    g_metersetting = 0;
    std::string seen;
    for (int i = 0; i < 4; ++i) {
        Click(2517);
        seen += Text(2517) + std::to_string(g_metertype) + "|";
    }
    EXPECT_EQ(seen, "PwrMtr1|SWRMtr3|ALCMtr6|S Meter4|");
    g_radiotype = 23;
    g_mirror = 1;
    const plat::Point size = MirrorPanelSize();
    CMRPanel* mr = CreateMirrorPanel(&frame, {20, 30, 20 + size.x, 30 + size.y});
    ASSERT_NE(mr, nullptr);
    Click(2517);
    Click(2517);
    Click(2517);
    EXPECT_EQ(g_metersetting, 3);
    EXPECT_EQ(Text(2517), "COMMtr");
    EXPECT_EQ(mr->meter.GetWindowText(), "COMMtr");
    // PTT lights on both panels.
    Click(230);
    EXPECT_EQ(panel.fn.pttRequest, 1);
    EXPECT_EQ(Lit(230), 1);
    EXPECT_EQ(mr->transmit.GetState(), 1);
    Click(230);
    EXPECT_EQ(panel.fn.pttRequest, 0);
    EXPECT_EQ(mr->transmit.GetState(), 0);
    DestroyMirrorPanel();
}

TEST_F(FunctionButtonsTest, SubReceiverButtonsOfModelFiveFillTheStatusLines) {
    Open(5);
    g_dual = 1;
    // Right clicks with dual watch on act on the sub receiver.
    Click(126, Button::Right);
    Click(126, Button::Right);
    Click(173, Button::Right);
    Click(2512, Button::Right);
    Click(2493, Button::Right);
    EXPECT_EQ(panel.fn.attenuatorB, 2);
    EXPECT_EQ(panel.fn.preampB, 1);
    EXPECT_EQ(panel.fn.apfB, 1);
    EXPECT_EQ(panel.fn.antennaB, 2);
    EXPECT_EQ(Text(IDC_RF_STATUS), "ant2    at 6 pa1 af320       ");
    // The main receiver's own values stay.
    EXPECT_EQ(panel.attenuator, 0);
    EXPECT_EQ(panel.preamp, 0);
    EXPECT_EQ(panel.fn.apf, 0);
    EXPECT_EQ(Text(126), "Attn");
    EXPECT_EQ(Notified(), 5);
    // The sub attenuator wraps after 7.
    for (int i = 0; i < 6; ++i) Click(126, Button::Right);
    EXPECT_EQ(panel.fn.attenuatorB, 0);

    // With the slider row on the sub receiver the DSP buttons work its copies.
    g_subsliders = 1;
    g_agcmodevfob = '2';
    Click(2505);
    Click(2364);
    Click(2495, Button::Right);
    Click(2515);
    EXPECT_EQ(panel.fn.noiseReduction, 0);
    EXPECT_EQ(panel.fn.noiseReductionB, 1);
    EXPECT_EQ(panel.fn.noiseBlankerB, 1);
    EXPECT_EQ(panel.fn.noiseBlanker, 0);
    EXPECT_EQ(panel.fn.twinPeakB, 1);
    EXPECT_EQ(Lit(2505), 1);
    EXPECT_EQ(Text(IDC_DSP_STATUS), "nr nb an agcm    tp          ");
    Click(2489, Button::Right);
    EXPECT_EQ(Text(IDC_DSP_STATUS).substr(9, 4), "magc");
    // Back on the main receiver.
    g_subsliders = 0;
    Click(2505);
    EXPECT_EQ(panel.fn.noiseReduction, 1);
    EXPECT_EQ(panel.fn.noiseReductionB, 1);

    const std::string dir = std::string(QARV_BUILD_DIR) + "/radio_window";
    ::mkdir(dir.c_str(), 0755);
    panel.ShowClocks("LOC  9:05:00", "UTC 14:05:00");
    panel.ShowSwr("1.50");
    panel.ShowMute(1);
    panel.ShowCwSpeed("22");
    panel.SetCwCaption("Cw Kb");
    EXPECT_TRUE(plat::SaveWindowPng(&window, dir + "/function_buttons_5.png"));
}

TEST_F(FunctionButtonsTest, ModelsWithoutASubReceiverLineShowNone) {
    Open(23);
    ASSERT_NE(window.Control(IDC_DSP_STATUS), nullptr);
    EXPECT_FALSE(window.Control(IDC_DSP_STATUS)->IsWindowVisible());
    panel.fn.noiseReductionB = 1;
    panel.ShowDspStatusLine();  // nothing to show, nothing breaks
    // On the IC-7300 the NB and IP+ buttons switch the main receiver.
    Click(2364);
    Click(2532);
    EXPECT_EQ(panel.fn.noiseBlanker, 1);
    EXPECT_EQ(panel.fn.ipPlus, 1);
    EXPECT_EQ(Lit(2532), 1);
}

TEST_F(FunctionButtonsTest, CommandsForTheMainFrameAndFlagsItActsOn) {
    Open(5);
    Click(424);
    EXPECT_EQ(frame.Count(3231), 1);
    Click(560, Button::Right);
    EXPECT_EQ(frame.Count(1229), 1);
    frame.commands.clear();
    Click(1518);
    EXPECT_EQ(g_userbutton, 3);
    EXPECT_EQ(Notified(), 1);
    g_userbutton = 0;
    Click(2522);
    EXPECT_EQ(g_reinitrequest, 1);
    EXPECT_EQ(Notified(), 1);
    g_reinitrequest = 0;
    panel.OnCommand(IDC_MUTE);
    EXPECT_EQ(frame.Count(114), 1);
    // Transmit disable: lit while the transmitter is disabled.
    Click(596);
    EXPECT_EQ(panel.fn.txEnabled, 0);
    EXPECT_EQ(Lit(596), 1);
    Click(596);
    EXPECT_EQ(panel.fn.txEnabled, 1);
    EXPECT_EQ(Lit(596), 0);
}

TEST_F(FunctionButtonsTest, IdentificationButtonArmsAndDisarms) {
    Open(23);
    panel.ShowMute(0);
    Click(560);
    EXPECT_EQ(g_idarmed, 1);
    EXPECT_EQ(g_idjustarmed, 1);
    EXPECT_EQ(Lit(560), 1);
    // A due identification in the wrong mode leaves the reminder.
    panel.ShowIdReminder("W1AW");
    g_idflash = 1;
    EXPECT_EQ(Text(IDC_STATUS_LABEL), "W1AW");
    Click(560);
    EXPECT_EQ(g_idarmed, 0);
    EXPECT_EQ(g_idflash, 0);
    EXPECT_EQ(Lit(560), 0);
    EXPECT_EQ(Text(IDC_STATUS_LABEL), "    ");
}

TEST_F(FunctionButtonsTest, VoxShownAtStartUpIsThePanelsFlag) {
    Open(23);
    panel.ShowVox(1);
    EXPECT_EQ(panel.fn.vox, 1);
    EXPECT_EQ(Lit(1402), 1);
    Click(1402);
    EXPECT_EQ(panel.fn.vox, 0);
    EXPECT_EQ(panel.vox, 0);
    EXPECT_EQ(Lit(1402), 0);
}

TEST_F(FunctionButtonsTest, AmplifierTuneTwiceRestoresStepKnobAndKeepsThePower) {
    Open(23);
    g_bandrow = 13;
    g_bandstack[13].alcsetting = 15;
    g_power = 80;
    g_knobfunction = kKnobVfoA;
    panel.SetStep(100);
    frame.commands.clear();
    Click(555);
    EXPECT_EQ(g_amtnactive, 1);
    EXPECT_EQ(Lit(555), 1);
    EXPECT_NEAR(panel.vfoAFreq, 14.205, 1e-9);
    EXPECT_EQ(panel.step, g_step4);
    EXPECT_EQ(g_knobfunction, kKnobPower);
    EXPECT_EQ(g_power, 15);
    EXPECT_EQ(g_powerchanged, 1);
    EXPECT_EQ(frame.Count(556), 1);
    EXPECT_GE(frame.Count(IDC_RADIO_WINDOW), 1);
    // The operator raises the power while tuning.
    g_power = 22;
    frame.commands.clear();
    Click(555);
    EXPECT_EQ(g_amtnactive, 0);
    EXPECT_EQ(Lit(555), 0);
    EXPECT_EQ(panel.step, 100);
    EXPECT_EQ(g_knobfunction, kKnobVfoA);
    EXPECT_EQ(g_bandstack[13].alcsetting, 22);
    EXPECT_EQ(frame.Count(556), 1);
    // A damaged row's power is kept to a percentage.
    g_bandstack[13].alcsetting = 500;
    Click(555);
    EXPECT_EQ(g_power, 100);
    Click(555);
}

TEST_F(FunctionButtonsTest, DisplaysTheMainFrameWrites) {
    Open(23);
    panel.ShowClocks("LOC 10:00:00", "UTC 15:00:00");
    EXPECT_EQ(Text(9107), "LOC 10:00:00");
    EXPECT_EQ(Text(9108), "UTC 15:00:00");
    panel.ShowSwr("2.00");
    EXPECT_EQ(Text(IDC_SWR_LABEL), "2.00");
    panel.SetTuneButton(1);
    EXPECT_EQ(Lit(430), 1);
    panel.SetMemoryScanButton(1);
    EXPECT_EQ(Lit(422), 1);
    panel.ShowTransmitButton(1);
    EXPECT_EQ(Lit(230), 1);
    panel.antenna = 2;
    panel.ShowAntenna();
    EXPECT_EQ(Text(2493), "Ant 2");
    panel.ShowBreakIn(2);
    EXPECT_EQ(panel.fn.breakIn, 2);
    EXPECT_EQ(Text(1407), "BFull");
    g_metersetting = 4;
    panel.ShowMeterSetting();
    EXPECT_EQ(Text(2517), "ALCMtr");
    panel.ShowCwSpeed("25");
    panel.SetCwCaption("Cw Kb");
    EXPECT_EQ(Text(IDC_SPEED_LABEL), "25");
    EXPECT_EQ(Text(IDC_CWKB_LABEL), "Cw Kb");
    // The ID button flashes between the two selected colours.
    panel.ShowIdFlash(1);
    panel.ShowIdLabel();
    EXPECT_EQ(Text(560), "I D");
}

TEST_F(FunctionButtonsTest, TheStateReadAtStartUpShowsOnTheNewWindow) {
    panel.fn.noiseBlanker = 1;
    panel.fn.apf = 2;
    panel.fn.breakIn = 2;
    panel.fn.notchWidth = 1;
    panel.fn.txEnabled = 0;
    panel.attenuator = 3;
    panel.fn.noiseReductionB = 1;
    panel.fn.preampB = 1;
    g_metersetting = 2;
    Open(5);
    EXPECT_EQ(Lit(2364), 1);
    EXPECT_EQ(Lit(2505), 0);
    EXPECT_EQ(Text(2512), "APF160");
    EXPECT_EQ(Text(1407), "BFull");
    EXPECT_EQ(Text(2533), "Mn Mid");
    EXPECT_EQ(Lit(596), 1);
    EXPECT_EQ(Text(126), "Atn- 9");
    EXPECT_EQ(Text(2517), "SWRMtr");
    EXPECT_EQ(Text(IDC_DSP_STATUS).substr(0, 2), "nr");
    EXPECT_EQ(Text(IDC_RF_STATUS).substr(13, 3), "pa1");
}
