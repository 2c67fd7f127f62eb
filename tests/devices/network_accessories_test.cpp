// Network accessories on loopback: the antenna switch's message and its
// reconnect, the rotor switch's records, and the PGXL amplifier found by
// discovery and driven by its status.
#include <cstring>
#include <string>

#include "base/device_options.h"
#include "base/shell_ops.h"
#include "civ/band_table.h"
#include "civ/civ_options.h"
#include "civ/frequency_state.h"
#include "devices/amplifiers.h"
#include "devices/rotator.h"
#include "devices/station_fixture.h"
#include "devices/switches.h"
#include "sim/sim_tcp.h"

namespace {
class Network : public StationTest {
protected:
    void SetUp() override {
        StationTest::SetUp();
        host.onTimer = [](unsigned id) {
            if (id == TIMER_AG_TIMEOUT) AG_Tavn_TimeOut(0);
            if (id == TIMER_RG_TIMEOUT) RG_Tavn_TimeOut();
        };
    }
};

std::string HeadingRecord(const char* b1, char m1, const char* b2, char m2) {
    std::string r(47, '0');
    r[0] = '|';
    r[1] = 'h';
    r.replace(3, 3, b1);
    r[12] = 'A';
    r[13] = m1;
    r.replace(36, 3, b2);
    r[45] = 'B';
    r[46] = m2;
    return r + "\r\n";
}
}  // namespace

TEST_F(Network, AntennaSwitchGetsTheBandAndReconnectsAfterADrop) {
    sim::SimTcpServer sw;
    ASSERT_TRUE(sw.ok());
    std::strcpy(g_tavnipag, "127.0.0.1");
    g_tavnagport = sw.port();
    g_tavnag = 1;
    g_radioTavn = 2;
    g_vfoafreq = 14.2;
    ConnectToTavn_ag();
    ASSERT_TRUE(realwait::Until([] { return g_tavnagconnected != 0; }));
    EXPECT_EQ(StatusBarText(), "Connected AG");
    EXPECT_TRUE(sw.waitFor("!000a!00cc80!2;5"));
    // The switch goes away: the program notices and connects again.
    sw.drop();
    ASSERT_TRUE(RunUntil([&] { return sw.connections() == 2 && g_tavnagconnected; }, 5000));
    EXPECT_TRUE(Traced("Lost Connection AG") || Traced("Tavn ag Read Data end"));
    sw.clear();
    g_vfoafreq = 7.1;
    setTavn(3);
    EXPECT_TRUE(sw.waitFor("!000a!00cc80!2;3"));
}

TEST_F(Network, AntennaSwitchWatchdogResendsTheBand) {
    sim::SimTcpServer sw;
    std::strcpy(g_tavnipag, "127.0.0.1");
    g_tavnagport = sw.port();
    g_vfoafreq = 21.2;
    ConnectToTavn_ag();
    ASSERT_TRUE(realwait::Until([] { return g_tavnagconnected != 0; }));
    sw.clear();
    RunFor(5100);
    EXPECT_TRUE(sw.waitFor("!000a!00cc80!1;7"));
}

TEST_F(Network, NothingListeningIsRetriedByTheWatchdog) {
    int port = 0;
    {
        sim::SimTcpServer gone;
        port = gone.port();
    }
    std::strcpy(g_tavnipag, "127.0.0.1");
    g_tavnagport = port;
    ConnectToTavn_ag();
    RunFor(300);
    EXPECT_EQ(g_tavnagconnected, 0);
    sim::SimTcpServer back(nullptr, port);
    ASSERT_TRUE(back.ok());
    EXPECT_TRUE(RunUntil([] { return g_tavnagconnected != 0; }, 8000));
}

