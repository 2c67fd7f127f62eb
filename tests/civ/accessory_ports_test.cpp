// Accessory ports: openers on pseudo-terminals, the open-failure boxes and
// the defective-port report.
#include "civ/accessory_ports.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstring>

#include "base/trace_log.h"
#include "civ/radio_port.h"
#include "common/test_dir.h"
#include "devices/remote_link.h"
#include "platform/message_box.h"
#include "sim/pty_pair.h"

namespace {

namespace mbs = plat::message_box_script;

class AccessoryPorts : public ::testing::Test {
protected:
    void SetUp() override {
        mbs::Clear();
        g_trace = 3;
        OpenTraceFile();
    }
    void TearDown() override {
        EndTraceFile();
        CloseTraceStream();
    }
    std::string Trace() const { return dir.read("comms.txt"); }
    // A COM name whose link points nowhere, so the open fails as missing
    // whatever serial ports this machine has.
    void MissingPort(const char* name, const char* link) {
        mkdir("ports", 0755);
        ASSERT_EQ(symlink("/dev/qarv-no-such-port", link), 0) << name;
    }
    std::vector<std::string> Boxes() const {
        std::vector<std::string> out;
        for (const auto& b : mbs::History()) out.push_back(b.text);
        return out;
    }
    TestDir dir;
};

}  // namespace

TEST_F(AccessoryPorts, MissingPortIsShownOnceHoweverOftenRetried) {
    MissingPort("COM9", "ports/com9");
    std::strcpy(g_pttcomport, "COM9");
    for (int i = 0; i < 3; ++i) OpenPttPort();
    EXPECT_EQ(g_pttport, plat::kInvalidPort);
    ASSERT_EQ(Boxes(), std::vector<std::string>{"Error accessing PTT COM9.  It does not exist.\r\n"});
}

TEST_F(AccessoryPorts, SamePortForTwoDevicesAlternatelyShowsEachTime) {
    MissingPort("COM9", "ports/com9");
    std::strcpy(g_pttcomport, "COM9");
    std::strcpy(g_steppircomport, "COM9");
    OpenPttPort();
    OpenSteppirPort();
    OpenPttPort();
    OpenPttPort();
    EXPECT_EQ(Boxes(), (std::vector<std::string>{"Error accessing PTT COM9.  It does not exist.\r\n",
                                                 "Error accessing Steppir COM9.  It does not exist.\r\n",
                                                 "Error accessing PTT COM9.  It does not exist.\r\n"}));
}

TEST_F(AccessoryPorts, PortHeldElsewhereIsAlreadyInUse) {
    PtyPair pty;
    ASSERT_TRUE(pty.link("ports/com2"));
    std::strcpy(g_pegasuscomport, "COM2");
    std::strcpy(g_ldgcomport, "COM2");
    OpenPegasusPort();
    ASSERT_NE(g_pegasusport, plat::kInvalidPort);
    OpenLdgPort();
    EXPECT_EQ(g_ldgport, plat::kInvalidPort);
    EXPECT_EQ(Boxes(), std::vector<std::string>{"Error accessing LDG AT-200PC COM2.  It is already in use.\r\n"});
}

TEST_F(AccessoryPorts, OtherFailuresShowTheErrorNumber) {
    std::strcpy(g_yaltcomport, "/dev/null");
    OpenKeyerPort();
    EXPECT_EQ(g_yaltport, plat::kInvalidPort);
    ASSERT_EQ(mbs::History().size(), 1u);
    EXPECT_EQ(mbs::History()[0].text.rfind("Error accessing YALT /dev/null, error number ", 0), 0u);
    EXPECT_NE(Trace().find("Open Yalt\r\n"), std::string::npos);
    EXPECT_NE(Trace().find("Yalt open failed\r\n"), std::string::npos);
}

