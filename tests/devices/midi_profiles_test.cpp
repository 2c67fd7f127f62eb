// The four other MIDI controller profiles, each plugged in by the name its
// sequencer port carries: its jog wheel tunes, its buttons run their
// functions, its faders and level knobs set levels, and its profile file
// holds every key.
#include <gtest/gtest.h>

#include <set>
#include <utility>

#include "civ/civ_options.h"
#include "devices/function_table.h"
#include "devices/keying.h"
#include "midi_fixture.h"

namespace {
constexpr unsigned kSplit = 122;
constexpr unsigned kAEqualsB = 225;
constexpr unsigned kNextStep = 233;
}  // namespace

// Every default names a function (or "No Op"), and within the rows a model
// uses no two controls answer the same bytes: a later row would shadow an
// earlier one.
TEST(MidiProfiles, DefaultsNameFunctionsAndNoControlShadowsAnother) {
    for (int model = 1; model <= kMidiModels; ++model) {
        const MidiModel& m = MidiModelInfo(model);
        ASSERT_LE(std::size_t(m.rows), m.defaults.size()) << model;
        std::set<std::pair<int, int>> seen;
        int mapped = 0;
        for (int i = 0; i < m.rows; ++i) {
            const MidiDefaultRow& r = m.defaults[std::size_t(i)];
            const bool named = FindFunctionExact(g_functions, r.setting) >= 0 ||
                               FindFunctionExact(g_knobfunctions, r.setting) >= 0;
            EXPECT_TRUE(named) << model << " " << r.key << "=" << r.setting;
            if (r.status == 0) continue;
            ++mapped;
            const int status = model == 4 ? r.status : r.status & 0xF0;
            EXPECT_TRUE(seen.insert({status, r.control}).second) << model << " " << r.key;
        }
        EXPECT_GT(mapped, m.rows / 3) << model;
    }
}

TEST_F(Midi, TheStudio2aTunesRunsItsButtonsAndSetsLevels) {
    dir.write("studio2a.ini", "[CMD SETTINGS]\nMULTI LEFT PITCH BEND=VFOA\n");
    ASSERT_TRUE(plugIn("CMD Studio 2a: CMD Studio 2a MIDI 1", 2));
    EXPECT_EQ(g_midirows, 54);
    const long long f = hz();
    send(0xB0, 0x03, 65);  // the left jog wheel, one count up
    EXPECT_EQ(hz(), f + 1000);
    send(0xB0, 0x33, 62);  // the right one runs VFO B: A stays
    EXPECT_EQ(hz(), f + 1000);
    send(0xB0, 0x05, 66);  // the pitch knob, set to VFO A in the file
    EXPECT_EQ(hz(), f + 3000);
    press(0x90, 0x02);  // LEFT PLAY: Split Key
    EXPECT_TRUE(frame.posted(kSplit));
    press(0x90, 0x32);  // RIGHT PLAY: A = B
    EXPECT_TRUE(frame.posted(kAEqualsB));
    send(0xB0, 0x18, 127);  // the left fader: volume
    EXPECT_EQ(g_volume, 255);
    send(0xB0, 0x18, 0);
    EXPECT_EQ(g_volume, 0);
    send(0xB0, 0x48, 127);  // the right fader: the keyer's pot offset
    EXPECT_EQ(g_keyerks, 15);
    EXPECT_NE(dir.read("studio2a.ini").find("RIGHT SAMPLE 4=No Op"), std::string::npos);
}

TEST_F(Midi, TheMp3e2SwallowsEachControlsFirstMessageThenTunesAndSetsLevels) {
    ASSERT_TRUE(plugIn("DJ Control MP3 e2 MIDI: DJ Control MP3 e2 MIDI 1", 3));
    EXPECT_EQ(g_midirows, 55);
    const long long f = hz();
    send(0xB0, 0x30, 1);  // the left jog's first message is its starting point
    EXPECT_EQ(hz(), f);
    send(0xB0, 0x30, 2);
    EXPECT_EQ(hz(), f + 2000);
    send(0xB0, 0x30, 127);
    EXPECT_EQ(hz(), f + 1000);
    press(0x90, 0x0F);  // LEFT PLAY, not swallowed: Split Key
    EXPECT_TRUE(frame.posted(kSplit));
    press(0x90, 0x26);  // RIGHT SYNC: Tuning Steps
    EXPECT_TRUE(frame.posted(kNextStep));
    send(0xB0, 0x34, 100);  // the left volume fader
    send(0xB0, 0x34, 127);
    EXPECT_EQ(g_volume, 255);
    // The MP3 LE is the same controller.
    g_midimodel = 0;
    source->names = {"DJControl MP3 LE MIDI"};
    OnMidiReopen();
    EXPECT_EQ(g_midimodel, 3);
    EXPECT_NE(dir.read("hercules.ini").find("LEFT 1=Band Bottom"), std::string::npos);
}

