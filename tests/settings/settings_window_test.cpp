// The settings window driven through its controls: pages and their show
// rules, the fill and the apply as inverses, the refused values, the edit
// handlers and the ports.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "base/band_plan.h"
#include "base/colour_names.h"
#include "base/device_options.h"
#include "base/memory_options.h"
#include "base/panel_options.h"
#include "base/settings_options.h"
#include "base/settings_table.h"
#include "civ/accessory_ports.h"
#include "civ/band_table.h"
#include "civ/civ_options.h"
#include "civ/civ_timers.h"
#include "civ/frequency_options.h"
#include "civ/frequency_state.h"
#include "civ/radio_search.h"
#include "civ/setter_fixture.h"
#include "devices/keying.h"
#include "devices/midi_controllers.h"
#include "devices/remote_link.h"
#include "devices/surface_keys.h"
#include "devices/switches.h"
#include "panel/controls/meter.h"
#include "platform/input_synth.h"
#include "platform/port_list.h"
#include "settings/assign_pages.h"
#include "settings/scales.h"
#include "settings/settings_pages.h"
#include "settings/trans_ops.h"
#include "sim/pty_pair.h"

#include "settings/settings_fixture.h"

namespace {
std::map<std::string, std::string> Snapshot() {
    std::map<std::string, std::string> out;
    for (const SettingKey& row : SettingsCatalogue())
        if (row.key && row.kind != SettingKind::Custom) out[std::string(row.section) + "/" + row.key] = FormatSetting(row);
    return out;
}
}  // namespace

TEST(SettingsWindow, PageListAndMenuButtonsStopAtBothEnds) {
    SettingsWindow s(23, 0);  // IC-7300: DSP widths, no DIGI-SEL
    EXPECT_EQ(g_settingspagecount, 23);
    EXPECT_EQ(s.w().PageList()->GetItemText(22), "Restore Filters");
    s.click(s.w().MenuUp());
    EXPECT_EQ(g_settingspage, 0);
    for (int i = 0; i < 30; ++i) s.click(s.w().MenuDown());
    EXPECT_EQ(g_settingspage, 22);
    EXPECT_EQ(s.w().PageList()->GetCurSel(), 22);
    s.w().PageList()->Choose(14);
    EXPECT_EQ(g_settingspage, 14);
    EXPECT_EQ(s.frame.changes, 0);  // paging is no settings change
}

TEST(SettingsWindow, ASavedPageTheListDoesNotHoldShowsNothingUntilMenuDown) {
    g_perseus = 0;
    SettingsWindow s(0, 23);  // type 0: no DSP widths, 22 pages
    EXPECT_EQ(g_settingspagecount, 22);
    EXPECT_EQ(g_settingspage, -1);
    EXPECT_FALSE(s.shown("Call Sign"));
    s.click(s.w().MenuDown());
    EXPECT_EQ(g_settingspage, 0);
    EXPECT_TRUE(s.w().EditOf(2371)->IsWindowVisible());
}

TEST(SettingsWindow, PagesShowTheControlsOfTheRadioType) {
    {
        SettingsWindow s(23, 15);  // IC-7300
        EXPECT_TRUE(s.w().EditOf(559)->IsWindowVisible());        // CTCSS
        EXPECT_FALSE(s.w().ComboOf(2523)->IsWindowVisible());     // roofing: DIGI-SEL only
        s.w().ShowPage(16);
        EXPECT_TRUE(s.shown("Vox Gain"));
        s.w().ShowPage(14);
        EXPECT_TRUE(s.w().EditOf(2369)->IsWindowVisible());
        EXPECT_FALSE(s.shown("Reverse Paddle"));
        EXPECT_TRUE(s.shown("Dah Wgt"));
    }
    delete g_transops;
}

TEST(SettingsWindow, PerseusAndDigiSelPages) {
    g_perseus = 1;
    {
        SettingsWindow s(13, 16);
        EXPECT_EQ(g_settingspagecount, 22);
        EXPECT_FALSE(s.shown("Vox Gain"));
        s.w().ShowPage(14);
        EXPECT_FALSE(s.w().EditOf(2369)->IsWindowVisible());
        s.w().ShowPage(0);
        EXPECT_FALSE(s.w().ComboOf(1521)->IsWindowVisible());  // memory bank: type 13 but the Perseus
    }
    g_perseus = 0;
    SettingsWindow d(16, 22);  // a DIGI-SEL type with the Filter 2 column only
    EXPECT_EQ(g_settingspagecount, 24);
    EXPECT_TRUE(d.shown("Restore Filter 2 Settings at Exit"));
    EXPECT_TRUE(d.shown("AM"));
    EXPECT_FALSE(d.shown("AM Filter 3"));
    d.w().ShowPage(15);
    EXPECT_TRUE(d.w().ComboOf(2523)->IsWindowVisible());
}

