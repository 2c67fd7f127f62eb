// Single keys whose reading or writing is more than a format: the checks on
// load, decorated and converted forms, conditional writes, port names.
#include <gtest/gtest.h>

#include "app/settings_checks.h"
#include "app/settings_hooks.h"
#include "base/band_plan.h"
#include "base/colour_names.h"
#include "base/device_options.h"
#include "base/panel_options.h"
#include "base/settings_options.h"
#include "civ/band_table.h"
#include "civ/civ_options.h"
#include "civ/radio_models.h"
#include "civ/transverters.h"
#include "common/test_dir.h"
#include "devices/cw_keyboard.h"
#include "devices/surface_keys.h"
#include "settings_test_util.h"

TEST(SettingsChecks, OutOfRangeValuesFallBackOnLoad) {
    TestDir dir;
    dir.write("qarv.ini",
              "[OPERATING STATUS]\nSTEP3=0\nSTEP6=20001\nAMSTEP=-4\nFMSTEP=0\nPBT_SCALE=3\nRIT_SCALE=16\n"
              "TX FILTER=20\nRADIO TAVN=3\nROTOR TAVN=2\nHIGH SPEED TUNING FACTOR=101\nTUNE POWER=101\n"
              "CW FILTER POSITION=13\nSSB FILTER POSITION=0\nSTEP=500\nSTEPB=0\n");
    LoadAll();
    EXPECT_EQ(g_step3, 100);
    EXPECT_EQ(g_step6, 10000);
    EXPECT_EQ(g_amstep, 5000);
    EXPECT_EQ(g_fmstep, 1000);
    EXPECT_EQ(g_pbtscale, 8);
    EXPECT_EQ(g_ritscale, 16);
    EXPECT_EQ(g_txfilter, 11);
    EXPECT_EQ(g_radiotavn, 1);
    EXPECT_EQ(g_rotortavn, 2);
    EXPECT_EQ(g_highspeedtuningfactor, 1);
    EXPECT_EQ(g_tunepower, 25);
    EXPECT_EQ(g_cwfilterposition, 9);
    EXPECT_EQ(g_ssbfilterposition, 6);
    EXPECT_EQ(g_stepb, 500);
    // The corrected value is what the next save writes.
    const auto ini = SaveAndReadBack(dir);
    EXPECT_EQ(IniValue(ini, "OPERATING STATUS", "STEP3"), "100");
    EXPECT_EQ(IniValue(ini, "OPERATING STATUS", "PBT_SCALE"), "8");
    EXPECT_EQ(IniValue(ini, "OPERATING STATUS", "STEPB"), "000500");
}

TEST(SettingsChecks, OptionsThatForceOthers) {
    TestDir dir;
    dir.write("qarv.ini",
              "[OPERATING STATUS]\nSTEP=1000\nSTEPB=50\nNO SPEED POT=0\nWORD SEND=1\nQARV=13\nGRIFFIN POWERMATE=0\n"
              "REMOTE POD PTT TOGGLE=0\nQARV START=1\nPOWER FACTOR=2.5\n"
              "[INTERFACE]\nRADIO SERVER=1\n");
    LoadAll();
    EXPECT_EQ(g_step, 10);
    EXPECT_EQ(g_stepb, 10);
    EXPECT_EQ(g_nospeedpot, 1);
    EXPECT_EQ(g_wordsend, 0);
    EXPECT_EQ(g_podptttoggle, 0);
    EXPECT_EQ(g_suppresstransverterwarnings, 1);  // forced for type 13, and its default there
    EXPECT_DOUBLE_EQ(g_powerfactor, 1.0);
}

TEST(SettingsChecks, SuppressTransverterWarningsDefaultsByRadioType) {
    TestDir dir;
    dir.write("qarv.ini", "[OPERATING STATUS]\nQARV=4\n");
    LoadAll();
    EXPECT_EQ(g_suppresstransverterwarnings, 1);
    dir.write("qarv.ini", "[OPERATING STATUS]\nQARV=1\n");
    LoadAll();
    EXPECT_EQ(g_suppresstransverterwarnings, 0);
    dir.write("qarv.ini", "[OPERATING STATUS]\nQARV=1\nSUPPRESS TRANSVERTER WARNINGS=1\n");
    LoadAll();
    EXPECT_EQ(g_suppresstransverterwarnings, 1);
}