TEST_F(Network, RotorSwitchTurnsAndShowsTheConfiguredRotor) {
    sim::SimTcpServer rg([](const std::string& in) {
        return in.find("|h\n") != std::string::npos ? HeadingRecord("123", '0', "271", '1') : std::string();
    });
    std::strcpy(g_tavniprg, "127.0.0.1");
    g_tavnrgport = rg.port();
    g_rotortavn = 2;
    ConnectToTavn_rg();
    ASSERT_TRUE(realwait::Until([] { return g_rotorconnected != 0; }));
    ASSERT_TRUE(SetRotorBearing(90));
    StartRotor();
    EXPECT_TRUE(rg.waitFor("|A2090\n"));
    PollRotorHeading();
    EXPECT_TRUE(realwait::Until([] { return std::strcmp(g_rotorshown, "271") == 0; }));
    EXPECT_EQ(g_rotormoving, 1);
    EXPECT_TRUE(Traced("Tavn bearing 1 123, bearing 2 271, moving1 0, moving2 1, type1 A, type2 B"));
    // A record cut short and split over reads is waited for or refused,
    // never read past its end.
    const std::string rec = HeadingRecord("200", '0', "300", '0');
    rg.send("|h1\r\n");
    rg.send(rec.substr(0, 20));
    RunFor(50);
    rg.send(rec.substr(20));
    EXPECT_TRUE(realwait::Until([] { return std::strcmp(g_rotorshown, "300") == 0; }));
    StopRotor();
    EXPECT_TRUE(rg.waitFor("|S\n"));
}

TEST_F(Network, PgxlFoundByDiscoveryFollowsItsTemperature) {
    sim::SimTcpServer amp;
    ASSERT_TRUE(amp.ok());
    g_pgxlport = amp.port();
    g_pgxlautotemp = 1;
    g_vfoafreq = 14.2;
    g_bandrow = 20;
    StartPGXLDiscovery();
    // A short datagram is ignored; the full one gives the address.
    ASSERT_TRUE(sim::SendDatagram(g_pgxlport, "ip=10.9.9.9 short"));
    RunFor(50);
    std::string disco = "model=PGXL serial=1234 ip=127.0.0.1 nickname=amp version=3.0";
    disco.resize(80, ' ');
    ASSERT_TRUE(sim::SendDatagram(g_pgxlport, disco));
    ASSERT_TRUE(RunUntil([] { return g_pgxlconnected != 0; }));
    EXPECT_STREQ(g_pgxladdress, "127.0.0.1");
    SendPGXLStatus();
    EXPECT_TRUE(amp.waitFor("C001|status\n"));
    // The first report of a band is only remembered; the second one counts.
    const std::string hot = "R1|0|state=IDLE bandA=20 temp=60 meffa=AUTO fanmode=STANDARD\n";
    amp.send(hot);
    RunFor(100);
    amp.send(hot);
    EXPECT_TRUE(realwait::Until([&] { return amp.received().find("|setup fanmode=CONTEST  \n") != std::string::npos; }));
    // Sent once: the first report, whose answer would be ahead of it on the
    // connection, brought none.
    EXPECT_EQ(amp.received().find("fanmode=CONTEST"), amp.received().rfind("fanmode=CONTEST"));
    EXPECT_EQ(g_pgxltemp, 60);
    // The amplifier closes the connection: the program connects again.
    amp.drop();
    EXPECT_TRUE(RunUntil([&] { return amp.connections() == 2 && g_pgxlconnected; }, 5000));
}

TEST_F(Network, PgxlReplyRules) {
    g_vfoafreq = 14.2;
    g_bandrow = 5;
    g_pgxlautotemp = 1;
    auto reply = [](const std::string& r) { ParsePgxlReply(reinterpret_cast<const std::uint8_t*>(r.data()), int(r.size())); };
    reply("state=IDLE bandA=20 temp=20 meffa=OFF fanmode=STANDARD");  // band remembered only
    g_pgxlfan = 1;
    reply("state=IDLE bandA=20 temp=59 meffa=OFF fanmode=STANDARD");
    EXPECT_EQ(g_pgxlfan, 1);
    EXPECT_EQ(g_bandmeffa[5], 1);  // the band's saved AUTO is what the amplifier is told
    EXPECT_TRUE(Traced("sync up meffa"));
    reply("state=IDLE bandA=40 temp=90 meffa=AUTO fanmode=STANDARD");  // another band: ignored
    EXPECT_EQ(g_pgxltemp, 59);
    reply("state=IDLE bandA=");  // cut short: nothing read past the end
    reply("bandA=20 temp=");     // no state: not a status reply
    EXPECT_EQ(g_pgxltemp, 59);
}