TEST(SettingsWindow, KnobPagesFollowTheControlSurface) {
    g_flexknob = 1;
    EXPECT_EQ(settings::PageCaption(17), "Aux Single");
    g_flexknob = 0;
    g_usetmate2 = 1;
    EXPECT_EQ(settings::PageCaption(18), "Function Keys");
    g_usetmate2 = 0;
    EXPECT_EQ(settings::PageCaption(19), "Remote Pod 0-3");
    g_cmdmicro = 1;
    SettingsWindow s(23, 17);
    EXPECT_TRUE(s.shown("Reload DJ Controller Settings"));
    s.w().ShowPage(19);
    EXPECT_FALSE(s.shown("TMate2 S meter shows Peak"));
}

TEST(SettingsWindow, FillThenApplyChangesNothingAndSendsNothing) {
    // Forms older files hold and values the lists do not list.
    g_amagc = 0;
    g_cwagc = '3';
    g_callsize = 30;
    g_restore[0] = 30;
    g_restore[1] = 41;
    g_baud = 4321;
    g_civindex = 250;
    g_voxgain = 13;
    g_fmcts = 885;
    g_bfo = 650;
    g_metercycle = 20;     // below what the edit takes: kept while untouched
    g_poddesense = 0;
    g_pbtscale = 7;        // not in the scale table
    g_callcolor = 0x123456;  // a colour without a name
    std::snprintf(g_callsign, sizeof g_callsign, "%s", "DL1ABC");
    SettingsWindow s(23, 1);
    const auto before = Snapshot();
    ApplySettings();
    ApplySettings();
    for (const auto& [key, value] : Snapshot()) EXPECT_EQ(value, before.at(key)) << key;
    EXPECT_TRUE(s.frames().empty());
    EXPECT_EQ(g_amagc, 0);
    EXPECT_EQ(g_callsize, 30);
    EXPECT_EQ(s.edit(2446).GetText(), "11");
}

TEST(SettingsWindow, ListsStoreTheirEncodings) {
    SettingsWindow s(23, 1);
    s.w().ComboOf(2433)->Choose(2);  // AM AGC "Medium"
    EXPECT_EQ(g_amagc, '2');
    auto* ssb = static_cast<plat::ComboBox*>(s.byCaption("SSB"));
    ssb->Choose(0);
    EXPECT_EQ(g_restore[0], 41);  // leave the filter
    ssb->Choose(11);
    EXPECT_EQ(g_restore[0], 30);
    s.w().ComboOf(2475)->Choose(7);
    EXPECT_EQ(g_baud, 115200);
    auto* colour = static_cast<plat::ComboBox*>(s.byCaption("Call Sign Color"));
    colour->Choose(2);
    EXPECT_EQ(g_callcolor, NameToColor("RED"));
    // Nothing selected: the setting stays.
    s.w().ComboOf(2434)->SetCurSel(-1);
    const int cw = g_cwagc;
    ApplySettings();
    EXPECT_EQ(g_cwagc, cw);
}

TEST(SettingsWindow, RefusedValuesKeepThePreviousOneAndShowIt) {
    SettingsWindow s(23, 3);
    s.type(s.editNamed("Memory Scan Dwell Time (1 to 99)"), "0");
    EXPECT_EQ(g_dwell, 2);
    s.type(s.editNamed("Memory Scan Dwell Time (1 to 99)"), "99");
    EXPECT_EQ(g_dwell, 99);
    s.type(s.editNamed("Dwell Time (seconds 1-99)"), "100");
    EXPECT_EQ(g_fscandwell, 1);
    EXPECT_EQ(s.editNamed("Dwell Time (seconds 1-99)").GetText(), "1");
    s.type(s.edit(2446), "16");
    EXPECT_EQ(g_callsize, 20);
    EXPECT_EQ(s.edit(2446).GetText(), "1");
    s.type(s.edit(2446), "15");
    EXPECT_EQ(g_callsize, 34);
    s.type(s.edit(2477), "0");  // desense is a divisor
    EXPECT_EQ(g_poddesense, 1);
    EXPECT_EQ(s.edit(2477).GetText(), "1");
    s.type(s.edit(2426), "0");  // fast tuning is a modulus
    EXPECT_EQ(g_fasttuningmult, 10);
    s.type(s.editNamed("S Meter Polling Time (msec)"), "0");
    EXPECT_EQ(g_metercycle, 200);
    s.type(s.editNamed("S Meter Polling Time (msec)"), "-5");
    EXPECT_EQ(g_metercycle, 200);
    EXPECT_EQ(s.editNamed("S Meter Polling Time (msec)").GetText(), "200");
    s.type(s.edit(559), "500");
    EXPECT_EQ(g_fmcts, 0);
    s.type(s.edit(559), "885");
    EXPECT_EQ(g_fmcts, 885);
    s.type(s.editNamed("Scale X"), "9.0");
    ApplyScaleEdits();
    EXPECT_DOUBLE_EQ(g_scalex, 1.4);
    EXPECT_EQ(s.editNamed("Scale X").GetText(), "1.40");
    s.type(s.editNamed("Settings Scale X"), "1.70");
    ApplyScaleEdits();
    EXPECT_DOUBLE_EQ(g_settingsscalex, 1.7);
}

