// MIDI controllers through a stand-in sequencer source (and through a real
// ALSA port where the sequencer exists).
#include <gtest/gtest.h>

#include <alsa/asoundlib.h>
#include <unistd.h>

#include <cstring>

#include "app/tuning_wiring.h"
#include "civ/engine_options.h"
#include "common/real_waits.h"
#include "midi_fixture.h"
#include "surface_app.h"

namespace {
struct MidiRows : Midi {
    void synthetic(int model, std::initializer_list<MidiRow> rows) {
        g_midimodel = model;
        g_midirows = 0;
        for (const MidiRow& r : rows) g_midiprofile[g_midirows++] = r;
        plat::MidiInOpen(0, &frame, WM_MIDI_DATA);
    }
    static MidiRow Row(int status, int control, int type, const char* setting) {
        MidiRow r;
        r.status = status;
        r.control = control;
        r.type = type;
        std::snprintf(r.setting, sizeof r.setting, "%s", setting);
        return r;
    }
};
}  // namespace

TEST_F(Midi, TheCmdMicroIsFoundAndItsProfileWritten) {
    source->names = {"Some Synth: Port 1", "CMD Micro: CMD Micro MIDI 1"};
    OpenMidi();
    EXPECT_EQ(g_midimodel, 1);
    EXPECT_EQ(g_midiopen, 1);
    EXPECT_EQ(source->opened, 1);
    EXPECT_EQ(g_midirows, 30);
    // The jog wheel's function becomes the knob function.
    EXPECT_EQ(g_knobfunction, kKnobRit);
    const std::string file = dir.read("cmdmicro.ini");
    EXPECT_NE(file.find("[CMD SETTINGS]"), std::string::npos);
    EXPECT_NE(file.find("LARGE LEFT KNOB=VFOA"), std::string::npos);
    EXPECT_NE(file.find("RIGHT CUE=Dual Receive"), std::string::npos);
    EXPECT_FALSE(boxed("Behringer CMD Micro not Found"));
}

TEST_F(Midi, NoDeviceShowsTheBoxAndOneUnknownDeviceOpensAsModelTwo) {
    OpenMidi();
    EXPECT_TRUE(boxed("Behringer CMD Micro not Found"));
    EXPECT_EQ(g_midiopen, 0);
    source->names = {"Unknown Pad: Port 1"};
    OnSurfaceCommand(ID_MIDI_REOPEN);
    EXPECT_EQ(g_midiopen, 1);
    EXPECT_EQ(g_midimodel, 2);
    EXPECT_EQ(g_midirows, 54);
    // Model 2's rows: no control of its map sends controller 17.
    const long long f = hz();
    send(0xB0, 17, 65);
    EXPECT_EQ(hz(), f);
}

TEST_F(Midi, KnobsTuneButtonsRunSlidersSetLevels) {
    source->names = {"CMD Micro: CMD Micro MIDI 1"};
    OpenMidi();
    const long long f = hz();
    send(0xB0, 17, 65);  // LARGE LEFT KNOB, one count up
    EXPECT_EQ(hz(), f + 1000);
    send(0xB3, 17, 63);  // any channel, one count down
    EXPECT_EQ(hz(), f);
    EXPECT_EQ(g_knobfunction, kKnobRit);  // the knob's own function was only borrowed
    // SLIDER3 is "PBT"... and SLIDER1 "VOL" sets the volume absolutely.
    send(0xB0, 16, 127);
    EXPECT_EQ(g_volume, 255);
    send(0xB0, 16, 0);
    EXPECT_EQ(g_volume, 0);
    // LOAD A is "Tuning Selections": it changes the knob function for good.
    g_knobfunction = kKnobVfoA;
    send(0x90, 20, 127);
    EXPECT_EQ(g_knobfunction, kKnobVfoB);
    // A note-off with a velocity is a release, never a second press.
    plat::manual_clock::Advance(60);
    send(0x80, 20, 64);
    EXPECT_EQ(g_knobfunction, kKnobVfoB);
    // Messages while the option is off are dropped.
    g_cmdmicro = 0;
    send(0xB0, 17, 65);
    EXPECT_EQ(hz(), f);
}

TEST_F(Midi, ProfileFileValuesReplaceDefaultsAndLongNamesAreCut) {
    dir.write("cmdmicro.ini", "[CMD SETTINGS]\nSLIDER1=VFOA\nLEFT PLAY=NOOP\nSLIDER2=" + std::string(39, 'x') + "\n");
    source->names = {"CMD Micro"};
    OpenMidi();
    EXPECT_STREQ(g_midiprofile[0].setting, "VFOA");
    EXPECT_EQ(std::strlen(g_midiprofile[1].setting), 21u);
    // A slider set to "VFOA" and a button set to "NOOP" do nothing.
    const long long f = hz();
    const int volume = g_volume;
    send(0xB0, 16, 100);
    send(0x90, 23, 127);
    send(0x80, 23, 0);
    EXPECT_EQ(hz(), f);
    EXPECT_EQ(g_volume, volume);
    EXPECT_FALSE(frame.posted(122));
}