TEST_F(AccessoryPorts, NoPortNamesLeaveTheDeviceAbsentWithoutABox) {
    for (const char* name : {"0", "NONE", "COM0"}) {
        std::strcpy(g_steppircomport, name);
        OpenSteppirPort();
        EXPECT_EQ(g_steppirport, plat::kInvalidPort);
        EXPECT_EQ(OpenThpPort(plat::kInvalidPort, 4800, name, 1, 1), plat::kInvalidPort);
    }
    EXPECT_TRUE(mbs::History().empty());
}

TEST_F(AccessoryPorts, OpenersConfigureTheirBaudAndLines) {
    PtyPair peg, steppir, keyer;
    std::strcpy(g_pegasuscomport, peg.slavePath().c_str());
    std::strcpy(g_steppircomport, steppir.slavePath().c_str());
    std::strcpy(g_yaltcomport, keyer.slavePath().c_str());
    g_steppirbaud = 38400;
    OpenPegasusPort();
    OpenSteppirPort();
    OpenKeyerPort();
    EXPECT_NE(g_pegasusport, plat::kInvalidPort);
    EXPECT_NE(g_steppirport, plat::kInvalidPort);
    EXPECT_NE(g_yaltport, plat::kInvalidPort);
    EXPECT_EQ(peg.slaveBaud(), 57600);
    EXPECT_EQ(steppir.slaveBaud(), 38400);
    EXPECT_EQ(keyer.slaveBaud(), 1200);
    std::string t = Trace();
    EXPECT_NE(t.find("opening pegasus comport\r\n"), std::string::npos);
    // Pegasus: DTR up; SteppIR: RTS then DTR down; keyer: DTR up, RTS down.
    std::size_t p = t.find("opening pegasus comport");
    std::size_t a = t.find("set dtr", p);
    std::size_t b = t.find("clr rts", a);
    std::size_t c = t.find("clr dtr", b);
    std::size_t d = t.find("Open Yalt", c);
    std::size_t e = t.find("set dtr", d);
    std::size_t f = t.find("clr rts", e);
    EXPECT_NE(f, std::string::npos) << t;
    EXPECT_TRUE(mbs::History().empty());
    // Reopening replaces the handle rather than failing on our own lock.
    OpenPegasusPort();
    EXPECT_NE(g_pegasusport, plat::kInvalidPort);
    EXPECT_TRUE(mbs::History().empty());
}

TEST_F(AccessoryPorts, PttRaisesRtsOnlyForTheRadioServer) {
    PtyPair pty;
    std::strcpy(g_pttcomport, pty.slavePath().c_str());
    OpenPttPort();
    EXPECT_EQ(pty.slaveBaud(), 1200);
    EXPECT_EQ(Trace().find("set rts"), std::string::npos);
    g_radioserver = 1;
    OpenPttPort();
    EXPECT_NE(Trace().find("set rts"), std::string::npos);
    EXPECT_NE(g_pttport, plat::kInvalidPort);
}

TEST_F(AccessoryPorts, ThpPortReturnsItsHandleAndTracesIt) {
    PtyPair pty;
    plat::PortHandle h = OpenThpPort(plat::kInvalidPort, 4800, pty.slavePath().c_str(), 1, 1);
    ASSERT_NE(h, plat::kInvalidPort);
    EXPECT_EQ(pty.slaveBaud(), 4800);
    char line[200];
    std::snprintf(line, sizeof line, "Open THP port %s, id %d\r\n", pty.slavePath().c_str(), h);
    EXPECT_NE(Trace().find(line), std::string::npos);
    // Reopening through the old handle closes it first.
    plat::PortHandle h2 = OpenThpPort(h, 9600, pty.slavePath().c_str(), 0, 0);
    EXPECT_NE(h2, plat::kInvalidPort);
    EXPECT_EQ(pty.slaveBaud(), 9600);
    plat::SerialClose(h2);
}

TEST_F(AccessoryPorts, LdgOpenerStartsTheTunerThroughItsHook) {
    static int started = 0;
    started = 0;
    g_ldgportopened = [] { ++started; };
    PtyPair pty;
    std::strcpy(g_ldgcomport, pty.slavePath().c_str());
    OpenLdgPort();
    EXPECT_EQ(pty.slaveBaud(), 9600);
    EXPECT_EQ(started, 1);
    EXPECT_NE(Trace().find("set rts"), std::string::npos);
    std::strcpy(g_ldgcomport, "COM0");
    OpenLdgPort();
    EXPECT_EQ(started, 1);
    EXPECT_EQ(g_ldgport, plat::kInvalidPort);
}