TEST(SettingsWindow, RemoteLinkPortMustBeAPort) {
    g_client = 1;
    SettingsWindow s(23, 21);
    const long old = g_serverport;
    s.type(s.edit(2494), "70000");
    EXPECT_EQ(g_serverport, old);
    s.type(s.edit(2494), "0");
    EXPECT_EQ(g_serverport, old);
    s.type(s.edit(2494), "4532");
    EXPECT_EQ(g_serverport, 4532);
}

TEST(SettingsWindow, StepsAndFilterPositionsCheckThemselves) {
    SettingsWindow s(23, 13);
    s.type(s.edit(2403), "0");
    EXPECT_EQ(g_step4, 1000);
    EXPECT_EQ(s.edit(2403).GetText(), "1000");
    s.type(s.edit(2397), "20001");
    EXPECT_EQ(g_step1, 1);
    EXPECT_EQ(StepButtonCaption(1500), "1 kHz");
    EXPECT_EQ(StepButtonCaption(999), "999 Hz");
    s.type(s.edit(2428), "5");  // DSP widths: 5 stays
    EXPECT_EQ(g_cwfilterposition, 5);
    s.type(s.edit(2428), "13");
    EXPECT_EQ(g_cwfilterposition, 12);
    EXPECT_EQ(FilterPositionDefault(2428, false), 2);
}

TEST(SettingsWindow, TextEditsAreLimitedToTheirBuffers) {
    SettingsWindow s(23, 11);
    s.type(s.editNamed("CW Memory1 Tag"), std::string(100, 'X'));
    EXPECT_EQ(std::string(g_cwtag[0]), std::string(sizeof g_cwtag[0] - 1, 'X'));
    s.type(s.edit(2405), std::string(80, 'K'));
    EXPECT_EQ(std::strlen(g_callsign), sizeof g_callsign - 1);
}

TEST(SettingsWindow, ExpertDriveGoesToARealBandRowOnly) {
    g_experton = 1;
    g_ampdrivebyband = 1;
    g_bandrow = 99;  // no band
    SettingsWindow s(23, 11);
    s.type(s.edit(2536), "70");
    g_bandrow = 5;
    s.type(s.edit(2536), "60");
    EXPECT_EQ(g_ampdrive[5], 60);
}

TEST(SettingsWindow, CwPitchIsSentOnceAndOnlyWhenChanged) {
    g_bfo = 700;
    SettingsWindow s(23, 14);
    s.type(s.edit(2369), "600");
    EXPECT_EQ(g_bfo, 600);
    int pitch = 0;
    for (const Bytes& b : s.bodies())
        if (b.size() >= 2 && b[0] == 0x14 && b[1] == 0x09) {
            ++pitch;
            EXPECT_EQ(b, (Bytes{0x14, 0x09, 0x01, 0x28}));
        }
    EXPECT_EQ(pitch, 1);
    ApplySettings();
    for (const Bytes& b : s.bodies()) EXPECT_FALSE(b.size() >= 2 && b[0] == 0x14 && b[1] == 0x09);
}

TEST(SettingsWindow, OneKnobDeviceAtATime) {
    g_flexknob = 1;
    SettingsWindow s(23, 17);
    s.w().CheckOf(2481)->Click();  // TMate2
    EXPECT_EQ(g_usetmate2, 1);
    EXPECT_EQ(g_flexknob, 0);
    EXPECT_EQ(s.w().CheckOf(2480)->GetCheck(), 0);
}

TEST(SettingsWindow, PortSelectorMatchesWholeNames) {
    SettingsWindow s(23, 21);
    s.w().EnumerateComPorts({"COM1", "COM10", "/dev/ttyUSB0"});
    s.w().SelectPort(1317, "COM1");
    EXPECT_EQ(s.w().ComboOf(1317)->GetSelectedText(), "COM1");
    s.w().SelectPort(1317, "COM10");
    EXPECT_EQ(s.w().ComboOf(1317)->GetSelectedText(), "COM10");
    s.w().SelectPort(1317, "COM7");
    EXPECT_EQ(s.w().ComboOf(1317)->GetCurSel(), -1);
    EXPECT_EQ(s.w().SavedPort(1317), "COM7");
    EXPECT_EQ(s.w().ComboOf(6400)->GetItemText(0), "NONE");
}

