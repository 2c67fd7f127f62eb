// Radio initialisation and the state push: the frames on the wire, in order.
#include "setter_fixture.h"

#include <algorithm>

#include "app/tuning_wiring.h"
#include "base/panel_options.h"
#include "base/settings_options.h"
#include "civ/civ_options.h"
#include "civ/engine_options.h"
#include "devices/remote_link.h"
#include "panel/swl_panel.h"

namespace {
// Frequency frames (and the RIT/XIT state that goes with them) depend on
// the frequency sender's dialect; the orders below are those of the other
// settings.
bool IsFrequencyFrame(const Bytes& body) {
    return body[0] == 0x05 || body[0] == 0x25 || body[0] == 0x0F || body[0] == 0x21;
}

Bodies WithoutFrequencies(Bodies b) {
    b.erase(std::remove_if(b.begin(), b.end(), IsFrequencyFrame), b.end());
    return b;
}

struct PushFixture : Captured {
    CSwlPanel panel;
    explicit PushFixture(int type = 23) : Captured(type) {
        g_swlpanel = &panel;
        WireTuningView();
        g_agcmodea = '3';
        g_power = 50;
        g_txenable = 1;
        g_sidetonevolume = 40;
        g_micgain = 36;
        g_voxgain = 1;
        g_voxhang = 0;
        g_antivox = 1;
        g_voxstate = 0;
        g_hardwarenoisesetting = g_noise = g_anotch = g_mnotch = g_datamode = g_vsc = 0;
        g_squelch = 0;
        g_speech = 1;
        g_speechvalue = 0;
        g_ssbtxfilter = 1;
        g_cwqskdelay = 0;
        g_rfgain = 100;
        g_fmcts = 0;
        g_pegportsel = 0;
        g_bfo = 600;
        g_vfoamode = '0';
        g_rxfilter = 1;
        g_volume = 100;
        g_locut = g_hicut = 128;
        g_spotvolume = 1;
        g_nrval = g_nbval = g_manntval = 0;
        g_qarvstart = 0;
        g_firstpoll = 0;
        g_skipvoxdelay = 0;
        g_7600fw2 = 1;
        g_vfoafreq = panel.vfoAFreq = 14.025;
        g_vfobfreq = panel.vfoBFreq = 14.025;
    }
    ~PushFixture() { g_swlpanel = nullptr; }
};
}  // namespace

TEST(InitRadio, PushesSavedSettingsInOrder) {
    PushFixture f(23);
    InitRadio();
    const Bodies all = f.bodies();
    EXPECT_EQ(WithoutFrequencies(all), (Bodies{
        {0x14, 0x01, 0x00, 0x01},              // AF gain 0 first
        {0x16, 0x12, 0x01},                    // AGC
        {0x14, 0x0A, 0x01, 0x27},              // power 50 %
        {0x1A, 0x05, 0x01, 0x58, 0x00, 0x40},  // side tone
        {0x14, 0x0B, 0x00, 0x91},              // mic gain
        {0x14, 0x16, 0x00, 0x02},              // VOX gain
        {0x1A, 0x05, 0x01, 0x91, 0x00},        // VOX hang
        {0x14, 0x17, 0x00, 0x02},              // anti-VOX
        {0x16, 0x46, 0x00},                    // VOX
        {0x16, 0x22, 0x00},                    // noise blanker
        {0x16, 0x40, 0x00},                    // noise reduction
        {0x16, 0x41, 0x00},                    // automatic notch
        {0x16, 0x48, 0x00},                    // manual notch
        {0x1A, 0x06, 0x00},                    // data mode
        {0x14, 0x03, 0x00, 0x00},              // squelch
        {0x16, 0x45, 0x00},                    // monitor
        {0x14, 0x0A, 0x01, 0x27},              // transmit enable
        {0x16, 0x44, 0x01},                    // speech processor
        {0x14, 0x0E, 0x00, 0x00},
        {0x14, 0x0C, 0x00, 0x70},              // key speed 20 WPM
        {0x14, 0x0F, 0x00, 0x00},              // QSK delay
        {0x11, 0x00},                          // attenuator
        {0x14, 0x02, 0x00, 0x00},              // RF gain
        {0x16, 0x42, 0x00},                    // tone off
        {0x16, 0x43, 0x00},
        {0x14, 0x09, 0x01, 0x28},              // CW pitch
        {0x06, 0x01, 0x02},                    // mode of VFO A
        {0x14, 0x0A, 0x01, 0x27},
        {0x1A, 0x03, 0x40},                    // filter width
        {0x14, 0x08, 0x01, 0x28},              // low and high cut
        {0x14, 0x07, 0x01, 0x28},
        {0x16, 0x02, 0x00},                    // preamp
        {0x16, 0x47, 0x01},                    // break-in
        {0x14, 0x06, 0x00, 0x00},              // NR level
        {0x14, 0x12, 0x00, 0x00},              // NB level
        {0x14, 0x0D, 0x00, 0x00},              // notch position
    }));
    // The frequencies go between the filter width and the cuts.
    const auto width = std::find(all.begin(), all.end(), Bytes{0x1A, 0x03, 0x40});
    const auto freq = std::find_if(all.begin(), all.end(), IsFrequencyFrame);
    ASSERT_NE(freq, all.end());
    EXPECT_GT(freq, width);
    EXPECT_EQ(g_allowed, 1);
    EXPECT_EQ(g_selvfo, 'A');
    EXPECT_TRUE(f.win.HasTimer(TIMER_METER_CYCLE));
    // The real AF level follows the debounce.
    EXPECT_TRUE(f.win.HasTimer(TIMER_AF_GAIN));
    OnAfGainTimer();
    EXPECT_EQ(f.bodies(), (Bodies{{0x14, 0x01, 0x00, 0x52}}));
}

