// Serial ports against pseudo-terminal pairs: the master end plays the device.
#include "platform/serial_port.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>

#include "common/real_waits.h"
#include "common/test_dir.h"
#include "sim/pty_pair.h"

using namespace plat;

TEST(SerialPortNames, NoPortNamesOpenNothing) {
    for (const char* name : {"", "0", "COM0", "com0", "NONE", "none"}) {
        EXPECT_TRUE(IsNoPortName(name)) << name;
        EXPECT_EQ(ResolvePortName(name), "") << name;
        PortError err = PortError::None;
        EXPECT_EQ(SerialOpen(name, SerialConfig{}, &err), kInvalidPort);
        EXPECT_EQ(err, PortError::NoPort) << name;
    }
}

TEST(SerialPortNames, ComNamesFallBackToTtyS) {
    TestDir dir;
    EXPECT_EQ(ResolvePortName("COM1"), "/dev/ttyS0");
    EXPECT_EQ(ResolvePortName("COM12"), "/dev/ttyS11");
    EXPECT_EQ(ResolvePortName("/dev/ttyUSB0"), "/dev/ttyUSB0");
    // Names that are no port of ours are not opened as relative files.
    EXPECT_EQ(ResolvePortName("COMX"), "");
    EXPECT_EQ(ResolvePortName("qarv.ini"), "");
    PortError err = PortError::None;
    std::string text;
    EXPECT_EQ(SerialOpen("qarv.ini", SerialConfig{}, &err, &text), kInvalidPort);
    EXPECT_EQ(err, PortError::NotFound);
    EXPECT_EQ(text, "does not exist");
}

TEST(SerialPort, OpensByDevicePathAndRoundTrips) {
    PtyPair pty;
    ASSERT_TRUE(pty.ok());
    SerialConfig cfg;
    cfg.baud = 9600;
    PortHandle h = SerialOpen(pty.slavePath(), cfg);
    ASSERT_NE(h, kInvalidPort);
    EXPECT_EQ(pty.slaveBaud(), 9600);
    const std::vector<std::uint8_t> frame = {0xFE, 0xFE, 0x94, 0xE0, 0x03, 0xFD};
    EXPECT_EQ(SerialWrite(h, frame.data(), int(frame.size())), int(frame.size()));
    EXPECT_EQ(pty.read(frame.size()), frame);
    pty.write({0x01, 0x02, 0x03});
    EXPECT_EQ(ReadPort(h, 3), (std::vector<std::uint8_t>{1, 2, 3}));
    EXPECT_TRUE(SerialSetBaud(h, 57600));
    EXPECT_EQ(pty.slaveBaud(), 57600);
    EXPECT_FALSE(SerialSetBaud(h, 12345));
    SerialClose(h);
    EXPECT_EQ(h, kInvalidPort);
}

TEST(SerialPort, OpensThroughComLinkAndReopens) {
    TestDir dir;
    PtyPair pty;
    ASSERT_TRUE(pty.ok());
    ASSERT_TRUE(pty.link("ports/com3"));
    EXPECT_EQ(ResolvePortName("COM3"), "ports/com3");
    PortHandle h = SerialOpen("COM3", SerialConfig{});
    ASSERT_NE(h, kInvalidPort);
    EXPECT_EQ(pty.slaveBaud(), 19200);
    SerialClose(h);
    // Exclusive mode must not outlive the close, or the reopen is refused.
    h = SerialOpen("com3", SerialConfig{});
    EXPECT_NE(h, kInvalidPort);
    SerialClose(h);
}

TEST(SerialPort, DanglingComLinkIsMissing) {
    TestDir dir;
    PtyPair pty;
    ASSERT_TRUE(pty.link("ports/com4"));
    unlink("ports/com4");
    ASSERT_EQ(symlink("/dev/no-such-port-here", "ports/com4"), 0);
    PortError err = PortError::None;
    EXPECT_EQ(SerialOpen("COM4", SerialConfig{}, &err), kInvalidPort);
    EXPECT_EQ(err, PortError::NotFound);
    int code = 0;
    EXPECT_EQ(SerialLastError(&code), PortError::NotFound);
    EXPECT_NE(code, 0);
}

TEST(SerialPort, SecondOpenIsInUse) {
    PtyPair pty;
    PortHandle a = SerialOpen(pty.slavePath(), SerialConfig{});
    ASSERT_NE(a, kInvalidPort);
    PortError err = PortError::None;
    std::string text;
    EXPECT_EQ(SerialOpen(pty.slavePath(), SerialConfig{}, &err, &text), kInvalidPort);
    EXPECT_EQ(err, PortError::InUse);
    EXPECT_EQ(text, "already in use");
    EXPECT_EQ(SerialLastError(), PortError::InUse);
    SerialClose(a);
}

