// CW keying on the parallel port: key-down and key-up reach the control
// register (the pins the keying interface hangs on), never the data
// register that carries the band data.
#include <fcntl.h>
#include <unistd.h>

#include <memory>
#include <utility>
#include <vector>

#include "base/device_options.h"
#include "civ/civ_options.h"
#include "civ/frequency_options.h"
#include "civ/radio_models.h"
#include "common/test_dir.h"
#include "devices/keying.h"
#include "devices/station_fixture.h"
#include "devices/switches.h"
#include "platform/event_loop.h"
#include "platform/station_io.h"

namespace {
enum Register { kData, kControl };
using Writes = std::vector<std::pair<Register, std::uint8_t>>;

struct RecordingPort : plat::ParallelPort {
    Writes* out;
    bool fail = false;
    int fd = -1;  // a stand-in device for the fault path
    int Descriptor() const override { return fd; }
    explicit RecordingPort(Writes* o, bool failing = false) : out(o), fail(failing) {}
    bool WriteData(std::uint8_t v) override {
        out->emplace_back(kData, v);
        return !fail;
    }
    bool WriteControl(std::uint8_t v) override {
        out->emplace_back(kControl, v);
        return !fail;
    }
};

class ParportKeying : public StationTest {
protected:
    void SetUp() override {
        StationTest::SetUp();
        // A radio without the CI-V transmit command: the port is the only means.
        g_radiotype = 7;
        g_ppkeying = 1;
        g_keyedmeans = 0;
    }
    void TearDown() override {
        plat::SetParallelOpener(nullptr);
        g_ppkeying = 0;
        StationTest::TearDown();
    }
    void Open(bool failing = false) {
        plat::SetParallelOpener([this, failing](const std::string&) -> std::unique_ptr<plat::ParallelPort> {
            return std::make_unique<RecordingPort>(&writes, failing);
        });
        ASSERT_TRUE(OpenPortTalk());
    }
    Writes writes;
};
}  // namespace

TEST_F(ParportKeying, CwKeyOnAndOffWriteTheControlRegister) {
    Open();
    for (char mode : {'3', '2'}) {  // CW and CW-R
        writes.clear();
        g_vfoamode = mode;
        keyon();
        keyoff();
        EXPECT_EQ(writes, (Writes{{kControl, 1}, {kControl, 9}})) << mode;
    }
    EXPECT_TRUE(Traced("LPT on"));
    EXPECT_TRUE(Traced("LPT off"));
}

TEST_F(ParportKeying, AKeyedPortIsReadyToBeReleasedByAFault) {
    namespace fatal = plat::fatal_release;
    TestDir dir;
    dir.write("device", "");
    const int fd = ::open(dir.file("device").c_str(), O_RDWR);
    ASSERT_GE(fd, 0);
    plat::SetParallelOpener([this, fd](const std::string&) -> std::unique_ptr<plat::ParallelPort> {
        auto port = std::make_unique<RecordingPort>(&writes);
        port->fd = fd;
        return port;
    });
    ASSERT_TRUE(OpenPortTalk());
    g_vfoamode = '3';
    keyon();
    EXPECT_TRUE(fatal::Armed(fatal::kParallelControl));
    keyoff();
    EXPECT_FALSE(fatal::Armed(fatal::kParallelControl));
    ::close(fd);
}

TEST_F(ParportKeying, PhoneDoesNotKeyThePortButAKeyOnInCwIsReleasedAfterAModeChange) {
    Open();
    g_vfoamode = '1';  // USB
    keyon();
    keyoff();
    EXPECT_TRUE(writes.empty());
    g_vfoamode = '3';
    keyon();
    g_vfoamode = '1';  // the operator switched to USB while keyed
    keyoff();
    EXPECT_EQ(writes, (Writes{{kControl, 1}, {kControl, 9}}));
}

TEST_F(ParportKeying, ReleasingEveryMeansLiftsThePortKey) {
    Open();
    g_vfoamode = '3';
    keyon();
    writes.clear();
    ReleaseAllKeying("test");
    EXPECT_EQ(writes, (Writes{{kControl, 9}}));
}

TEST_F(ParportKeying, BandDataStaysOnTheDataRegisterAndOtherAddressesAreIgnored) {
    Open();
    outportb(888, 0x41);
    outportb(889, 0x55);  // the status register cannot be written
    outportb(890, 9);
    EXPECT_EQ(writes, (Writes{{kData, 0x41}, {kControl, 9}}));
}

TEST_F(ParportKeying, AFailedWriteIsTracedAndAMissingPortSkipsTheKeying) {
    Open(true);
    g_vfoamode = '3';
    keyon();
    EXPECT_TRUE(Traced("Error occured during outportb while talking to PortTalk driver 890"));
    plat::SetParallelOpener([](const std::string&) { return nullptr; });
    EXPECT_FALSE(OpenPortTalk());
    writes.clear();
    keyoff();  // no port: nothing written, nothing fails
    EXPECT_TRUE(writes.empty());
}
