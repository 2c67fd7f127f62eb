// MIDI DJ controllers as control surfaces: the controller is found among
// the MIDI inputs by name, a profile of its model (built-in defaults, then
// the model's own ini file) maps each control to a function, and every
// message runs through that profile on the UI thread.
#pragma once
#include <cstdint>
#include <span>

constexpr unsigned WM_MIDI_DATA = 0x1438;
constexpr unsigned WM_MIDI_LONGDATA = 0x1439;
constexpr unsigned ID_MIDI_REOPEN = 5174;

// Row types.
enum MidiRowType : int {
    kMidiSlider = 1,     // absolute 0..127 on a level function
    kMidiLevelKnob = 2,  // the same
    kMidiFunctionKnob = 3,  // relative: one step of its own function
    kMidiButton = 4,
    kMidiJogWheel = 5,   // relative: steps the current knob function
};

// A built-in profile row: the ini key, the status and data-1 bytes it
// answers, its type and its default function name.
struct MidiDefaultRow {
    const char* key;
    int status;
    int control;
    int type;
    const char* setting;
};

// A row of the live profile.
struct MidiRow {
    int control = 0;
    int status = 0;
    int used = 0;  // models 3 and 5: the control has sent once
    int type = 0;
    char key[30] = {};
    char setting[22] = {};  // at most 21 characters; longer names are cut
};

constexpr int kMidiModels = 5;
constexpr int kMidiMaxRows = 59;
struct MidiModel {
    const char* file;  // the profile file in the working directory
    int rows;          // rows the model uses
    std::span<const MidiDefaultRow> defaults;
};
// Models 1..5 (index 0 is model 1).
const MidiModel& MidiModelInfo(int model);
// The model a device name belongs to, 0 for none.
int MidiModelForName(const char* name);

extern int g_midimodel;
extern int g_midiopen;
extern MidiRow g_midiprofile[kMidiMaxRows];
extern int g_midirows;

void OpenMidi();
void OnMidiReopen();
void LoadMidiProfile();
void SaveMidiProfile();
// WM_MIDI_DATA: one short message (status | data1 << 8 | data2 << 16).
void MidiData(std::uint32_t message, std::uint32_t time);
void MidiDataLong(std::uint32_t p1, std::uint32_t p2);
// The relative count of a knob message by model.
int MidiRelativeCount(int model, int value);