TEST(SettingsWindow, PortListsComeFromLinksWithoutOpening) {
    TestDir dir;
    PtyPair pty;
    ASSERT_TRUE(pty.link(dir.file("ports/com3")));
    ASSERT_TRUE(pty.link(dir.file("ports/com12")));
    const auto ports = plat::ListSerialPorts(dir.path());
    ASSERT_GE(ports.size(), 2u);
    EXPECT_EQ(ports[0], "COM3");
    EXPECT_EQ(ports[1], "COM12");
    for (std::size_t i = 2; i < ports.size(); ++i) EXPECT_EQ(ports[i].rfind("/dev/", 0), 0u);
}

TEST(SettingsWindow, SteppirSwitchedOffClosesItsPort) {
    PtyPair pty;
    g_appsteppir = 1;
    std::snprintf(g_steppircomport, sizeof g_steppircomport, "%s", pty.slavePath().c_str());
    SettingsWindow s(23, 10);
    OpenSteppirPort();
    ASSERT_TRUE(plat::SerialIsOpen(g_steppirport));
    s.w().CheckOf(2449)->Click();
    EXPECT_EQ(g_appsteppir, 0);
    EXPECT_FALSE(plat::SerialIsOpen(g_steppirport));
    EXPECT_STREQ(g_steppircomport, "NONE");
}

TEST(SettingsWindow, SsbTransmitFilterIsOneChoice) {
    g_ssbtxfilter = 0;
    SettingsWindow s(23, 15);
    s.w().CheckOf(2396)->Click();  // narrow while wide is the choice
    EXPECT_EQ(g_ssbtxfilter, 2);
    EXPECT_EQ(s.w().CheckOf(2380)->GetCheck(), 0);
    EXPECT_EQ(s.w().CheckOf(2396)->GetCheck(), 1);
}

TEST(SettingsWindow, DtrPowerSwitchesDtrKeyingOff) {
    g_dtrcw = 1;
    g_rawmode = 1;
    SettingsWindow s(23, 21);
    s.w().CheckOf(2495)->Click();
    EXPECT_EQ(g_dtrpw, 1);
    EXPECT_EQ(g_dtrcw, 0);
    EXPECT_EQ(s.w().CheckOf(2498)->GetCheck(), 0);
}

TEST(SettingsWindow, ScaledLayout) {
    g_settingsscalex = 1.0;
    g_settingsscaley = 1.0;
    SettingsWindow s(23, 0);
    EXPECT_EQ(s.w().MenuUp()->GetWindowRect().left, 10);
    EXPECT_EQ(s.w().Scaled(105, 0, 0, 0).left, 105);
    s.w().ScaleX = 1.4f;
    EXPECT_EQ(s.w().Scaled(105, 0, 110, 0).left, 147);
    EXPECT_EQ(s.w().Scaled(105, 0, 110, 0).right, 154);
}

TEST(SettingsWindow, FrequencyScanStartsAtTheStartOutsideTheRangeAndStopsOnce) {
    g_fscanstart = 7.000;
    g_fscanstop = 7.100;
    g_vfoafreq = 14.074;
    g_scanfreq = 0;
    SettingsWindow s(23, 4);
    s.w().CheckOf(2445)->Click();  // stop with no scan running
    EXPECT_EQ(g_scanfreq, 0);
    s.w().CheckOf(2444)->Click();
    EXPECT_DOUBLE_EQ(g_scanfreq, 7.0);
    EXPECT_DOUBLE_EQ(g_vfoafreq, 7.0);
    EXPECT_TRUE(s.win.HasTimer(TIMER_SCAN));
    s.w().CheckOf(2445)->Click();
    EXPECT_EQ(g_scanfreq, 0);
    EXPECT_FALSE(s.win.HasTimer(TIMER_SCAN));
    EXPECT_EQ(s.w().CheckOf(2444)->GetCheck(), 0);
}