TEST_F(Midi, TheDj2go2TunesOnItsDeckChannelAndItsSliderRunsBackwards) {
    dir.write("dj2go2.ini", "[CMD SETTINGS]\nCENTER SLIDER=VOL\n");
    ASSERT_TRUE(plugIn("DJ2GO2: DJ2GO2 MIDI 1", 4));
    EXPECT_EQ(g_midirows, 26);
    const long long f = hz();
    send(0xB0, 0x06, 1);  // the left jog: 1 is up, anything else down
    EXPECT_EQ(hz(), f + 1000);
    send(0xB0, 0x06, 127);
    send(0xB0, 0x06, 127);
    EXPECT_EQ(hz(), f - 1000);
    send(0xB1, 0x06, 1);  // the right deck's jog has no row
    EXPECT_EQ(hz(), f - 1000);
    press(0x90, 0x00);  // LEFT PLAY: Split Key
    EXPECT_TRUE(frame.posted(kSplit));
    press(0x91, 0x02);  // RIGHT SYNC on the right deck's channel
    EXPECT_TRUE(frame.posted(kNextStep));
    g_knobfunction = kKnobVfoA;
    press(0x94, 0x02);  // the second cue pad: Tuning Selections
    EXPECT_EQ(g_knobfunction, kKnobVfoB);
    send(0xB0, 0x16, 127);  // the left level knob: volume
    EXPECT_EQ(g_volume, 255);
    send(0xB1, 0x16, 127);  // the right one: transmit power
    EXPECT_EQ(g_power, 100);
    send(0xBF, 0x08, 127);  // the crossfader, set to volume, runs backwards
    EXPECT_EQ(g_volume, 0);
    const std::string file = dir.read("dj2go2.ini");
    EXPECT_NE(file.find("CENTER SLIDER=VOL"), std::string::npos);
    EXPECT_NE(file.find("LEFT CUE 4=A = B"), std::string::npos);
}

// The DJ2GO2 lets go of a button with a note-off on that button's channel:
// "PTT" on one of its buttons must unkey when the button is released.
TEST_F(Midi, ADj2go2ButtonReleasedLetsThePttGo) {
    dir.write("dj2go2.ini", "[CMD SETTINGS]\nLEFT PLAY=PTT\nRIGHT SYNC=PTT\n");
    g_podptttoggle = 0;
    ASSERT_TRUE(plugIn("DJ2GO2", 4));
    send(0x90, 0x00, 127);
    EXPECT_NE(g_keyedmeans, 0u);
    send(0x80, 0x00, 127);
    EXPECT_EQ(g_keyedmeans, 0u);
    send(0x91, 0x02, 127);
    EXPECT_NE(g_keyedmeans, 0u);
    send(0x81, 0x02, 0);
    EXPECT_EQ(g_keyedmeans, 0u);
}

TEST_F(Midi, TheCompactTunesItsPadsAreNotShadowedAndItsKnobsSetLevels) {
    ASSERT_TRUE(plugIn("DJControl Compact: DJControl Compact MIDI 1", 5));
    const long long f = hz();
    send(0xB0, 0x30, 1);  // swallowed: the jog's starting point
    EXPECT_EQ(hz(), f);
    send(0xB0, 0x30, 3);
    EXPECT_EQ(hz(), f + 3000);
    send(0xB0, 0x30, 126);
    EXPECT_EQ(hz(), f + 1000);
    press(0x90, 0x21);  // LEFT PAUSE: Split Key
    EXPECT_TRUE(frame.posted(kSplit));
    press(0x90, 0x51);  // RIGHT PAUSE: A = B
    EXPECT_TRUE(frame.posted(kAEqualsB));
    // The second pad is LEFT 2 (Tuning Selections), whatever the DJ2GO2's
    // rows behind it once sent on that note.
    g_knobfunction = kKnobVfoA;
    press(0x90, 0x02);
    EXPECT_EQ(g_knobfunction, kKnobVfoB);
    send(0xB0, 0x39, 0);  // the left level knob: RF gain
    send(0xB0, 0x39, 127);
    EXPECT_EQ(g_rfgain, 0);
    send(0xB0, 0x39, 0);
    EXPECT_EQ(g_rfgain, 100);
    send(0xB0, 0x3D, 5);  // the right one: volume
    send(0xB0, 0x3D, 127);
    EXPECT_EQ(g_volume, 255);
    const std::string file = dir.read("hcompact.ini");
    EXPECT_NE(file.find("LOAD 2=No Op"), std::string::npos);
    EXPECT_NE(file.find("LEFT SAMPLE 1=No Op"), std::string::npos);
}