TEST_F(AccessoryPorts, LineFailureReportsThePortDefectiveOnce) {
    PtyPair pty;
    ASSERT_TRUE(pty.link("ports/com5"));
    std::strcpy(g_comport, "COM5");
    g_radioport = plat::SerialOpen("COM5", plat::SerialConfig{});
    ASSERT_NE(g_radioport, plat::kInvalidPort);
    // The device goes away: the line request now fails with an I/O error.
    pty.closeMaster();
    SetDTR(1, g_radioport);
    EXPECT_EQ(g_radioport, plat::kInvalidPort);
    EXPECT_EQ(Boxes(), std::vector<std::string>{"COM5 is defective"});
    EXPECT_NE(Trace().find("SetDTR error 5, 0005\r\n"), std::string::npos) << Trace();

    // A second defect later in the run shows nothing.
    PtyPair other;
    std::strcpy(g_yaltcomport, other.slavePath().c_str());
    OpenKeyerPort();
    ASSERT_NE(g_yaltport, plat::kInvalidPort);
    other.closeMaster();
    SetRTS(0, g_yaltport);
    EXPECT_EQ(g_yaltport, plat::kInvalidPort);
    EXPECT_EQ(mbs::History().size(), 1u);
    EXPECT_NE(Trace().find("SetRTS error 5, 0005\r\n"), std::string::npos);
}

TEST_F(AccessoryPorts, DefectMarksTheOwnerAbsentEvenThroughACopy) {
    PtyPair pty;
    std::strcpy(g_ldgcomport, pty.slavePath().c_str());
    OpenLdgPort();
    ASSERT_NE(g_ldgport, plat::kInvalidPort);
    plat::PortHandle copy = g_ldgport;
    ReportDefectivePort(copy);
    EXPECT_EQ(copy, plat::kInvalidPort);
    // The closed number is free for reuse; the device must not keep it.
    EXPECT_EQ(g_ldgport, plat::kInvalidPort);
    EXPECT_EQ(Boxes(), std::vector<std::string>{pty.slavePath() + " is defective"});
}

TEST_F(AccessoryPorts, RegisteredOwnerGivesTheNameOfItsPort) {
    PtyPair pty;
    static plat::PortHandle coax = plat::kInvalidPort;
    static char coaxname[40] = "COM7";
    coax = plat::SerialOpen(pty.slavePath(), plat::SerialConfig{});
    ASSERT_NE(coax, plat::kInvalidPort);
    RegisterPortOwner(&coax, coaxname);
    plat::PortHandle h = coax;
    ReportDefectivePort(h);
    EXPECT_EQ(coax, plat::kInvalidPort);
    EXPECT_EQ(Boxes(), std::vector<std::string>{"COM7 is defective"});
}

TEST_F(AccessoryPorts, UnknownHandleIsReportedAsComx) {
    PtyPair pty;
    plat::PortHandle h = plat::SerialOpen(pty.slavePath(), plat::SerialConfig{});
    ASSERT_NE(h, plat::kInvalidPort);
    ReportDefectivePort(h);
    EXPECT_EQ(h, plat::kInvalidPort);
    EXPECT_EQ(Boxes(), std::vector<std::string>{"COMx is defective"});
}

TEST_F(AccessoryPorts, LinesOfAnAbsentDeviceAreNoDefect) {
    plat::PortHandle none = plat::kInvalidPort;
    SetDTR(1, none);
    SetRTS(0, none);
    EXPECT_TRUE(mbs::History().empty());
    std::string t = Trace();
    EXPECT_NE(t.find("set dtr\r\n"), std::string::npos);
    EXPECT_NE(t.find("clr rts\r\n"), std::string::npos);
    EXPECT_EQ(t.find("error"), std::string::npos);
}