TEST(SettingsWindow, VoxSlidersKeepTheirFloorAndSkipThirteen) {
    g_voxgain = 5;
    SettingsWindow s(23, 16);
    CSlider& gain = s.sliderNamed("Vox Gain");
    EXPECT_EQ(gain.GetValue(), 9);
    EXPECT_EQ(s.valueShown("Vox Gain"), "5");
    s.slide(gain, 17);
    EXPECT_EQ(g_voxgain, 14);
    EXPECT_EQ(gain.GetValue(), 18);  // the slider shows what was stored
    EXPECT_EQ(s.valueShown("Vox Gain"), "14");
    s.slide(gain, 0);
    EXPECT_EQ(g_voxgain, 1);
    EXPECT_EQ(s.valueShown("Vox Gain"), "1");
    s.slide(s.sliderNamed("Vox Delay"), 0);
    EXPECT_EQ(g_voxhang, 0);
    bool sent = false;
    for (const Bytes& b : s.bodies()) sent = sent || (b.size() >= 2 && b[0] == 0x14 && b[1] == 0x16);
    EXPECT_TRUE(sent);
}

// With no port to search, the search says so at once and the radio port
// stays as it was.
TEST(SettingsWindow, RadioSearchWithNoPortSaysSoAndKeepsTheRadioPort) {
    SettingsWindow s(23, 21);
    s.w().EnumerateComPorts({});
    ASSERT_TRUE(plat::SerialIsOpen(g_radioport));
    const std::string port = g_comport;
    const long baud = g_baud;
    s.w().CheckOf(2492)->Click();
    EXPECT_EQ(g_autobaud, 0);
    EXPECT_TRUE(plat::SerialIsOpen(g_radioport));
    EXPECT_EQ(g_comport, port);
    EXPECT_EQ(g_baud, baud);
    EXPECT_EQ(s.w().CheckOf(2492)->GetCheck(), 0);
    EXPECT_FALSE(s.win.HasTimer(TIMER_AUTOBAUD));
}

TEST(SettingsWindow, KeyerSlidersKeepTheirScales) {
    g_yaltkeyer = 1;
    g_yaltlead = 200;  // no slider position gives it: kept while untouched
    SettingsWindow s(23, 14);
    EXPECT_TRUE(s.shown("PTT Lead"));
    EXPECT_FALSE(s.shown("Dah Wgt"));
    ApplySettings();
    EXPECT_EQ(g_yaltlead, 200);
    s.slide(s.sliderNamed("PTT Lead"), 16);
    EXPECT_EQ(g_yaltlead, 250);
    s.slide(s.sliderNamed("PTT Lead"), 3);
    EXPECT_EQ(g_yaltlead, 9);
    s.slide(s.sliderNamed("Key Comp"), 7);
    EXPECT_EQ(g_yaltkeycomp, 7);
    s.slide(s.sliderNamed("Key Comp"), 0);
    EXPECT_EQ(g_yaltkeycomp, 0);
    s.slide(s.sliderNamed("Dit/ Dah"), 10);
    EXPECT_EQ(g_yaltditdah, 43);
}

TEST(SettingsWindow, AssignmentRowsFollowTheSurface) {
    g_usetmate2 = 1;
    {
        SettingsWindow s(23, 17);
        EXPECT_EQ(s.w().AssignLabel(0), "Main Knob");
        EXPECT_EQ(s.w().AssignList(0)->GetCount(), 10);
        EXPECT_EQ(s.w().AssignList(0)->FindStringExact("UP B+1"), -1);
        EXPECT_TRUE(s.w().AssignList(2)->IsWindowVisible());
        s.w().ShowPage(19);
        EXPECT_FALSE(s.w().AssignList(12)->IsWindowVisible());  // rows 4 and 5: pods only
    }
    delete g_transops;
    g_usetmate2 = 0;
    g_flexknob = 1;
    {
        SettingsWindow s(23, 18);
        EXPECT_EQ(s.w().AssignLabel(6), "Aux1 Long");
        EXPECT_EQ(s.w().AssignList(6)->GetItemText(0), "UP B+5");
    }
    delete g_transops;
    g_flexknob = 0;
    SettingsWindow s(23, 17);
    EXPECT_EQ(s.w().AssignLabel(0), "Function Key 11");
    EXPECT_TRUE(s.w().AssignList(0)->IsWindowVisible());
    EXPECT_FALSE(s.w().AssignList(1)->IsWindowVisible());  // the remote pod has one row here
    EXPECT_EQ(s.w().AssignList(3)->GetItemText(0), "4");
    EXPECT_EQ(s.w().AssignList(3)->GetItemText(1), "UP 4");
    EXPECT_EQ(s.w().AssignList(10)->GetItemText(1), "UP 10");
    EXPECT_EQ(s.w().AssignList(0)->GetCount(), 1 + 43);
}