TEST(SerialPort, UnsupportedBaudIsRefused) {
    PtyPair pty;
    SerialConfig cfg;
    cfg.baud = 12345;
    PortError err = PortError::None;
    EXPECT_EQ(SerialOpen(pty.slavePath(), cfg, &err), kInvalidPort);
    EXPECT_EQ(err, PortError::Other);
    // A refused open leaves the port free for the next try.
    PortHandle h = SerialOpen(pty.slavePath(), SerialConfig{});
    EXPECT_NE(h, kInvalidPort);
    SerialClose(h);
}

TEST(SerialPort, NonTerminalDeviceIsRefused) {
    PortError err = PortError::None;
    EXPECT_EQ(SerialOpen("/dev/null", SerialConfig{}, &err), kInvalidPort);
    EXPECT_EQ(err, PortError::Other);
}

TEST(SerialPort, ReadNeverWaits) {
    PtyPair pty;
    PortHandle h = SerialOpen(pty.slavePath(), SerialConfig{});
    ASSERT_NE(h, kInvalidPort);
    std::uint8_t buf[64];
    auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < 100; ++i) EXPECT_EQ(SerialRead(h, buf, sizeof buf), 0);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(500));
    EXPECT_EQ(SerialPending(h), 0);
    SerialClose(h);
}

TEST(SerialPort, PurgeDiscardsBufferedInput) {
    PtyPair pty;
    PortHandle h = SerialOpen(pty.slavePath(), SerialConfig{});
    ASSERT_NE(h, kInvalidPort);
    pty.write({1, 2, 3, 4});
    realwait::Wait([&] { return SerialPending(h) >= 4; });
    EXPECT_EQ(SerialPending(h), 4);
    SerialPurge(h);
    std::uint8_t buf[8];
    EXPECT_EQ(SerialRead(h, buf, sizeof buf), 0);
    SerialClose(h);
}

TEST(SerialPort, VanishedDeviceReadsMinusOne) {
    PtyPair pty;
    PortHandle h = SerialOpen(pty.slavePath(), SerialConfig{});
    ASSERT_NE(h, kInvalidPort);
    pty.closeMaster();
    std::uint8_t buf[8];
    EXPECT_EQ(SerialRead(h, buf, sizeof buf), -1);
    EXPECT_EQ(SerialWrite(h, buf, 4), -1);
    SerialClose(h);
}

TEST(SerialPort, WriteGivesUpWhenNobodyReads) {
    PtyPair pty;
    PortHandle h = SerialOpen(pty.slavePath(), SerialConfig{});
    ASSERT_NE(h, kInvalidPort);
    // Nobody drains the master: the terminal's buffer fills and the write
    // must come back short within its time-out rather than hang.
    std::vector<std::uint8_t> big(30, 0x55);
    int total = 0;
    auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < 100000; ++i) {
        int n = SerialWrite(h, big.data(), int(big.size()));
        ASSERT_GE(n, 0);
        total += n;
        if (n < int(big.size())) break;
    }
    EXPECT_GT(total, 0);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));
    SerialClose(h);
}

TEST(SerialPort, ModemLinesOnPtySucceedQuietly) {
    PtyPair pty;
    PortHandle h = SerialOpen(pty.slavePath(), SerialConfig{});
    ASSERT_NE(h, kInvalidPort);
    int code = -1;
    EXPECT_TRUE(SerialSetDTR(h, true, &code));
    EXPECT_EQ(code, 0);
    EXPECT_TRUE(SerialSetRTS(h, false, &code));
    EXPECT_EQ(code, 0);
    bool cts = true;
    EXPECT_TRUE(SerialGetCTS(h, &cts));
    EXPECT_FALSE(cts);
    // The port still works after the line calls.
    std::uint8_t b = 0x42;
    EXPECT_EQ(SerialWrite(h, &b, 1), 1);
    EXPECT_EQ(pty.read(1), std::vector<std::uint8_t>{0x42});
    SerialClose(h);
}

TEST(SerialPort, ClosedHandleFailsEveryCall) {
    PortHandle h = kInvalidPort;
    std::uint8_t b = 0;
    EXPECT_FALSE(SerialIsOpen(h));
    EXPECT_EQ(SerialRead(h, &b, 1), -1);
    EXPECT_EQ(SerialWrite(h, &b, 1), -1);
    int code = 0;
    EXPECT_FALSE(SerialSetDTR(h, true, &code));
    EXPECT_NE(code, 0);
    SerialClose(h);
    EXPECT_EQ(h, kInvalidPort);
}