// The break-in key's built-in value (20) is no break-in setting: nothing
// the radio would refuse is sent for it.
TEST(InitRadio, BreakInOutsideItsThreeValuesIsNotSent) {
    PushFixture f(23);
    g_spotvolume = 20;
    InitRadio();
    for (const Bytes& b : f.bodies()) EXPECT_FALSE(b.size() >= 2 && b[0] == 0x16 && b[1] == 0x47);
}

TEST(InitRadio, RitRequestFirstOnIc7600) {
    PushFixture f(18);
    InitRadio();
    const Bodies b = f.bodies();
    ASSERT_GE(b.size(), 2u);
    EXPECT_EQ(b[0], (Bytes{0x21, 0x00}));
    EXPECT_EQ(b[1], (Bytes{0x14, 0x01, 0x00, 0x01}));
}

TEST(InitRadio, StartHoldRequestsInsteadOfSetting) {
    PushFixture f(23);
    g_qarvstart = 1;
    g_firstpoll = 1;
    g_rfstarthold = 1;
    InitRadio();
    const Bodies b = f.bodies();
    EXPECT_NE(std::find(b.begin(), b.end(), Bytes{0x11}), b.end());
    EXPECT_NE(std::find(b.begin(), b.end(), Bytes{0x16, 0x02}), b.end());
    EXPECT_EQ(std::find(b.begin(), b.end(), Bytes{0x11, 0x00}), b.end());
    EXPECT_EQ(std::find(b.begin(), b.end(), Bytes{0x16, 0x02, 0x00}), b.end());
    EXPECT_EQ(g_firstpoll, 0);
    EXPECT_EQ(g_rfstarthold, 0);
    EXPECT_EQ(f.traced("firstpoll 0 1"), 1);
}

TEST(InitRadio, RawModeRequestsOnly) {
    PushFixture f(23);
    g_rawmode = 1;
    InitRadio();
    EXPECT_EQ(f.bodies(), (Bodies{{0x03}, {0x04}, {0x03}, {0x04}}));
    EXPECT_EQ(g_radioheard, 2);
    EXPECT_EQ(g_allowed, 1);
}

TEST(InitRadio, ClientWithoutLinkDoesNothing) {
    PushFixture f(23);
    g_client = 1;
    g_linkstate = 0;
    InitRadio();
    EXPECT_TRUE(f.bodies().empty());
    EXPECT_EQ(g_allowed, 0);
    g_client = 0;
}

namespace {
// Brings the copies in line with the panel: after this a push sends nothing.
void Settle(PushFixture& f) {
    InitRadio();
    OnSwl();
    OnSwl();
    plat::manual_clock::Advance(2000);  // debounces and the tuning send run out
    OnAfGainTimer();
    f.bodies();
}
}  // namespace

TEST(OnSwl, UnchangedPanelSendsNothing) {
    PushFixture f(23);
    Settle(f);
    OnSwl();
    EXPECT_TRUE(f.bodies().empty());
}

TEST(OnSwl, OneChangeLeavesAsOneFrame) {
    PushFixture f(23);
    Settle(f);
    f.panel.fn.nrLevel = 200;
    OnSwl();
    EXPECT_EQ(f.bodies(), (Bodies{{0x14, 0x06, 0x02, 0x00}}));
    f.panel.fn.monitor = 1;
    OnSwl();
    EXPECT_EQ(f.bodies(), (Bodies{{0x16, 0x45, 0x01}}));
    EXPECT_EQ(g_nrval, 200);
}