TEST(SettingsWindow, AnAssignmentIsSavedAsTheChosenText) {
    std::snprintf(g_podkeys[6], sizeof g_podkeys[6], "%s", "ALC");
    std::snprintf(g_podkeys[7], sizeof g_podkeys[7], "%s", "Not A Function");
    SettingsWindow s(23, 18);
    EXPECT_EQ(s.w().AssignList(3)->GetSelectedText(), "ALC");
    EXPECT_EQ(s.w().AssignList(4)->GetCurSel(), -1);
    ApplySettings();
    EXPECT_STREQ(g_podkeys[7], "Not A Function");  // kept, not saved empty
    plat::ComboBox* list = s.w().AssignList(3);
    list->Choose(list->FindStringExact("RIT"));
    EXPECT_STREQ(g_podkeys[6], "RIT");
    EXPECT_EQ(s.frame.changes, 1);
}

TEST(SettingsWindow, SliderPositionsAndSettingsAreInverses) {
    const auto rows = settings::PageRows();
    for (const settings::PageRow& r : rows) {
        if (!settings::IsSliderRow(r)) continue;
        for (int pos = settings::SliderLow(r); pos <= settings::SliderHigh(r); ++pos) {
            const int setting = settings::SettingOfSlider(r, pos);
            // The slider shows what a position stored, and storing it again keeps it.
            EXPECT_EQ(settings::SettingOfSlider(r, settings::SliderOfSetting(r, setting)), setting) << r.caption;
        }
    }
    settings::PageRow comp{};
    comp.enc = settings::Enc::Comp;
    comp.hi = 50;
    EXPECT_EQ(settings::SettingOfSlider(comp, 1), 0);
    settings::PageRow delay{};
    delay.enc = settings::Enc::AmpDelay;
    EXPECT_EQ(settings::SettingOfSlider(delay, 5), 0);
    EXPECT_EQ(settings::SettingOfSlider(delay, 95), 100);
    EXPECT_EQ(settings::SettingOfSlider(delay, 50), 50);
}

TEST(SettingsWindow, OperAndPowerAreTwoStateButtons) {
    std::snprintf(g_alpha87acomport, sizeof g_alpha87acomport, "%s", "COM9");
    g_ampoperate = 0;
    g_amppower = 0;
    SettingsWindow s(23, 6);
    CBiStateButton* oper = s.w().BiStateOf(1531);
    ASSERT_TRUE(oper->IsWindowVisible());
    EXPECT_EQ(oper->GetState(), 0);
    s.click(oper);
    EXPECT_EQ(g_ampoperate, 1);
    EXPECT_EQ(oper->GetState(), 1);
    EXPECT_EQ(s.frame.changes, 1);
    EXPECT_EQ(s.w().operChange, 0);  // the apply sent it
    s.click(s.w().BiStateOf(1532));
    EXPECT_EQ(g_amppower, 1);
    EXPECT_EQ(s.w().BiStateOf(1532)->GetWindowText(), "ON");
    s.click(s.w().BiStateOf(1532));
    EXPECT_EQ(s.w().BiStateOf(1532)->GetWindowText(), "Off");
}

TEST(SettingsWindow, AntennaButtonsAreOneChoiceApartFromTheRotorStop) {
    g_denkovi = 1;
    SettingsWindow s(23, 11);
    auto box = [&](int n) { return static_cast<plat::CheckBox*>(s.w().RowControl(settings::AntennaRow(n))); };
    ASSERT_TRUE(box(1)->IsWindowVisible());
    EXPECT_FALSE(box(7)->IsWindowVisible());  // "X" and "6M": relay boards of their own only
    EXPECT_EQ(box(9)->GetCheck(), 1);         // "Auto" at start
    s.click(box(3));                          // "7", id 582 like the rotor's "Stop"
    EXPECT_EQ(settings::g_antennaselection, 3);
    for (int n = 1; n <= 9; ++n) EXPECT_EQ(box(n)->GetCheck(), n == 3 ? 1 : 0) << n;
    EXPECT_EQ(s.w().CheckOf(582)->GetCheck(), 0);  // the rotor box is another control
    s.click(box(3));  // unticking the choice keeps it
    EXPECT_EQ(box(3)->GetCheck(), 1);
    s.click(box(9));
    EXPECT_EQ(settings::g_antennaselection, 9);
    EXPECT_EQ(box(3)->GetCheck(), 0);
}

TEST(SettingsWindow, RelayDeviceButtonsTeachTheBandItsAntenna) {
    g_pelx = 1;
    g_pelx40 = 1;
    g_vfoafreq = 7.05;
    SettingsWindow s(23, 11);
    auto box = [&](int n) { return static_cast<plat::CheckBox*>(s.w().RowControl(settings::AntennaRow(n))); };
    EXPECT_TRUE(box(8)->IsWindowVisible());
    s.click(box(7));  // relay value 2, for every band it knows
    EXPECT_EQ(g_pelx40, 2);
    EXPECT_EQ(settings::g_antennaselection, 9);  // back to "Auto"
    EXPECT_EQ(box(9)->GetCheck(), 1);
    s.click(box(1));  // no band entry: the antenna stays chosen
    EXPECT_EQ(settings::g_antennaselection, 1);
    EXPECT_EQ(g_pelx40, 2);
}

