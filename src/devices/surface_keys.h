// Key assignments of the control surfaces: the FlexControl knob ("FLX"),
// the Tmate 2 ("TM2") and the keypad pod ("302"). Each key holds the name
// of an action of the function table.
#pragma once

struct SurfaceKey {
    const char* key;
    const char* def;
};

inline constexpr SurfaceKey kFlexKeys[11] = {
    {"FLX AUX1 SINGLE", "Split Key"}, {"FLX AUX2 SINGLE", "RIT"},        {"FLX AUX3 SINGLE", "UP B+1"},
    {"FLX AUX1 DOUBLE", "A = B"},     {"FLX AUX2 DOUBLE", "A/B Toggle"}, {"FLX AUX3 DOUBLE", "UP B+2"},
    {"FLX AUX1 LONG", "RF Gain"},     {"FLX AUX2 LONG", "Filter Tune"}, {"FLX AUX3 LONG", "UP B+5"},
    {"FLX KNOB SINGLE", "VFOA"},      {"FLX KNOB DOUBLE", "VFOB"},
};
inline constexpr SurfaceKey kTmate2Keys[11] = {
    {"TM2 MAIN", "VFOA"},   {"TM2 CENTER", "VFOB"},      {"TM2 LEFT", "ALC"},          {"TM2 F1", "A = B"},
    {"TM2 F2", "A/B Toggle"}, {"TM2 F3", "PBT"},         {"TM2 F4", "Split Key"},      {"TM2 F5", "UP B+5"},
    {"TM2 F6", "UP B+1"},   {"TM2 MAIN BUTTON", "No Op"}, {"TM2 CENTER BUTTON", "RF Gain"},
};
inline constexpr SurfaceKey kPodKeys[14] = {
    {"302 FUNCTION KEY 1", "A/B Toggle"}, {"302 FUNCTION KEY 2", "A = B"}, {"302 FUNCTION KEY 3", "Filter Tune"},
    {"302 NUMERIC KEY 1", "Up Numeric"},  {"302 NUMERIC KEY 2", "Down Numeric"},
    {"302 NUMERIC KEY 3", "Split Key"},   {"302 NUMERIC KEY 4", "ALC"},   {"302 NUMERIC KEY 5", "RIT"},
    {"302 NUMERIC KEY 6", "PBT"},         {"302 NUMERIC KEY 7", "VFOA"},  {"302 NUMERIC KEY 8", "VFOB"},
    {"302 NUMERIC KEY 9", "VOL"},         {"302 PERIOD KEY", "Band Bottom"}, {"302 NUMERIC KEY 0", "Preamp"},
};

// The assignment texts as loaded; the settings window edits the set of the
// active surface, and the save writes that set only.
extern char g_flexkeys[11][128];
extern char g_tmate2keys[11][128];
extern char g_podkeys[14][128];

// Turn the loaded texts into action codes for each surface.
void LoadPodKeys();
void LoadTMate2Keys();
void LoadFlexKeys();