TEST_F(MidiRows, ModelsThreeAndFiveSwallowEachControlsFirstMessage) {
    synthetic(3, {Row(0xB0, 10, 3, "VFOA"), Row(0x90, 11, 4, "Tuning Selections")});
    const long long f = hz();
    send(0xB0, 10, 1);
    EXPECT_EQ(hz(), f);
    send(0xB0, 10, 2);
    EXPECT_EQ(hz(), f + 2000);
    send(0xB0, 10, 127);
    EXPECT_EQ(hz(), f + 1000);
    // Buttons are not swallowed.
    g_knobfunction = kKnobVfoA;
    send(0x90, 11, 127);
    EXPECT_EQ(g_knobfunction, kKnobVfoB);
}

TEST_F(MidiRows, TheDj2go2KeepsTheChannelAndCountsOneUp) {
    synthetic(4, {Row(0xB1, 6, 3, "VFOA"), Row(0xB1, 7, 1, "VOL")});
    const long long f = hz();
    send(0xB1, 6, 1);
    EXPECT_EQ(hz(), f + 1000);
    send(0xB1, 6, 5);
    EXPECT_EQ(hz(), f);
    send(0xB0, 6, 1);  // another channel: no row
    EXPECT_EQ(hz(), f);
    send(0xB1, 7, 127);  // its sliders run the other way
    EXPECT_EQ(g_volume, 0);
    EXPECT_EQ(MidiRelativeCount(1, 65), 1);
    EXPECT_EQ(MidiRelativeCount(5, 127), -1);
}

// Each model as a sequencer client of its own name: its left jog wheel's
// controller messages tune VFO A one count up (models 3 and 5 take the
// first message as the wheel's starting point).
struct AlsaController {
    const char* client;
    int model;
    int control;
    int value;
    int messages;
};
void PrintTo(const AlsaController& c, std::ostream* os) { *os << c.client; }
class MidiAlsa : public ::testing::TestWithParam<AlsaController> {};

TEST_P(MidiAlsa, AVirtualPortIsFoundAndItsJogWheelTunes) {
    if (access("/dev/snd/seq", R_OK | W_OK) != 0) GTEST_SKIP() << "no ALSA sequencer here";
    const AlsaController& c = GetParam();
    snd_seq_t* seq = nullptr;
    ASSERT_GE(snd_seq_open(&seq, "default", SND_SEQ_OPEN_OUTPUT, 0), 0);
    snd_seq_set_client_name(seq, c.client);
    const int port = snd_seq_create_simple_port(seq, (std::string(c.client) + " MIDI 1").c_str(),
                                                SND_SEQ_PORT_CAP_READ | SND_SEQ_PORT_CAP_SUBS_READ,
                                                SND_SEQ_PORT_TYPE_MIDI_GENERIC);
    ASSERT_GE(port, 0);
    TestDir dir;
    g_cwd = dir.path();
    CommandRecorder frame;
    CSwlPanel panel{&frame};
    g_swlpanel = &panel;
    WireTuningView();
    g_timerwindow = &frame;
    g_cmdmicro = 1;
    g_step = 1000;
    g_vfoafreq = panel.vfoAFreq = 14.2;
    OpenMidi();
    ASSERT_EQ(g_midiopen, 1);
    EXPECT_EQ(g_midimodel, c.model);
    snd_seq_event_t ev;
    snd_seq_ev_clear(&ev);
    snd_seq_ev_set_source(&ev, port);
    snd_seq_ev_set_subs(&ev);
    snd_seq_ev_set_direct(&ev);
    snd_seq_ev_set_controller(&ev, 0, c.control, c.value);
    for (int i = 0; i < c.messages; ++i) snd_seq_event_output_direct(seq, &ev);
    // The sequencer hands the events on in real time.
    realwait::Wait([] {
        plat::MidiInPump();
        return std::llround(g_vfoafreq * 1e6) != 14200000;
    });
    EXPECT_EQ(std::llround(g_vfoafreq * 1e6), 14201000);
    plat::MidiInClose();
    snd_seq_close(seq);
    g_swlpanel = nullptr;
    g_timerwindow = nullptr;
}

INSTANTIATE_TEST_SUITE_P(EveryModel, MidiAlsa,
                         ::testing::Values(AlsaController{"CMD Micro", 1, 17, 65, 1},
                                           AlsaController{"CMD Studio 2a", 2, 0x03, 65, 1},
                                           AlsaController{"DJ Control MP3 e2 MIDI", 3, 0x30, 1, 2},
                                           AlsaController{"DJ2GO2", 4, 0x06, 1, 1},
                                           AlsaController{"DJControl Compact", 5, 0x30, 1, 2}),
                         [](const ::testing::TestParamInfo<AlsaController>& info) {
                             return "Model" + std::to_string(info.param.model);
                         });

TEST(MidiProgram, TheJogOfAControllerTunesTheSimulatedRadio) {
    auto source = std::make_shared<FakeSourceState>();
    source->names = {"CMD Micro: CMD Micro MIDI 1"};
    plat::SetMidiSource(std::make_unique<FakeSource>(source));
    {
        SurfaceApp qarv;
        qarv.start("", "CMD MICRO=1\n");
        ASSERT_EQ(g_midiopen, 1);
        EXPECT_NE(qarv.dir.read("comms.txt").find("midi device found"), std::string::npos);
        const long long f0 = qarv.radio.frequency(0);
        source->queue.push_back(plat::PackMidi(0xB0, 17, 66));  // LARGE LEFT KNOB, two up
        plat::MidiInPump();
        EXPECT_TRUE(qarv.waitForFrequency(f0 + 2000));
    }
    plat::SetMidiSource(nullptr);
}
