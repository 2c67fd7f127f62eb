// Program links: the automation object's methods as a logger would call
// them, the exchange files in the transfer folder and the dual frequency
// file. The radio is a captured send queue, so a mute is seen as its frame.
#include "app/tuning_wiring.h"
#include "base/device_options.h"
#include "base/panel_options.h"
#include "civ/band_table.h"
#include "civ/civ_options.h"
#include "civ/civ_setters.h"
#include "civ/frequency_state.h"
#include "civ/setter_fixture.h"
#include "devices/program_links.h"
#include "devices/station_outputs.h"
#include "panel/swl_panel.h"

namespace {

struct Links : Captured {
    CSwlPanel panel;
    Links() {
        g_swlpanel = &panel;
        WireTuningView();
        g_allowed = 1;
        g_vfoafreq = panel.vfoAFreq = 14.025;
        g_vfobfreq = panel.vfoBFreq = 7.1;
        g_vfoamode = panel.vfoAMode = '0';
        g_vfobmode = panel.vfoBMode = '1';
        g_bandrow = BandStackRow(14.025);
        g_power = 100;
    }
    ~Links() { g_swlpanel = nullptr; }
};

}  // namespace

// ---- The automation object ------------------------------------------------------

TEST(Automation, RigStatusWithAndWithoutSplit) {
    Links l;
    CWLInterface wl(nullptr);
    short ma = 0, mb = 0, split = 9;
    double fa = 0, fb = 0;
    EXPECT_EQ(wl.GetRigStatus(&ma, &mb, &fa, &fb, &split), 0);
    EXPECT_EQ(ma, 2);
    EXPECT_EQ(mb, 2);
    EXPECT_DOUBLE_EQ(fa, 14.0254);
    EXPECT_DOUBLE_EQ(fb, 14.0254);
    EXPECT_EQ(split, 0);
    g_split = 1;
    EXPECT_EQ(wl.GetRigStatus(&ma, &mb, &fa, &fb, &split), 0);
    EXPECT_EQ(mb, 1);
    EXPECT_DOUBLE_EQ(fb, 7.1004);
    EXPECT_EQ(split, 1);
}

TEST(Automation, RigStatusInCwReverseFailsBeforeFillingAnything) {
    Links l;
    CWLInterface wl(nullptr);
    g_vfoamode = '2';
    short ma = 7, mb = 7, split = 7;
    double fa = 0, fb = 0;
    EXPECT_EQ(wl.GetRigStatus(&ma, &mb, &fa, &fb, &split), -1);
    EXPECT_EQ(ma, 7);
    EXPECT_EQ(fa, 0);
    EXPECT_EQ(LoggerModeCode('9'), 6);
    EXPECT_EQ(LoggerModeCode('<'), -1);
    EXPECT_EQ(SetLoggerMode(6), -1);
}

TEST(Automation, CallsBeforeThePanelExistsReturnZero) {
    CWLInterface wl(nullptr);
    EXPECT_EQ(wl.SetRigStatus(2, 2, 14.0, 0, 0), 0);
    EXPECT_EQ(wl.SetPTTState(1), 0);
    EXPECT_EQ(wl.SetRITState(1), 0);
    wl.RegisterForPort(3);
    EXPECT_EQ(wl.RegisteredPort(), 3);
    wl.RegisterForPort(16);
    EXPECT_EQ(wl.RegisteredPort(), 0);
}

TEST(Automation, PttRitAndFrequencyReachThePanel) {
    Links l;
    CWLInterface wl(nullptr);
    EXPECT_EQ(wl.SetPTTState(1), 1);
    EXPECT_EQ(l.panel.fn.pttRequest, 1);
    EXPECT_EQ(wl.SetPTTState(1), 1);
    EXPECT_EQ(l.panel.fn.pttRequest, 1);
    EXPECT_EQ(wl.SetPTTState(0), 1);
    EXPECT_EQ(l.panel.fn.pttRequest, 0);
    l.panel.rit = 1;
    l.panel.ritOffset = 300;
    EXPECT_EQ(wl.SetRITState(0), 1);
    EXPECT_EQ(l.panel.rit, 0);
    EXPECT_EQ(l.panel.ritOffset, 0);
    EXPECT_EQ(wl.SetRigStatus(2, 2, 14.2, 0, 0), 1);
    EXPECT_DOUBLE_EQ(l.panel.vfoAFreq, 14.2);
}

// ---- Exchange files ---------------------------------------------------------------

TEST(ExchangeFiles, MuteRequestMutesAndIsDeletedWithoutTuning) {
    Links l;
    l.dir.write("pegasus.in", "m\r\n14.074000\r\nU\r\n");
    ExchangePegasusFiles();
    EXPECT_FALSE(l.dir.exists("pegasus.in"));
    EXPECT_EQ(g_muted, 1);
    EXPECT_DOUBLE_EQ(g_vfoafreq, 14.025);
    EXPECT_FALSE(l.dir.exists("pegasus.out"));
}

TEST(ExchangeFiles, FrequencyRequestTunesVfoAAndUnmutes) {
    Links l;
    g_muted = 1;
    l.dir.write("pegasus.in", "14.074000\r\nU\r\n");
    ExchangePegasusFiles();
    EXPECT_FALSE(l.dir.exists("pegasus.in"));
    EXPECT_DOUBLE_EQ(g_vfoafreq, 14.074);
    EXPECT_EQ(g_muted, 0);
    // The frequency went to the radio.
    bool sent = false;
    for (const Bytes& b : l.bodies())
        if (b.size() >= 6 && (b[0] == 0x05 || b[0] == 0x25) && b[b.size() - 3] == 0x07 && b[b.size() - 2] == 0x14)
            sent = true;
    EXPECT_TRUE(sent);
}