TEST(SettingsChecks, IndexesAreClampedIntoTheirTables) {
    TestDir dir;
    dir.write("qarv.ini", "[OPERATING STATUS]\nRESTORE3=99\nRESTORE4=-5\nRESTORE5=11\n[PREFERENCE]\nLICENSE CLASS=9\n");
    LoadAll();
    EXPECT_EQ(g_restore[3], 41);
    EXPECT_EQ(g_restore[4], 0);
    EXPECT_EQ(g_restore[5], 11);
    EXPECT_EQ(g_licenseclass, 4);
    dir.write("qarv.ini", "[PREFERENCE]\nLICENSE CLASS=-1\n");
    LoadAll();
    EXPECT_EQ(g_licenseclass, 0);
}

// Passband cuts are one byte on the radio: a damaged value never leaves.
TEST(SettingsChecks, PassbandCutsAreKeptToOneByte) {
    TestDir dir;
    dir.write("qarv.ini", "[OPERATING STATUS]\nLOCUT=900\nHICUT=-20\n"
                          "[20 Meters SSB]\nLocut=300\nHicut=355\n");
    LoadAll();
    EXPECT_EQ(g_locut, 255);
    EXPECT_EQ(g_hicut, 0);
    const int row = PanelBandRow(14.2, kNoBandRow);
    EXPECT_EQ(g_bandlocut[std::size_t(row)], 255);
    EXPECT_EQ(g_bandhicut[std::size_t(row)], 355);  // "not stored" stays
}

// The checks see the radio as it runs: an IC-7610 entry runs as a DSP radio,
// the Perseus as its host type, an old generic radio with its own filter range.
TEST(SettingsChecks, ChecksUseTheRadioTypeAsItRuns) {
    {
        TestDir dir;
        dir.write("qarv.ini", "[OPERATING STATUS]\nQARV=24\n[20 Meters CW]\nFilter=45\n");
        LoadAll();
        EXPECT_EQ(g_bandstack[4].filter, 45);
    }
    {
        TestDir dir;
        dir.write("qarv.ini",
                  "[OPERATING STATUS]\nQARV=19\nNEW TUNING DELAY=50\nSUPPRESS TRANSVERTER WARNINGS=0\n"
                  "[20 Meters CW]\nFilter=45\n");
        LoadAll();
        EXPECT_EQ(g_perseus, 1);
        EXPECT_EQ(g_tuningdelay, 200);
        EXPECT_EQ(g_suppresstransverterwarnings, 1);
        EXPECT_EQ(g_bandstack[4].filter, 45);
    }
    {
        TestDir dir;
        dir.write("qarv.ini", "[OPERATING STATUS]\nQARV=10\nCIV=3\n[20 Meters CW]\nFilter=5\n");
        LoadAll();
        EXPECT_EQ(g_oldradio, 1);
        EXPECT_EQ(g_bandstack[4].filter, 5);
    }
}

TEST(SettingsChecks, BandFilterDependsOnTheRadiosFilters) {
    EXPECT_EQ(CheckBandFilter(45, 1, 0), 45);  // DSP filters: any index
    EXPECT_EQ(CheckBandFilter(3, 0, 0), 3);
    EXPECT_EQ(CheckBandFilter(4, 0, 0), 2);
    EXPECT_EQ(CheckBandFilter(6, 0, 1), 6);
    EXPECT_EQ(CheckBandFilter(7, 0, 1), 2);
    EXPECT_EQ(CheckBandFilter(1, 0, 2), 2);
    EXPECT_EQ(CheckBandFilter(9, 0, 2), 9);
    EXPECT_EQ(ScaleStepOr8(32), 32);
    EXPECT_EQ(ScaleStepOr8(0), 8);
    EXPECT_EQ(ScaleStepOr8(64), 8);
}

TEST(SettingsKeys, DecoratedProsignsNeverGrow) {
    TestDir dir;
    dir.write("qarv.ini", "[OPERATING STATUS]\nBT CHAR=(=)\nSK CHAR=x\n");
    for (int run = 0; run < 3; ++run) {
        LoadAll();
        SaveTraced();
    }
    const auto ini = ParseIni(dir.read("qarv.ini"));
    EXPECT_EQ(IniValue(ini, "OPERATING STATUS", "BT CHAR"), "(=)");
    EXPECT_EQ(IniValue(ini, "OPERATING STATUS", "SK CHAR"), "(x)");
    EXPECT_EQ(IniValue(ini, "OPERATING STATUS", "AR CHAR"), "(+)");
    EXPECT_STREQ(g_btchar, "=");
}