TEST(SettingsWindow, TavnSwitchShowsItsRadioNumberInsteadOfTheButtons) {
    g_tavnag = 1;
    g_denkovi = 1;
    g_radioTavn = 1;
    SettingsWindow s(23, 11);
    EXPECT_FALSE(s.w().RowControl(settings::AntennaRow(1))->IsWindowVisible());
    auto* list = static_cast<plat::ComboBox*>(s.byCaption("Tavn Radio Number"));
    ASSERT_TRUE(list->IsWindowVisible());
    EXPECT_EQ(list->GetCurSel(), 0);
    list->Choose(1);
    EXPECT_EQ(g_radioTavn, 2);
}

TEST(SettingsWindow, TransmitFilterMonitorAndAmplifierKeyDelays) {
    g_txfilter = 11;
    g_auxthang = 0;
    SettingsWindow s(23, 15);
    plat::ComboBox* tx = s.w().ComboOf(2383);
    ASSERT_TRUE(tx->IsWindowVisible());
    EXPECT_EQ(tx->GetCurSel(), 11);
    tx->Choose(5);
    EXPECT_EQ(g_txfilter, 5);
    EXPECT_EQ(s.w().txFilterData, 5);
    s.slide(s.sliderNamed("Monitor"), 1);
    EXPECT_EQ(g_monitor, 1);
    bool monitor = false;
    for (const Bytes& b : s.bodies()) monitor = monitor || b == Bytes{0x16, 0x45, 0x01};
    EXPECT_TRUE(monitor);
    s.w().ShowPage(10);
    CSlider& key1 = s.sliderNamed("Amp Key1 Delay");
    ASSERT_TRUE(key1.IsWindowVisible());
    s.slide(key1, 50);
    EXPECT_EQ(g_auxthang, 50);
    s.slide(key1, 95);
    EXPECT_EQ(g_auxthang, 100);
    EXPECT_EQ(key1.GetValue(), 100);  // the slider is set to what was kept
    EXPECT_EQ(s.valueShown("Amp Key1 Delay"), "100");
}

TEST(SettingsWindow, TuneSwitchActsOnlyWhenTicked) {
    SettingsWindow s(23, 2);
    ApplySettings();
    EXPECT_EQ(settings::g_tuneswitch, 0);
    s.click(s.byCaption("Tune"));
    EXPECT_EQ(settings::g_tuneswitch, 1);
    EXPECT_EQ(g_tunemodeon, 1);
}

TEST(SettingsWindow, PagesWithSlidersAndButtonsAsPictures) {
    g_yaltkeyer = 1;
    g_denkovi = 1;
    g_adr2200 = 1;
    std::snprintf(g_alpha87acomport, sizeof g_alpha87acomport, "%s", "COM9");
    g_ampoperate = 1;
    SettingsWindow s(23, 14);
    s.frame.ShowWindow(plat::SW_SHOW);
    s.w().ShowWindow(plat::SW_SHOW);
    for (int page : {14, 15, 16, 10, 11, 6}) {
        s.w().PageList()->Choose(page);
        EXPECT_TRUE(plat::SaveWindowImage(&s.w(), std::string(QARV_BUILD_DIR) + "/settings_sliders_page" +
                                                      std::to_string(page) + ".png"));
    }
    // Every slider on show stands inside the window, none over another.
    s.w().ShowPage(14);
    const auto rows = settings::PageRows();
    const plat::Rect client = s.w().GetWindowRect();
    int shown = 0;
    for (int n = 0; n < int(rows.size()); ++n) {
        if (!settings::IsSliderRow(rows[n]) || !s.w().RowControl(n)->IsWindowVisible()) continue;
        ++shown;
        const plat::Rect r = s.w().RowControl(n)->GetWindowRect();
        EXPECT_LE(r.right, client.width()) << rows[n].caption;
        EXPECT_LE(r.bottom, client.height()) << rows[n].caption;
    }
    EXPECT_EQ(shown, 9);  // speed, sidetone, QSK and the six keyer sliders
}

