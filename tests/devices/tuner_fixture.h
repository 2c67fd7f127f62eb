// The LDG tuner's tests: a memory image of their own, and the tuner's three
// timers run on the station fixture's timer window; or the whole program
// with a simulated radio and tuner.
#pragma once
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "app/app.h"
#include "civ/civ_timers.h"
#include "civ/radio_init.h"
#include "devices/station_fixture.h"
#include "devices/tuner.h"
#include "sim/sim_radio.h"

class TunerTest : public StationTest {
protected:
    void SetUp() override {
        StationTest::SetUp();
        image.assign(kLdgImageSize, 0);
        g_ldgimage = image.data();
        host.onTimer = [](unsigned id) {
            if (id == TIMER_TUNER_STEP) RunTunerSequence();
            if (id == TIMER_TUNER_RECALL) TunerRecall();
            if (id == TIMER_AUTOTUNE) autotunerexit();
        };
    }
    void TearDown() override {
        g_ldgimage = nullptr;
        StationTest::TearDown();
    }
    std::vector<std::uint8_t> image;
};

// The program with the radio on COM1 at `hz` and the tuner (answering with
// `responder`) on COM2; `image`, when given, is "ldg.dat".
struct TunerStation {
    TestDir dir;
    SettledRadio radio{0x94, 19200};
    SettledDevice tuner;
    CApp app;
    bool started = false;

    explicit TunerStation(long long hz, const std::string& image = "", sim::SimDevice::Responder responder = nullptr)
        : tuner(std::move(responder)) {
        EXPECT_TRUE(radio.link(dir.file("ports/com1")));
        EXPECT_TRUE(tuner.link(dir.file("ports/com2")));
        radio.setFrequency(hz, 0);
        radio.start();
        if (!image.empty()) dir.write("ldg.dat", image);
        char vfoA[32];
        std::snprintf(vfoA, sizeof vfoA, "%.6f", double(hz) / 1e6);
        dir.write("qarv.ini", std::string("[INTERFACE]\nCOMPORT=COM1\nBAUD=19200\nLDG COMPORT=COM2\n[OPERATING "
                                          "STATUS]\nQARV=23\nINTERNAL TUNER=4\nVFO-A FREQUENCY=") +
                                  vfoA + "\n");
        started = app.InitInstance();
    }
    ~TunerStation() {
        if (started) app.ExitInstance();
        radio.stop();
    }
    // The start-up chain ends with 2D 00; then the tuner is idle.
    bool chainDone(int ms = 5000) {
        return RunUntil([&] { return sim::Find(tuner.received(), sim::Bytes{0x2D, 0x00}) >= 0 && g_tunerstate == 0; },
                        ms);
    }
    // The radio reports a new frequency (its transceive broadcast) and the
    // program runs until the tuner got `expect`, or for `ms`.
    bool report(long long hz, const sim::Bytes& expect, int ms = 3000) {
        const std::size_t from = tuner.received().size();
        radio.setFrequency(hz, 0);
        radio.sendTransceiveFrequency();
        return RunUntil([&] { return sim::Find(tuner.received(), expect, from) >= 0; }, ms);
    }
};
