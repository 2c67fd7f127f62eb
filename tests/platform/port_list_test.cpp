// The port list: the working directory's "ports/comN" links by number,
// then the system's devices, without opening anything.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

#include "common/test_dir.h"
#include "platform/serial_port.h"
#include "sim/pty_pair.h"

TEST(PortList, LinksOfTheWorkingDirectoryComeFirstByNumber) {
    TestDir dir;
    PtyPair a, b;
    ASSERT_TRUE(a.link(dir.file("ports/com10")));
    ASSERT_TRUE(b.link(dir.file("ports/com2")));
    // A dangling link is listed (its open reports it missing); names that
    // are not "comN" are not ports.
    ASSERT_EQ(::symlink("/nonexistent/tty", dir.file("ports/com3").c_str()), 0);
    dir.write("ports/readme", "x");
    dir.write("ports/comx", "x");
    dir.write("ports/com0", "x");
    const std::vector<std::string> ports = plat::ListSerialPorts();
    ASSERT_GE(ports.size(), 3u);
    EXPECT_EQ(ports[0], "COM2");
    EXPECT_EQ(ports[1], "COM3");
    EXPECT_EQ(ports[2], "COM10");
    for (std::size_t i = 3; i < ports.size(); ++i) {
        EXPECT_EQ(ports[i].rfind("/dev/", 0), 0u) << ports[i];
        // The pseudo-terminals behind the links are not listed again.
        EXPECT_NE(ports[i], a.slavePath());
        EXPECT_NE(ports[i], b.slavePath());
    }
    // Nothing was opened: each pseudo-terminal can still be opened exclusively.
    plat::SerialConfig cfg;
    plat::PortHandle h = plat::SerialOpen("COM2", cfg);
    EXPECT_NE(h, plat::kInvalidPort);
    plat::SerialClose(h);
}

TEST(PortList, WithoutLinksOnlySystemDevicesAreListed) {
    TestDir dir;
    for (const std::string& p : plat::ListSerialPorts()) {
        EXPECT_EQ(p.rfind("/dev/", 0), 0u) << p;
        // A ttyS node is offered only with a UART behind it.
        if (p.rfind("/dev/ttyS", 0) == 0) {
            struct stat st {};
            EXPECT_EQ(::stat(p.c_str(), &st), 0) << p;
        }
    }
}