TEST(SettingsWindow, ScaleEditsTakeOnlyWhatThePanelsDraw) {
    g_scaley = 1.4;
    SettingsWindow s(23, 2);
    plat::Edit& y = s.editNamed("Scale Y");
    for (const char* refused : {"0.49", "4.01", "abc", "-1"}) {
        s.type(y, refused);
        ApplyScaleEdits();
        EXPECT_DOUBLE_EQ(g_scaley, 1.4) << refused;
        EXPECT_EQ(y.GetText(), "1.40") << refused;
    }
    s.type(y, "0.5");
    ApplyScaleEdits();
    EXPECT_DOUBLE_EQ(g_scaley, 0.5);
    s.type(y, "4.0");
    ApplyScaleEdits();
    EXPECT_DOUBLE_EQ(g_scaley, 4.0);
    EXPECT_TRUE(IsUsablePanelScale(g_scaley));
}

TEST(SettingsWindow, TheAcom2000ShowsOnlyItsOperateButton) {
    std::snprintf(g_acomcomport, sizeof g_acomcomport, "%s", "COM8");
    SettingsWindow s(23, 6);
    EXPECT_TRUE(s.w().BiStateOf(1531)->IsWindowVisible());
    EXPECT_FALSE(s.w().BiStateOf(1532)->IsWindowVisible());
    EXPECT_TRUE(s.shown("Acom 2000"));
    EXPECT_FALSE(s.shown("Alpha 87A"));
}

TEST(SettingsWindow, PanadaptersAreOneAtATime) {
    g_perseuspan = 1;
    SettingsWindow s(23, 20);
    s.click(s.w().CheckOf(2489));  // PowerSDR
    EXPECT_EQ(settings::g_powersdrpan, 1);
    EXPECT_EQ(g_perseuspan, 0);
    EXPECT_EQ(s.w().CheckOf(2485)->GetCheck(), 0);
    s.click(s.w().CheckOf(2488));  // the fixed IF comes with SDR-IQ/HDSDR
    EXPECT_EQ(g_hdsdrif, 1);
    EXPECT_EQ(settings::g_sdriqpan, 1);
    EXPECT_EQ(s.w().CheckOf(2486)->GetCheck(), 1);
    EXPECT_EQ(settings::g_powersdrpan, 0);
    s.click(s.w().CheckOf(2485));  // Perseus keeps the fixed IF's setting alone
    EXPECT_EQ(g_perseuspan, 1);
    EXPECT_EQ(settings::g_sdriqpan, 0);
    EXPECT_EQ(g_hdsdrif, 1);
}

TEST(SettingsWindow, UserTransvertersAreFoundByTheirBandRowsOnlyWhileInUse) {
    SettingsWindow s(23, 8);
    s.type(s.editNamed("User 1 Upper Limit"), "1300");
    s.type(s.editNamed("User 1 Lower Limit"), "1296");
    EXPECT_DOUBLE_EQ(g_bandstack[kFirstTvRow].low, 1296);
    EXPECT_DOUBLE_EQ(g_bandstack[kFirstTvRow].high, 1300);
    EXPECT_EQ(BandStackRow(1296.2), kFirstTvRow);
    s.type(s.editNamed("User 1 Lower Limit"), "0");
    EXPECT_DOUBLE_EQ(g_bandstack[kFirstTvRow].low, 90000);
    EXPECT_DOUBLE_EQ(g_bandstack[kFirstTvRow].high, 0);
    EXPECT_NE(BandStackRow(1296.2), kFirstTvRow);
}

TEST(SettingsWindow, ToolTipsFollowTheirBox) {
    g_tooltip = 1;
    plat::EnableToolTips(true);
    SettingsWindow s(23, 2);
    s.click(s.byCaption("Use Tool Tips"));
    EXPECT_EQ(g_tooltip, 0);
    EXPECT_FALSE(plat::ToolTipsEnabled());
}

TEST(SettingsWindow, TheMidiControllerPageNamesItsFileAndHasNoAssignmentRows) {
    g_cmdmicro = 1;
    g_midimodel = 3;
    SettingsWindow s(23, 17);
    plat::Window* label = s.w().RowControl(settings::RowOfId(settings::kMidiFileLabelId));
    ASSERT_TRUE(label->IsWindowVisible());
    EXPECT_EQ(label->GetWindowText(), "Change the functions in the hercules.ini");
    EXPECT_TRUE(s.shown("file. Text must be exact. See the Pelx Help file."));
    EXPECT_TRUE(s.w().Control(5175)->IsWindowVisible());
    for (int n = 0; n < settings::kAssignRows; ++n) EXPECT_FALSE(s.w().AssignList(n)->IsWindowVisible()) << n;
    g_midimodel = 1;  // the CMD Micro's file stands for every other model
    s.w().ShowPage(17);
    EXPECT_EQ(label->GetWindowText(), "Change the functions in the cmdmicro.ini");
}
