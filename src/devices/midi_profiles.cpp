// The built-in MIDI controller profiles. Only the CMD Micro's controller map
// is known; the other models keep their rows and names with status 0, which
// no message carries, until their maps are filled in.
#include <cstring>

#include "devices/midi_controllers.h"

namespace {
constexpr int CC = 0xB0;
constexpr int NOTE = 0x90;
constexpr const char* kNoOp = "No Op";

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

// Rows without a known controller map: status 0 never matches.
constexpr MidiDefaultRow R(const char* key, int type = 4, const char* setting = kNoOp) {
    return {key, 0, 0, type, setting};
}

constexpr MidiDefaultRow kStudio2[] = {
    R("MULTI LEFT PITCH BEND", 5, "RIT"), R("LEFT PITCH MINUS"), R("LEFT PITCH PLUS"), R("LEFT SYNC"),
    R("LEFT ASSIGN A"), R("LEFT ASSIGN B"), R("LEFT CUE 1"), R("LEFT CUE 2"), R("LEFT CUE 3"), R("LEFT CUE 4"),
    R("LEFT SAMPLE 1"), R("LEFT SAMPLE 2"), R("LEFT SAMPLE 3"), R("LEFT SAMPLE 4"), R("LEFT CUE"),
    R("LEFT PLAY"), R("LARGE LEFT KNOB", 3, "VFOA"), R("LEFT SLIDER", 1, "VOL"),
    R("RIGHT SLIDER", 1, "KEYER SPEED"), R("SLIDER AB", 1, "PBT"), R("VINYL"), R("MODE"), R("UP"), R("DOWN"),
    R("FOLDER"), R("FILE"), R("CUE A"), R("LOAD A"), R("LOAD B"), R("CUE B"), R("HEADPHONES", 2),
    R("LEFT HIGH", 2, "ALC"), R("LEFT MID", 2), R("LEFT LOW", 2), R("RIGHT HIGH", 2), R("RIGHT MID", 2),
    R("RIGHT LOW", 2), R("RIGHT PITCH BEND", 3, "ALC"), R("RIGHT PITCH MINUS"), R("RIGHT PITCH PLUS"),
    R("RIGHT SYNC"), R("RIGHT ASSIGN A"), R("RIGHT ASSIGN B"), R("RIGHT CUE 1"), R("RIGHT CUE 2"),
    R("RIGHT CUE 3"), R("RIGHT CUE 4"), R("RIGHT SAMPLE 1"), R("RIGHT SAMPLE 2"), R("RIGHT SAMPLE 3"),
    R("RIGHT SAMPLE 4"), R("RIGHT CUE"), R("RIGHT PLAY"), R("LARGE RIGHT KNOB", 3, "VFOB"),
};

constexpr MidiDefaultRow kMp3[] = {
    R("MULTI LEFT PITCH", 5, "RIT"), R("LEFT PITCH MINUS"), R("LEFT PITCH PLUS"), R("LEFT SYNC"),
    R("LEFT MASTER TEMPO"), R("LEFT CUE"), R("LEFT PLAY"), R("LARGE LEFT KNOB", 3, "VFOA"), R("LEFT 1"),
    R("LEFT 2"), R("LEFT 3"), R("LEFT 4"), R("LEFT 5"), R("LEFT 6"), R("LEFT 7"), R("LEFT 8"), R("LEFT FBACK"),
    R("LEFT FF"), R("LEFT SLIDER", 1, "VOL"), R("RIGHT SLIDER", 1, "KEYER SPEED"), R("CENTER SLIDER", 1, "PBT"),
    R("LEFT TREBLE", 1), R("LEFT MEDIUM", 1, "ALC"), R("LEFT BASE", 1), R("LISTEN A"), R("SCRATCH"),
    R("AUTOMIX"), R("UP"), R("DOWN"), R("FOLDER"), R("FILES"), R("LOAD A"), R("LOAD B"), R("LISTEN B"),
    R("RIGHT TREBLE", 1), R("RIGHT MEDIUM", 1), R("RIGHT BASE", 1), R("RIGHT PITCH", 3, "ALC"),
    R("RIGHT PITCH MINUS"), R("RIGHT PITCH PLUS"), R("RIGHT SYNC"), R("RIGHT MASTER TEMPO"), R("RIGHT CUE"),
    R("RIGHT PLAY"), R("LARGE RIGHT KNOB", 3, "VFOB"), R("RIGHT 1"), R("RIGHT 2"), R("RIGHT 3"), R("RIGHT 4"),
    R("RIGHT 5"), R("RIGHT 6"), R("RIGHT 7"), R("RIGHT 8"), R("RIGHT FBACK"), R("RIGHT FF"),
};

#define QARV_DJ2GO2_ROWS                                                                                      \
    R("LEFT SYNC"), R("LEFT CUE"), R("LEFT PLAY"), R("LARGE LEFT KNOB", 3, "VFOA"), R("LEFT LOOP 1"),          \
        R("LEFT LOOP 2"), R("LEFT LOOP 3"), R("LEFT LOOP 4"), R("LEFT FX 1"), R("LEFT FX 2"), R("LEFT FX 3"),  \
        R("LEFT FX 4"), R("LEFT SAMPLE 1"), R("LEFT SAMPLE 2"), R("LEFT SAMPLE 3"), R("LEFT SAMPLE 4"),        \
        R("LEFT CUE 1"), R("LEFT CUE 2"), R("LEFT CUE 3"), R("LEFT CUE 4"), R("RECORD"),                       \
        R("LEFT VOLUME", 2, "VOL"), R("LEFT MEDIUM", 2, "TX POWER"), R("LEFT BASS", 2, "RF GAIN"),            \
        R("CENTER SLIDER", 1, "PBT"), R("RIGHT SYNC")

constexpr MidiDefaultRow kDj2go2[] = {QARV_DJ2GO2_ROWS};

constexpr MidiDefaultRow kCompact[] = {
    R("LARGE LEFT KNOB", 3, "VFOA"), R("LARGE RIGHT KNOB", 3, "VFOB"), R("MULTI BROWSE", 5, "RIT"),
    R("MASTER LEVEL", 2, "TX POWER"), R("LEFT SLIDER", 1, "VOL"), R("RIGHT SLIDER", 1, "KEYER SPEED"),
    R("CENTER SLIDER", 2, "PBT"), R("LEFT LEVEL", 2, "RF GAIN"), R("RIGHT LEVEL", 2), R("CUE LEVEL", 2),
    R("LEFT SYNC"), R("LEFT CUE"), R("LEFT PAUSE"), R("RIGHT SYNC"), R("RIGHT CUE"), R("RIGHT PAUSE"),
    R("LEFT 1"), R("LEFT 2"), R("LEFT 3"), R("LEFT 4"), R("RIGHT 1"), R("RIGHT 2"), R("RIGHT 3"), R("RIGHT 4"),
    R("LOAD 1"), R("LOAD 2"), QARV_DJ2GO2_ROWS,
};
#undef QARV_DJ2GO2_ROWS

static_assert(std::size(kCmdMicro) == 30 && std::size(kStudio2) == 54 && std::size(kMp3) == 55 &&
              std::size(kDj2go2) == 26 && std::size(kCompact) <= kMidiMaxRows);

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
