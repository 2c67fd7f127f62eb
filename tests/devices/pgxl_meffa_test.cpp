// The PGXL amplifier's MEFFA with the whole program running against a fake
// amplifier on loopback: the band's saved MEFFA is what the amplifier gets,
// the amplifier's own changes reach the saved table and qarv.ini, a band
// change sends the new band's value, and a settings change is sent by the
// amplifier window step.
#include <atomic>
#include <cstdio>
#include <memory>
#include <string>

#include "base/device_options.h"
#include "civ/band_table.h"
#include "civ/civ_options.h"
#include "civ/frequency_state.h"
#include "common/sim_station.h"
#include "devices/amplifiers.h"
#include "platform/input_synth.h"
#include "settings/settings_pages.h"
#include "settings/trans_ops.h"
#include "sim/sim_tcp.h"

namespace {
// The amplifier: one MEFFA it takes from "setup meffa=", the band it is on,
// and a status reply for every "status".
struct FakePgxl {
    std::shared_ptr<std::atomic<int>> meffa = std::make_shared<std::atomic<int>>(1);
    std::shared_ptr<std::atomic<int>> band = std::make_shared<std::atomic<int>>(20);
    sim::SimTcpServer server{[m = meffa, b = band](const std::string& in) {
        std::string out;
        for (std::size_t at = 0; (at = in.find('|', at)) != std::string::npos; ++at) {
            const std::string cmd = in.substr(at + 1, in.find('\n', at) - at - 1);
            if (cmd == "setup meffa=AUTO") *m = 1;
            if (cmd == "setup meffa=OFF ") *m = 0;
            if (cmd != "status") continue;
            char reply[128];
            std::snprintf(reply, sizeof reply, "R1|0|state=IDLE bandA=%d temp=55 meffa=%s fanmode=STANDARD\n",
                          b->load(), m->load() ? "AUTO" : "OFF");
            out += reply;
        }
        return out;
    }};
    int count(const std::string& what) const {
        const std::string all = server.received();
        int n = 0;
        for (std::size_t at = 0; (at = all.find(what, at)) != std::string::npos; at += what.size()) ++n;
        return n;
    }
};

struct PgxlStation : SimStation {
    FakePgxl amp;
    explicit PgxlStation(const std::string& settings)
        : SimStation("USING PGXL AMP=1\nPGXL AUTO TEMP=1\n" + settings) {
        initialise();
        std::snprintf(g_pgxladdress, sizeof g_pgxladdress, "%s", "127.0.0.1");
        g_pgxlport = amp.server.port();
        ConnectToPGXL();
        for (int i = 0; i < 100 && !g_pgxlconnected; ++i) run(20);
        EXPECT_EQ(g_pgxlconnected, 1);
    }
    // The fake amplifier answers on its own thread in real time: after each
    // step give it a bounded real moment to bring what is awaited.
    template <class F>
    bool runUntil(F done, int ms) {
        for (int t = 0; t < ms && !done(); t += 50) {
            run(50);
            for (int w = 0; w < 20 && !done(); ++w) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        return done();
    }
};

int MeffaRow(double mhz) { return g_bandmeffa[std::size_t(BandIndex(mhz))]; }
}  // namespace

TEST(PgxlMeffa, AmplifierAndSavedValueAgreeingOnAutoSendsNothing) {
    PgxlStation s("");
    ASSERT_TRUE(s.runUntil([&] { return s.amp.count("|status\n") >= 5; }, 8000));
    s.run(500);
    EXPECT_EQ(s.amp.count("setup meffa="), 0);
    EXPECT_EQ(*s.amp.meffa, 1);
    EXPECT_EQ(MeffaRow(14.074), 1);
}

TEST(PgxlMeffa, TheSavedValueIsSentAndTheAmplifiersOwnChangeIsSaved) {
    PgxlStation s("[20 Meters CW]\nMEFFA=0\n");
    // The amplifier says AUTO, the band is saved OFF: it is switched off once.
    ASSERT_TRUE(s.runUntil([&] { return *s.amp.meffa == 0; }, 8000));
    ASSERT_TRUE(s.runUntil([&] { return s.amp.count("|status\n") >= 6; }, 8000));
    EXPECT_EQ(s.amp.count("|setup meffa=OFF \n"), 1);
    EXPECT_EQ(s.amp.count("|setup meffa=AUTO\n"), 0);
    EXPECT_EQ(MeffaRow(14.074), 0);
    // The operator switches MEFFA on at the amplifier: the band keeps it.
    *s.amp.meffa = 1;
    EXPECT_TRUE(s.runUntil([] { return MeffaRow(14.074) == 1; }, 4000));
    s.run(3000);
    EXPECT_EQ(s.amp.count("setup meffa="), 1);
    g_mainwin->SendMessage(plat::WM_CLOSE);
    s.run(3000);
    const std::string ini = s.dir.read("qarv.ini");
    const std::size_t band = ini.find("[20 Meters CW]");
    ASSERT_NE(band, std::string::npos);
    EXPECT_EQ(ini.find("MEFFA=1", band), ini.find("MEFFA=", band));
}

TEST(PgxlMeffa, ABandChangeSendsTheNewBandsSavedValue) {
    PgxlStation s("[40 Meters CW]\nMEFFA=0\n");
    ASSERT_TRUE(s.runUntil([&] { return s.amp.count("|status\n") >= 3; }, 8000));
    EXPECT_EQ(s.amp.count("setup meffa="), 0);
    s.radio.setFrequency(7010000, 0);
    for (int i = 0; i < 20 && BandIndex(g_vfoafreq) != BandIndex(7.01); ++i) {
        s.radio.sendTransceiveFrequency();
        s.run(200);
    }
    ASSERT_EQ(BandIndex(g_vfoafreq), BandIndex(7.01));
    // The amplifier still on 20 m for a while, then on 40 m.
    s.run(2000);
    *s.amp.band = 40;
    ASSERT_TRUE(s.runUntil([&] { return *s.amp.meffa == 0; }, 5000));
    s.run(4000);
    EXPECT_EQ(s.amp.count("|setup meffa=OFF \n"), 1);
    EXPECT_EQ(MeffaRow(7.01), 0);
    EXPECT_EQ(MeffaRow(14.074), 1);
}

TEST(PgxlMeffa, ChangingAutoFanModeSendsTheAmplifierItsSettings) {
    PgxlStation s("[20 Meters CW]\nMEFFA=0\n");
    ASSERT_TRUE(s.runUntil([&] { return *s.amp.meffa == 0; }, 8000));
    // At 55 degrees the temperature rule sends nothing.
    s.run(3000);
    EXPECT_EQ(s.amp.count("fanmode="), 0);
    // The operator unticks "Auto Fan Mode" on page 10.
    g_transops->ShowWindow(plat::SW_SHOW);
    g_transops->PageList()->Choose(10);
    const auto rows = settings::PageRows();
    int row = -1;
    for (int n = 0; n < int(rows.size()); ++n)
        if (std::string(rows[n].caption) == "Auto Fan Mode") row = n;
    ASSERT_GE(row, 0);
    plat::Window* box = g_transops->RowControl(row);
    ASSERT_TRUE(box->IsWindowVisible());
    plat::synth::Click(box, plat::synth::Button::Left, {5, 5});
    EXPECT_EQ(g_pgxlautotemp, 0);
    // The next status round sends the fan mode and clears the change.
    EXPECT_TRUE(s.runUntil([&] { return s.amp.count("|setup fanmode=STANDARD \n") == 1; }, 3000));
    EXPECT_EQ(g_pgxlchange[0], 0);
    s.run(3000);
    EXPECT_EQ(s.amp.count("fanmode="), 1);
    // The band's saved MEFFA was already what the amplifier has.
    EXPECT_EQ(s.amp.count("setup meffa="), 1);
}