TEST(SettingsKeys, ConvertedForms) {
    TestDir dir;
    dir.write("qarv.ini",
              "[OPERATING STATUS]\nRTTY MODE=FSK\nRTTY MODE2=usb\nAGC MODE=3\nVFO-A FREQUENCY=7.1\nMEMORY1=CQ  TEST@\n"
              "[RADIO WINDOW]\nCALL COLOR=red\nCOLOR1 RED=1\nCOLOR1 GREEN=2\nCOLOR1 BLUE=3\nUTC TIME COLOR=COLOR1\n"
              "[TX OPTIONS WINDOW]\nLOCATION=14 359\n");
    LoadAll();
    EXPECT_EQ(g_rttymode, 2);
    EXPECT_EQ(g_rttymode2, 1);
    EXPECT_EQ(g_agcmodea, '3');
    EXPECT_EQ(g_callcolor, 0x0000FFu);
    EXPECT_EQ(g_utctimecolor, 0x030201u);  // mixed from values read before the names
    EXPECT_STREQ(g_cwmacro[0], "CQ  TEST ");
    const auto ini = SaveAndReadBack(dir);
    EXPECT_EQ(IniValue(ini, "OPERATING STATUS", "RTTY MODE"), "FSK");
    EXPECT_EQ(IniValue(ini, "OPERATING STATUS", "RTTY MODE2"), "USB");
    EXPECT_EQ(IniValue(ini, "OPERATING STATUS", "AGC MODE"), "3");
    EXPECT_EQ(IniValue(ini, "OPERATING STATUS", "VFO-A FREQUENCY"), "07.100000");
    EXPECT_EQ(IniValue(ini, "OPERATING STATUS", "MEMORY1"), "CQ@@TEST@");
    EXPECT_EQ(IniValue(ini, "RADIO WINDOW", "CALL COLOR"), "RED");
    EXPECT_EQ(IniValue(ini, "RADIO WINDOW", "UTC TIME COLOR"), "COLOR1");
    EXPECT_EQ(IniValue(ini, "TX OPTIONS WINDOW", "LOCATION"), "0014 0359");
}

TEST(SettingsKeys, ConditionalWritesFollowTheRadioType) {
    TestDir dir;
    dir.write("qarv.ini", "[OPERATING STATUS]\nQARV=5\nuser 2=Roof\n");
    LoadAll();
    auto ini = SaveAndReadBack(dir);
    EXPECT_EQ(IniValue(ini, "OPERATING STATUS", "user 2"), "Roof");
    EXPECT_EQ(IniValue(ini, "OPERATING STATUS", "userval 4"), "0");
    EXPECT_EQ(IniValue(ini, "PREFERENCE", "AM FILTER 12"), "36");

    TestDir other;
    other.write("qarv.ini", "[OPERATING STATUS]\nQARV=23\n[INTERFACE]\nMIRROR=1\n");
    LoadAll();
    ini = SaveAndReadBack(other);
    EXPECT_EQ(IniValue(ini, "OPERATING STATUS", "user 1"), "<missing>");
    EXPECT_EQ(IniValue(ini, "PREFERENCE", "AM FILTER 1"), "1");
    EXPECT_EQ(IniValue(ini, "MR WINDOW", "LOCATION"), "0600 0100");  // where it opens with no place saved
}

TEST(SettingsKeys, OnlyTheActiveControlSurfaceIsWritten) {
    TestDir dir;
    dir.write("qarv.ini", "[OPERATING STATUS]\nFlex Knob=1\n[PREFERENCE]\nFLX AUX1 SINGLE=RIT\n302 PERIOD KEY=VOL\n");
    LoadAll();
    auto ini = SaveAndReadBack(dir);
    EXPECT_EQ(IniValue(ini, "PREFERENCE", "FLX AUX1 SINGLE"), "RIT");
    EXPECT_EQ(IniValue(ini, "PREFERENCE", "FLX KNOB DOUBLE"), "VFOB");
    EXPECT_EQ(IniValue(ini, "PREFERENCE", "TM2 MAIN"), "<missing>");
    EXPECT_EQ(IniValue(ini, "PREFERENCE", "302 PERIOD KEY"), "VOL");    // kept, not rewritten
    EXPECT_EQ(IniValue(ini, "PREFERENCE", "302 NUMERIC KEY 0"), "<missing>");

    dir.write("qarv.ini", "[OPERATING STATUS]\nCMD MICRO=1\n");
    LoadAll();
    ini = SaveAndReadBack(dir);
    EXPECT_EQ(IniValue(ini, "PREFERENCE", "302 FUNCTION KEY 1"), "<missing>");
}