TEST(OnSwl, FilterChangeResendsBothCuts) {
    PushFixture f(23);
    Settle(f);
    f.panel.filter = 28;
    OnSwl();
    EXPECT_EQ(f.bodies(), (Bodies{{0x1A, 0x03, 0x13}, {0x14, 0x08, 0x01, 0x28}, {0x14, 0x07, 0x01, 0x28}}));
}

TEST(OnSwl, ForcePushSendsUnchangedValues) {
    PushFixture f(23);
    Settle(f);
    g_forcepush = 1;
    OnSwl();
    const Bodies b = f.bodies();
    EXPECT_NE(std::find(b.begin(), b.end(), Bytes{0x16, 0x22, 0x00}), b.end());
    EXPECT_NE(std::find(b.begin(), b.end(), Bytes{0x06, 0x01, 0x02}), b.end());
    EXPECT_NE(std::find(b.begin(), b.end(), Bytes{0x14, 0x08, 0x01, 0x28}), b.end());
    EXPECT_EQ(g_forcepush, 0);
    OnSwl();
    EXPECT_TRUE(f.bodies().empty());
}

TEST(OnSwl, TuneModeHoldsModes) {
    PushFixture f(23);
    Settle(f);
    g_tunemodeon = 1;
    f.panel.fn.tuneRequest = 1;
    f.panel.vfoAMode = '3';
    OnSwl();
    const Bodies b = f.bodies();
    EXPECT_EQ(std::count_if(b.begin(), b.end(), [](const Bytes& x) { return x[0] == 0x06; }), 0);
}

TEST(OnSwl, FirstPushSendsModeOfVfoA) {
    PushFixture f(23);
    g_allowed = 1;
    OnSwl();
    const Bodies b = f.bodies();
    EXPECT_NE(std::find(b.begin(), b.end(), Bytes{0x06, 0x01, 0x02}), b.end());
}

TEST(OnSwl, RawModeSendsModeOnly) {
    PushFixture f(23);
    g_rawmode = 1;
    g_allowed = 1;
    f.panel.fn.nrLevel = 99;
    f.panel.split = 1;
    OnSwl();
    for (const Bytes& b : f.bodies()) EXPECT_TRUE(b[0] == 0x06 || IsFrequencyFrame(b) || b[0] == 0x07) << int(b[0]);
}

TEST(OnSwl, UserButtonSendsItsCommandOnce) {
    PushFixture f(23);
    Settle(f);
    std::snprintf(g_userbuttonvalue[1], sizeof g_userbuttonvalue[1], "1C0001");
    g_userbutton = 2;
    OnSwl();
    EXPECT_EQ(f.bodies(), (Bodies{{0x1C, 0x00, 0x01}}));
    EXPECT_EQ(g_userbutton, 0);
}

TEST(OnSwl, ReinitRequestRunsInitRadio) {
    PushFixture f(23);
    g_reinitrequest = 1;
    OnSwl();
    EXPECT_EQ(g_reinitrequest, 0);
    EXPECT_EQ(g_allowed, 1);
    EXPECT_EQ(f.traced("OnSwl exit 1"), 1);
}

TEST(InitRadio, ForgetsVfoBModeAgcAndFilterLastSent) {
    PushFixture f(5);
    g_7600fw2 = 0;
    g_agcmodevfob = '2';
    g_vfobrxfilter = 2;
    f.panel.dual = 1;
    f.panel.vfoBMode = '3';
    auto sentB = [&f] {
        const Bodies b = f.bodies();
        int n = 0;
        for (const Bytes& x : b)
            if ((x[0] == 0x06 && x[1] == 0x03) || (x[0] == 0x16 && x[1] == 0x12) || (x[0] == 0x1A && x[1] == 0x03)) ++n;
        return n;
    };
    SendFreqToRX340();
    EXPECT_EQ(sentB(), 4);  // CW on VFO B, the width that follows it, its AGC, its filter width
    SendFreqToRX340();
    EXPECT_EQ(sentB(), 0);  // unchanged: nothing again
    InitRadio();
    f.bodies();
    f.panel.dual = 1;  // InitRadio switched dual watch off; the operator turns it on again
    SendFreqToRX340();
    EXPECT_EQ(sentB(), 4);  // a re-initialised radio gets them again
}
