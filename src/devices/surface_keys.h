// Key assignments of the control surfaces: the FlexControl knob ("FLX"),
// the Tmate 2 ("TM2") and the keypad pod ("302"). Each key holds the name
// of an action of the function table.
#pragma once
#include <cstdint>
#include <vector>

#include "devices/function_table.h"

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

// ---- Assignment slots -------------------------------------------------------
// Fourteen slots, one per key code; each holds the list its settings row
// offers (entries carry their action code) and the selected entry. One
// surface's assignment is loaded at a time.
constexpr int kAssignmentSlots = 14;
inline constexpr std::uint8_t kSlotKeyCodes[kAssignmentSlots] = {17,  18,  19,  '1', '2', '3', '4',
                                                                 '5', '6', '7', '8', '9', '.', '0'};

enum class Surface { RemotePod, KeypadPod, FlexControl, TMate2 };

// Row captions of the settings pages, by slot.
struct SlotCaption {
    const char* tmate2;
    const char* flex;
    const char* pod;
    const char* remotePod;
};
inline constexpr SlotCaption kSlotCaptions[kAssignmentSlots] = {
    {"Main Knob", "Aux1 Single", "Function Key 1", "Function Key 11"},
    {"Center Knob", "Aux2 Single", "Function Key 2", "Function Key 2"},
    {"Left Multi Knob", "Aux3 Single", "Function Key 3", "Function Key 3"},
    {"Left Button", "Knob Long", "Numeric Key 1", "Function Key 1"},
    {"", "", "Numeric Key 2", "Function Key 2"},
    {"", "", "Numeric Key 3", "Function Key 3"},
    {"F1", "Aux1 Double", "Numeric Key 4", "Function Key 4"},
    {"F2", "Aux2 Double", "Numeric Key 5", "Function Key 5"},
    {"F3", "Aux3 Double", "Numeric Key 6", "Function Key 6"},
    {"F4", "Aux1 Long", "Numeric Key 7", "Function Key 7"},
    {"F5", "Aux2 Long", "Numeric Key 8", "Function Key 8"},
    {"F6", "Aux3 Long", "Numeric Key 9", "Function Key 9"},
    {"Main Button", "Knob Single", "Period Key", "Period Key"},
    {"Center Button", "Knob Double", "Numeric Key 0", "Function Key 10"},
};
const char* SlotCaptionFor(Surface s, int slot);

struct AssignmentSlot {
    std::vector<FunctionEntry> entries;
    int selection = 0;
};
extern AssignmentSlot g_slots[kAssignmentSlots];
extern Surface g_slotsurface;

// The slot of a key code (bit 7 ignored), or -1.
int SlotForKey(std::uint8_t code);
// The action code of the slot's selected entry (0 when the list is empty).
int SlotAction(int slot);
// Selects the entry named `text`, else the first that begins with it,
// letter case ignored ("Preamp" finds "PreAmp"); none selects the first
// entry. Returns the index.
int SelectSlotText(int slot, const char* text);
// Fills the fourteen lists for a surface (selections back to 0).
void FillSlots(Surface s);
// The keypad pod is configured: "PEGASUS COMPORT" names a COM port.
bool PodConfigured();

// Surface start-ups: the slots set up for that surface and its texts
// selected, whatever the other surfaces' options say.
void SetupPodSlots();
void SetupTMate2Slots();
void SetupFlexSlots();
// The settings reader's choice: FlexControl when in use, else the TMate2
// when in use, else the pod. Each fills the slots only when its surface is
// the chosen one.
void LoadPodKeys();
void LoadTMate2Keys();
void LoadFlexKeys();