TEST(SettingsKeys, DevicePortsAndThePowerMeter) {
    TestDir dir;
    LoadAll();
    auto ini = SaveAndReadBack(dir);
    EXPECT_EQ(IniValue(ini, "INTERFACE", "LP100 COMPORT"), "NONE");
    EXPECT_EQ(IniValue(ini, "INTERFACE", "POWERMASTER COMPORT"), "NONE");
    EXPECT_EQ(IniValue(ini, "INTERFACE", "LP100"), "0");
    EXPECT_EQ(IniValue(ini, "INTERFACE", "ROTOR COMPORT"), "NONE");
    EXPECT_EQ(IniValue(ini, "INTERFACE", "LDG COMPORT"), "0");  // written as it stands

    TestDir meter;
    meter.write("qarv.ini", "[INTERFACE]\nPOWERMASTER COMPORT=COM3\nROTOR COMPORT=COM7\n");
    LoadAll();
    EXPECT_EQ(g_wattmetertype, 3);
    ini = SaveAndReadBack(meter);
    EXPECT_EQ(IniValue(ini, "INTERFACE", "POWERMASTER COMPORT"), "COM3");
    EXPECT_EQ(IniValue(ini, "INTERFACE", "LP100 COMPORT"), "NONE");
    EXPECT_EQ(IniValue(ini, "INTERFACE", "LP100"), "<missing>");
    EXPECT_EQ(IniValue(ini, "INTERFACE", "ROTOR COMPORT"), "COM7");

    meter.write("qarv.ini", "[INTERFACE]\nLP100 COMPORT=COM4\nLP100=1\n");
    LoadAll();
    EXPECT_EQ(g_wattmetertype, 2);
    ini = SaveAndReadBack(meter);
    EXPECT_EQ(IniValue(ini, "INTERFACE", "LP100 COMPORT"), "COM4");
    EXPECT_EQ(IniValue(ini, "INTERFACE", "LP100"), "1");
}

TEST(SettingsKeys, PowerIsKeptForItsInput) {
    TestDir dir;
    LoadAll();
    g_power = 42;
    g_accinput = 1;
    auto ini = SaveAndReadBack(dir);
    EXPECT_EQ(IniValue(ini, "OPERATING STATUS", "ACC POWER"), "42");
    EXPECT_EQ(IniValue(ini, "OPERATING STATUS", "MIKE POWER"), "0");
    g_accinput = 0;
    g_power = 17;
    ini = SaveAndReadBack(dir);
    EXPECT_EQ(IniValue(ini, "OPERATING STATUS", "MIKE POWER"), "17");
}

TEST(SettingsKeys, TransvertersInUseAreWrittenInFull) {
    TestDir dir;
    dir.write("qarv.ini",
              "[OPERATING STATUS]\nTV2 LOWER LIMIT=430\nTV2 UPPER LIMIT=450\nTV2 IF=28\nTV2 POWER=10\n"
              "TV2 BUTTON=70cm\n");
    LoadAll();
    EXPECT_EQ(g_transverter[1].powerlast, 10);  // never above its power
    EXPECT_DOUBLE_EQ(g_bandstack[kFirstTvRow + 1].low, 430);
    EXPECT_EQ(BandStackRow(435), kFirstTvRow + 1);
    const auto ini = SaveAndReadBack(dir);
    EXPECT_EQ(IniValue(ini, "OPERATING STATUS", "TV2 LOWER LIMIT"), "430.000000");
    EXPECT_EQ(IniValue(ini, "OPERATING STATUS", "TV2 IF"), "28.000000");
    EXPECT_EQ(IniValue(ini, "OPERATING STATUS", "TV2 POWER LAST"), "10");
    EXPECT_EQ(IniValue(ini, "OPERATING STATUS", "TV2 BUTTON"), "70cm");
    EXPECT_EQ(IniValue(ini, "OPERATING STATUS", "TV3 LOWER LIMIT"), "0");
    EXPECT_EQ(IniValue(ini, "OPERATING STATUS", "TV3 IF"), "<missing>");
}

