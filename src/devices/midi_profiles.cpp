// The built-in MIDI controller profiles: for each model the ini key of every
// control, the status and data-1 bytes the controller sends for it, its type
// and its default function. Controls a controller's published map does not
// show keep their key with status 0, which no message carries.
#include <array>
#include <cstring>

#include "devices/midi_controllers.h"

namespace {
constexpr int CC = 0xB0;
constexpr int NOTE = 0x90;
constexpr const char* kNoOp = "No Op";

// Behringer CMD Micro, from its published MIDI map: all on channel 1; knobs
// and the jog wheel count around 64.
constexpr MidiDefaultRow kCmdMicro[] = {
    {"SLIDER1", CC, 16, 1, "VOL"},
    {"SLIDER2", CC, 18, 1, "RF Gain"},
    {"SLIDER3", CC, 64, 1, "PBT"},
    {"SLIDER4", CC, 34, 1, "Keyer Speed"},
    {"SLIDER5", CC, 32, 1, "ALC"},
    {"LARGE LEFT KNOB", CC, 17, 3, "VFOA"},
    {"LARGE RIGHT KNOB", CC, 33, 3, "VFOB"},
    {"MULTI BROWSE", CC, 50, 5, "RIT"},
    {"MAIN LEVEL", CC, 48, 2, kNoOp},
    {"CUE LEVEL", CC, 49, 2, kNoOp},
    {"LEFT PITCH BLEND MINUS", NOTE, 16, 4, "UP B+1"},
    {"LEFT PITCH BLEND PLUS", NOTE, 17, 4, "UP B+5"},
    {"LEFT PLAY", NOTE, 23, 4, "Split Key"},
    {"LEFT CUE", NOTE, 24, 4, "Mute"},
    {"CUE A", NOTE, 25, 4, kNoOp},
    {"LEFT SYNC", NOTE, 22, 4, "VOX"},
    {"LEFT 2", NOTE, 19, 4, kNoOp},
    {"LEFT 1", NOTE, 18, 4, "Band Bottom"},
    {"LOAD A", NOTE, 20, 4, "Tuning Selections"},
    {"CUE B", NOTE, 41, 4, "Tune"},
    {"LEFT", NOTE, 48, 4, "RIT"},
    {"RIGHT", NOTE, 49, 4, kNoOp},
    {"LOAD B", NOTE, 37, 4, "A/B Toggle"},
    {"RIGHT PITCH BLEND MINUS", NOTE, 32, 4, "Down Filter"},
    {"RIGHT PITCH BLEND PLUS", NOTE, 33, 4, "Up Filter"},
    {"RIGHT SYNC", NOTE, 38, 4, "Tuning Steps"},
    {"RIGHT 2", NOTE, 36, 4, "Up Filter"},
    {"RIGHT 1", NOTE, 34, 4, "Down Filter"},
    {"RIGHT PLAY", NOTE, 39, 4, "A = B"},
    {"RIGHT CUE", NOTE, 40, 4, "Dual Receive"},
};

// A button, a control of another type, and a control the map does not show.
constexpr MidiDefaultRow B(const char* key, int status, int control, const char* setting = kNoOp) {
    return {key, status, control, kMidiButton, setting};
}
constexpr MidiDefaultRow K(const char* key, int status, int control, int type, const char* setting = kNoOp) {
    return {key, status, control, type, setting};
}
constexpr MidiDefaultRow R(const char* key, int type = kMidiButton, const char* setting = kNoOp) {
    return {key, 0, 0, type, setting};
}

// Behringer CMD Studio 2a, from its published MIDI map: everything on
// channel 1; the right deck's numbers are the left deck's plus 0x30; jog
// wheels and pitch knobs count around 64.
constexpr MidiDefaultRow kStudio2[] = {
    K("MULTI LEFT PITCH BEND", CC, 0x05, 5, "RIT"),
    B("LEFT PITCH MINUS", NOTE, 0x06, "UP B+1"),
    B("LEFT PITCH PLUS", NOTE, 0x07, "UP B+5"),
    B("LEFT SYNC", NOTE, 0x04, "VOX"),
    B("LEFT ASSIGN A", NOTE, 0x08),
    B("LEFT ASSIGN B", NOTE, 0x09),
    B("LEFT CUE 1", NOTE, 0x0A, "Band Bottom"),
    B("LEFT CUE 2", NOTE, 0x0B),
    B("LEFT CUE 3", NOTE, 0x0C),
    B("LEFT CUE 4", NOTE, 0x0D),
    B("LEFT SAMPLE 1", NOTE, 0x0E),
    B("LEFT SAMPLE 2", NOTE, 0x0F),
    B("LEFT SAMPLE 3", NOTE, 0x11),
    B("LEFT SAMPLE 4", NOTE, 0x12),
    B("LEFT CUE", NOTE, 0x01, "Mute"),
    B("LEFT PLAY", NOTE, 0x02, "Split Key"),
    K("LARGE LEFT KNOB", CC, 0x03, 3, "VFOA"),
    K("LEFT SLIDER", CC, 0x18, 1, "VOL"),
    K("RIGHT SLIDER", CC, 0x48, 1, "KEYER SPEED"),
    K("SLIDER AB", CC, 0x20, 1, "PBT"),
    B("VINYL", NOTE, 0x22),
    B("MODE", NOTE, 0x23),
    B("UP", NOTE, 0x24),
    B("DOWN", NOTE, 0x27),
    B("FOLDER", NOTE, 0x25),
    B("FILE", NOTE, 0x26),
    B("CUE A", NOTE, 0x16),
    B("LOAD A", NOTE, 0x17, "Tuning Selections"),
    B("LOAD B", NOTE, 0x47, "A/B Toggle"),
    B("CUE B", NOTE, 0x46, "Tune"),
    K("HEADPHONES", CC, 0x21, 2),
    K("LEFT HIGH", CC, 0x13, 2, "ALC"),
    K("LEFT MID", CC, 0x14, 2),
    K("LEFT LOW", CC, 0x15, 2),
    K("RIGHT HIGH", CC, 0x43, 2),
    K("RIGHT MID", CC, 0x44, 2),
    K("RIGHT LOW", CC, 0x45, 2),
    K("RIGHT PITCH BEND", CC, 0x35, 3, "ALC"),
    B("RIGHT PITCH MINUS", NOTE, 0x36, "Down Filter"),
    B("RIGHT PITCH PLUS", NOTE, 0x37, "Up Filter"),
    B("RIGHT SYNC", NOTE, 0x34, "Tuning Steps"),
    B("RIGHT ASSIGN A", NOTE, 0x38),
    B("RIGHT ASSIGN B", NOTE, 0x39),
    B("RIGHT CUE 1", NOTE, 0x3A),
    B("RIGHT CUE 2", NOTE, 0x3B),
    B("RIGHT CUE 3", NOTE, 0x3C),
    B("RIGHT CUE 4", NOTE, 0x3D),
    B("RIGHT SAMPLE 1", NOTE, 0x3E),
    B("RIGHT SAMPLE 2", NOTE, 0x3F),
    B("RIGHT SAMPLE 3", NOTE, 0x41),
    B("RIGHT SAMPLE 4", NOTE, 0x42),
    B("RIGHT CUE", NOTE, 0x31, "Dual Receive"),
    B("RIGHT PLAY", NOTE, 0x32, "A = B"),
    K("LARGE RIGHT KNOB", CC, 0x33, 3, "VFOB"),
};

// Hercules DJ Control MP3 e2 / MP3 LE, from its published MIDI map: all on
// channel 1; jog wheels and pitch knobs send 1..63 forward and 65..127 back.
constexpr MidiDefaultRow kMp3[] = {
    K("MULTI LEFT PITCH", CC, 0x32, 5, "RIT"),
    B("LEFT PITCH MINUS", NOTE, 0x0A, "UP B+1"),
    B("LEFT PITCH PLUS", NOTE, 0x0B, "UP B+5"),
    B("LEFT SYNC", NOTE, 0x12, "VOX"),
    B("LEFT MASTER TEMPO", NOTE, 0x13),
    B("LEFT CUE", NOTE, 0x0E, "Mute"),
    B("LEFT PLAY", NOTE, 0x0F, "Split Key"),
    K("LARGE LEFT KNOB", CC, 0x30, 3, "VFOA"),
    B("LEFT 1", NOTE, 0x01, "Band Bottom"),
    B("LEFT 2", NOTE, 0x02),
    B("LEFT 3", NOTE, 0x03),
    B("LEFT 4", NOTE, 0x04),
    B("LEFT 5", NOTE, 0x05),
    B("LEFT 6", NOTE, 0x06),
    B("LEFT 7", NOTE, 0x07),
    B("LEFT 8", NOTE, 0x08),
    B("LEFT FBACK", NOTE, 0x0C),
    B("LEFT FF", NOTE, 0x0D),
    K("LEFT SLIDER", CC, 0x34, 1, "VOL"),
    K("RIGHT SLIDER", CC, 0x39, 1, "KEYER SPEED"),
    K("CENTER SLIDER", CC, 0x38, 1, "PBT"),
    K("LEFT TREBLE", CC, 0x35, 1),
    K("LEFT MEDIUM", CC, 0x36, 1, "ALC"),
    K("LEFT BASE", CC, 0x37, 1),
    B("LISTEN A", NOTE, 0x10),
    B("SCRATCH", NOTE, 0x2D),
    B("AUTOMIX", NOTE, 0x2E),
    B("UP", NOTE, 0x29),
    B("DOWN", NOTE, 0x2A),
    B("FOLDER", NOTE, 0x2C),
    B("FILES", NOTE, 0x2B),
    B("LOAD A", NOTE, 0x11, "Tuning Selections"),
    B("LOAD B", NOTE, 0x25, "A/B Toggle"),
    B("LISTEN B", NOTE, 0x24, "Tune"),
    K("RIGHT TREBLE", CC, 0x3A, 1),
    K("RIGHT MEDIUM", CC, 0x3B, 1),
    K("RIGHT BASE", CC, 0x3C, 1),
    K("RIGHT PITCH", CC, 0x33, 3, "ALC"),
    B("RIGHT PITCH MINUS", NOTE, 0x1E, "Down Filter"),
    B("RIGHT PITCH PLUS", NOTE, 0x1F, "Up Filter"),
    B("RIGHT SYNC", NOTE, 0x26, "Tuning Steps"),
    B("RIGHT MASTER TEMPO", NOTE, 0x27),
    B("RIGHT CUE", NOTE, 0x22, "Dual Receive"),
    B("RIGHT PLAY", NOTE, 0x23, "A = B"),
    K("LARGE RIGHT KNOB", CC, 0x31, 3, "VFOB"),
    B("RIGHT 1", NOTE, 0x15),
    B("RIGHT 2", NOTE, 0x16),
    B("RIGHT 3", NOTE, 0x17),
    B("RIGHT 4", NOTE, 0x18),
    B("RIGHT 5", NOTE, 0x19),
    B("RIGHT 6", NOTE, 0x1A),
    B("RIGHT 7", NOTE, 0x1B),
    B("RIGHT 8", NOTE, 0x1C),
    B("RIGHT FBACK", NOTE, 0x20),
    B("RIGHT FF", NOTE, 0x21),
};

// Numark DJ2GO2, from its published MIDI map: the left deck on channel 1,
// the right deck on channel 2, the left pads on channel 5 and the browser
// and master section on channel 16. Its jog wheels send 1 forward and 127
// back. The pad modes are cues (01-04), auto loop (11-14), manual loop
// (21-23) and sampler (31-34); it has no record button.
constexpr int DECK2_NOTE = 0x91;
constexpr int DECK2_CC = 0xB1;
constexpr int PADS = 0x94;
constexpr int MASTER_CC = 0xBF;
constexpr MidiDefaultRow kDj2go2[] = {
    B("LEFT SYNC", NOTE, 0x02, "VOX"),
    B("LEFT CUE", NOTE, 0x01, "Mute"),
    B("LEFT PLAY", NOTE, 0x00, "Split Key"),
    K("LARGE LEFT KNOB", CC, 0x06, 3, "VFOA"),
    B("LEFT LOOP 1", PADS, 0x11, "UP B+1"),
    B("LEFT LOOP 2", PADS, 0x12, "UP B+5"),
    B("LEFT LOOP 3", PADS, 0x13, "Down Filter"),
    B("LEFT LOOP 4", PADS, 0x14, "Up Filter"),
    B("LEFT FX 1", PADS, 0x21),
    B("LEFT FX 2", PADS, 0x22),
    B("LEFT FX 3", PADS, 0x23),
    R("LEFT FX 4"),
    B("LEFT SAMPLE 1", PADS, 0x31),
    B("LEFT SAMPLE 2", PADS, 0x32),
    B("LEFT SAMPLE 3", PADS, 0x33),
    B("LEFT SAMPLE 4", PADS, 0x34),
    B("LEFT CUE 1", PADS, 0x01, "Band Bottom"),
    B("LEFT CUE 2", PADS, 0x02, "Tuning Selections"),
    B("LEFT CUE 3", PADS, 0x03, "A/B Toggle"),
    B("LEFT CUE 4", PADS, 0x04, "A = B"),
    R("RECORD"),
    K("LEFT VOLUME", CC, 0x16, 2, "VOL"),           // the left deck's level knob
    K("LEFT MEDIUM", DECK2_CC, 0x16, 2, "TX POWER"),  // the right deck's level knob
    K("LEFT BASS", MASTER_CC, 0x0A, 2, "RF GAIN"),    // the master knob
    K("CENTER SLIDER", MASTER_CC, 0x08, 1, "PBT"),    // the crossfader
    B("RIGHT SYNC", DECK2_NOTE, 0x02, "Tuning Steps"),
};

// Hercules DJControl Compact, from its published MIDI map: all on channel 1;
// the pads send another note in each mode (the cue mode's notes are used);
// jog wheels count like the MP3 e2's. It has no browse encoder, deck faders,
// master or cue level and load buttons. The DJ2GO2's rows follow, keys and
// defaults only: a Compact has none of those controls, and with the channel
// dropped their numbers would shadow the Compact's pads.
constexpr MidiDefaultRow kCompactOwn[] = {
    K("LARGE LEFT KNOB", CC, 0x30, 3, "VFOA"),
    K("LARGE RIGHT KNOB", CC, 0x31, 3, "VFOB"),
    R("MULTI BROWSE", kMidiJogWheel, "RIT"),
    R("MASTER LEVEL", kMidiLevelKnob, "TX POWER"),
    R("LEFT SLIDER", kMidiSlider, "VOL"),
    R("RIGHT SLIDER", kMidiSlider, "KEYER SPEED"),
    K("CENTER SLIDER", CC, 0x36, 2, "PBT"),  // the crossfader
    K("LEFT LEVEL", CC, 0x39, 2, "RF GAIN"),
    K("RIGHT LEVEL", CC, 0x3D, 2, "VOL"),
    R("CUE LEVEL", kMidiLevelKnob),
    B("LEFT SYNC", NOTE, 0x23, "VOX"),
    B("LEFT CUE", NOTE, 0x22, "Mute"),
    B("LEFT PAUSE", NOTE, 0x21, "Split Key"),
    B("RIGHT SYNC", NOTE, 0x53, "Tuning Steps"),
    B("RIGHT CUE", NOTE, 0x52, "Dual Receive"),
    B("RIGHT PAUSE", NOTE, 0x51, "A = B"),
    B("LEFT 1", NOTE, 0x01, "Band Bottom"),
    B("LEFT 2", NOTE, 0x02, "Tuning Selections"),
    B("LEFT 3", NOTE, 0x03, "UP B+1"),
    B("LEFT 4", NOTE, 0x04, "UP B+5"),
    B("RIGHT 1", NOTE, 0x31, "Down Filter"),
    B("RIGHT 2", NOTE, 0x32, "Up Filter"),
    B("RIGHT 3", NOTE, 0x33, "A/B Toggle"),
    B("RIGHT 4", NOTE, 0x34),
    R("LOAD 1"),
    R("LOAD 2"),
};

constexpr auto kCompact = [] {
    std::array<MidiDefaultRow, std::size(kCompactOwn) + std::size(kDj2go2)> rows{};
    std::size_t n = 0;
    for (const MidiDefaultRow& r : kCompactOwn) rows[n++] = r;
    for (const MidiDefaultRow& r : kDj2go2) rows[n++] = R(r.key, r.type, r.setting);
    return rows;
}();

static_assert(std::size(kCmdMicro) == 30 && std::size(kStudio2) == 54 && std::size(kMp3) == 55 &&
              std::size(kDj2go2) == 26 && std::size(kCompact) == 52 && std::size(kCompact) <= kMidiMaxRows);

constexpr MidiModel kModels[kMidiModels] = {
    {"cmdmicro.ini", 30, kCmdMicro}, {"studio2a.ini", 54, kStudio2}, {"hercules.ini", 55, kMp3},
    {"dj2go2.ini", 26, kDj2go2},     {"hcompact.ini", 50, kCompact},
};

struct NameRule {
    const char* text;
    int model;
};
constexpr NameRule kNames[] = {{"CMD Micro", 1},       {"Studio 2", 2},       {"DJ Control MP3 e2 MIDI", 3},
                               {"Control MP3 LE", 3}, {"DJ2GO2", 4},         {"DJControl Compact", 5}};
}  // namespace

const MidiModel& MidiModelInfo(int model) {
    if (model < 1 || model > kMidiModels) model = 2;
    return kModels[model - 1];
}

int MidiModelForName(const char* name) {
    if (!name) return 0;
    int found = 0;
    for (const NameRule& r : kNames)
        if (std::strstr(name, r.text)) found = r.model;
    return found;
}