TEST(ExchangeFiles, GarbledOrEmptyRequestIsDeletedAndChangesNothing) {
    Links l;
    l.dir.write("pegasus.in", "");
    ExchangePegasusFiles();
    EXPECT_FALSE(l.dir.exists("pegasus.in"));
    l.dir.write("pegasus.in", std::string(300, '\xFF'));
    ExchangePegasusFiles();
    EXPECT_FALSE(l.dir.exists("pegasus.in"));
    EXPECT_DOUBLE_EQ(g_vfoafreq, 14.025);
}

TEST(ExchangeFiles, SecondFrequencyGoesToVfoB) {
    Links l;
    l.dir.write("pegasus.in", "14.074000\nU\n14.080000\nL\n");
    ExchangePegasusFiles();
    EXPECT_DOUBLE_EQ(g_vfobfreq, 14.08);
    EXPECT_DOUBLE_EQ(l.panel.vfoBFreq, 14.08);
    EXPECT_EQ(l.panel.vfoBMode, '1');
    // Outside the amateur bands it is ignored.
    l.dir.write("pegasus.in", "14.074000\nU\n9.500000\nL\n");
    ExchangePegasusFiles();
    EXPECT_DOUBLE_EQ(g_vfobfreq, 14.08);
}

TEST(ExchangeFiles, StateIsWrittenOnlyWhenItChanged) {
    Links l;
    ExchangePegasusFiles();
    EXPECT_EQ(l.dir.read("pegasus.out"), "14.025000\nUSB\n");
    std::remove(l.dir.file("pegasus.out").c_str());
    ExchangePegasusFiles();
    EXPECT_FALSE(l.dir.exists("pegasus.out"));
    g_split = 1;
    g_vfobmode = '7';
    ExchangePegasusFiles();
    EXPECT_EQ(l.dir.read("pegasus.out"), "14.025000\nUSB\n07.100000\nRTTY\n");
    g_split = 0;
    g_vfoamode = '2';
    g_vfoafreq = 7.0301;
    g_pelx = 1;
    g_power = 50;
    ExchangePegasusFiles();
    EXPECT_EQ(l.dir.read("pegasus.out"), "07.030100\nCW      \n");
    g_vfoamode = 0x55;  // a mode with no word: an empty file
    ExchangePegasusFiles();
    EXPECT_EQ(l.dir.read("pegasus.out"), "");
}

TEST(ExchangeFiles, DigitalModesAsButtonTexts) {
    Links l;
    g_pegoutrttymodeisbuttontext = 1;
    std::snprintf(g_rttylabel2, sizeof g_rttylabel2, "PSK31-X");
    g_vfoamode = '9';
    EXPECT_EQ(PegasusOutText(), "14.025000\nPSK31\n");
    g_vfoamode = ':';
    EXPECT_EQ(PegasusOutText(), "14.025000\nPSK31\n");
    g_pegoutrttymodeisbuttontext = 0;
    g_vfoamode = '7';
    EXPECT_EQ(PegasusOutText(), "14.025000\nLSB\n");
}

TEST(ExchangeFiles, TransferFolderIsCreatedAndUsed) {
    Links l;
    std::snprintf(g_transferfolder, sizeof g_transferfolder, "xfer");
    ExchangePegasusFiles();
    EXPECT_EQ(l.dir.read("xfer/pegasus.out"), "14.025000\nUSB\n");
    l.dir.write("xfer/pegasus.in", "7.074000\nL\n");
    ExchangePegasusFiles();
    EXPECT_FALSE(l.dir.exists("xfer/pegasus.in"));
    EXPECT_DOUBLE_EQ(g_vfoafreq, 7.074);
}

TEST(DualFile, WrittenWhileDualWatchIsOnAndVfoBChanges) {
    Links l;
    std::snprintf(g_pegasustransferfile, sizeof g_pegasustransferfile, "dual.txt");
    EXPECT_TRUE(WriteDualFile());
    EXPECT_FALSE(l.dir.exists("dual.txt"));  // dual watch off
    l.panel.dual = 1;
    EXPECT_TRUE(WriteDualFile());
    EXPECT_EQ(l.dir.read("dual.txt"), "07.100000\nLSB\n");
    std::remove(l.dir.file("dual.txt").c_str());
    WriteDualFile();
    EXPECT_FALSE(l.dir.exists("dual.txt"));
    ForgetDualFileVfoB();
    WriteDualFile();
    EXPECT_TRUE(l.dir.exists("dual.txt"));
    g_dualfilemute = 1;
    WriteDualFile();
    EXPECT_EQ(l.dir.read("dual.txt"), "mute\r");
    EXPECT_EQ(g_dualfilemute, 0);
    g_pegasustransferfile[0] = 0;
    EXPECT_FALSE(WriteDualFile());
}

TEST(DualFile, PartnerFileMovesVfoB) {
    Links l;
    std::snprintf(g_pegasustransferfile, sizeof g_pegasustransferfile, "dual.txt");
    ReadDualFile();  // missing: nothing
    EXPECT_DOUBLE_EQ(g_vfobfreq, 7.1);
    l.dir.write("dual.txtout", "10.125000\r\n");
    ReadDualFile();
    EXPECT_DOUBLE_EQ(g_vfobfreq, 10.125);
    EXPECT_DOUBLE_EQ(l.panel.vfoBFreq, 10.125);
    EXPECT_TRUE(l.dir.exists("dual.txtout"));
    l.dir.write("dual.txtout", "0.3\n");
    ReadDualFile();
    EXPECT_DOUBLE_EQ(g_vfobfreq, 10.125);
}