TEST(SettingsKeys, SeventyCentimetresBuiltIntoSomeRadios) {
    TestDir dir;
    dir.write("qarv.ini", "[OPERATING STATUS]\nQARV=20\n");
    LoadAll();
    EXPECT_DOUBLE_EQ(g_transverter[0].lower, 430);
    EXPECT_DOUBLE_EQ(g_transverter[0].upper, 450);
    EXPECT_EQ(g_transverter[0].power, 100);
    EXPECT_STREQ(g_transverter[0].button, "70");
    EXPECT_EQ(CheckCoverage(440), 0);
}

TEST(SettingsKeys, BandRowsReadTheirSectionsAndKeepBuiltInsOtherwise) {
    TestDir dir;
    dir.write("qarv.ini", "[20 Meters SSB]\nFrequency=14.250000\nMode=49\nMAINANT=2\nPREAMP=1\nAMP DRIVE=80\n");
    LoadAll();
    EXPECT_DOUBLE_EQ(g_bandstack[13].last, 14.25);
    EXPECT_EQ(g_bandstack[13].mode, '1');
    EXPECT_EQ(g_bandmainant[13], 2);
    EXPECT_EQ(g_bandpreamp[13], 1);
    EXPECT_EQ(g_ampdrive[13], 80);
    EXPECT_EQ(g_ampdrive[12], 100);
    EXPECT_DOUBLE_EQ(g_bandstack[12].last, 7.2);
    const auto ini = SaveAndReadBack(dir);
    EXPECT_EQ(IniValue(ini, "20 Meters SSB", "Frequency"), "14.250000");
    EXPECT_EQ(IniValue(ini, "20 Meters SSB", "AMP DRIVE"), "80");
    EXPECT_EQ(IniValue(ini, "40 Meters SSB", "Frequency"), "07.200000");
}

TEST(SettingsKeys, RttyModeTexts) {
    EXPECT_EQ(RttyModeFromText("FSK"), 2);
    EXPECT_EQ(RttyModeFromText("LSB"), 0);
    EXPECT_EQ(RttyModeFromText("junk"), 0);
    EXPECT_STREQ(RttyModeText(1), "USB");
    EXPECT_STREQ(RttyModeText(7), "LSB");
    EXPECT_EQ(NormalisePlace("14 359"), "0014 0359");
    EXPECT_EQ(NormalisePlace("-20 5"), "-020 0005");
    EXPECT_EQ(NormalisePlace(""), "");
}

TEST(SettingsKeys, SMeterLiteKeepsItsSecondMode) {
    TestDir dir;
    dir.write("qarv.ini", "[OPERATING STATUS]\nSMETER LITE=2\n");
    LoadAll();
    SaveTraced();
    EXPECT_EQ(IniValue(ParseIni(dir.read("qarv.ini")), "OPERATING STATUS", "SMETER LITE"), "2");
}

TEST(SettingsKeys, AColourWithoutANameKeepsTheFilesName) {
    TestDir dir;
    dir.write("qarv.ini", "[RADIO WINDOW]\nCALL COLOR=COLOR2\nCOLOR2 RED=1\n");
    LoadAll();
    g_color2red = 99;  // the operator changed the mix after choosing the colour
    const auto ini = SaveAndReadBack(dir);
    EXPECT_EQ(IniValue(ini, "RADIO WINDOW", "CALL COLOR"), "COLOR2");
    EXPECT_EQ(IniValue(ini, "RADIO WINDOW", "COLOR2 RED"), "99");
}

TEST(SettingsKeys, EmptyCaptionKeepsTheBuiltInOne) {
    TestDir dir;
    dir.write("qarv.ini", "[OPERATING STATUS]\ncaption 0=\ncaption 1=Net\n");
    LoadAll();
    EXPECT_STREQ(g_caption[0], "60");
    EXPECT_STREQ(g_caption[1], "Net");
    EXPECT_STREQ(g_caption[11], "SWL");
    const auto ini = SaveAndReadBack(dir);
    EXPECT_EQ(IniValue(ini, "OPERATING STATUS", "caption 0"), "60");
}
