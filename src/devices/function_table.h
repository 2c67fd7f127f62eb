// The control-surface vocabulary: the named functions every keypad, knob,
// control surface and MIDI controller is assigned from, the key-event record
// they all send, and the knob function the tuning knobs adjust. The settings
// window builds its assignment lists from these tables.
#pragma once
// g_knobfunction (initial kKnobVfoA) lives with the panel.
#include "panel/knob_functions.h"
#include "panel/knob_state.h"
#include <cstdint>
#include <span>

// One row of a function table: a name and the action code ExecuteFunction runs.
struct FunctionEntry {
    const char* name;
    std::int32_t action;
};

// Action codes with a meaning of their own in the dispatcher.
enum FunctionAction : int {
    kActNoOp = 0,
    kActStepUp = 233,
    kActTuningSelections = 234,
    kActHoldRelease = 236,
    kActAbToggle = 237,
    kActKnobAbToggle = 239,
    kActVfoA = 240,
    kActPbt = 241,
    kActPower = 242,
    kActRit = 243,
    kActVolume = 244,
    kActVfoB = 245,
    kActPtt = 248,
    kActBreakIn = 249,
    kActRfGain = 250,
    kActVox = 251,
    kActCwMem1 = 1546,  // .. 1550
    kActEscape = 1551,
    kActXfc = 5000,
    kActSplit = 5001,
    kActBandBottom = 5002,
    kActDualReceive = 5003,
    kActTypeKey = 5004,
    kActNumericOffset = 5005,
    kActAEqualsB = 5006,
    kActUpNumeric = 5007,
    kActDownNumeric = 5008,
    kActStepDown = 5010,
    kActKeyerSpeed = 5011,
    kActUpFilter = 5012,
    kActDownFilter = 5013,
    kActAccTransmit = 5014,
    kActFilterTune = 5016,
    kActMute = 5018,
    kActStoreSp1 = 5053,
    kActRecallSp1StoreSp2 = 5054,
    kActRecallSp2 = 5055,
    kActUpB1 = 5085,
    kActUpB2 = 5086,
    kActUpB5 = 5087,
    kActTune = 5088,
    kActAntenna = 5089,
    kActRxAntenna = 5090,
    kActTpf = 5173,
    kActTunerOn = 5180,
    kActTunerOff = 5181,
    kActPreamp = 6181,
};

inline constexpr FunctionEntry g_functions[46] = {
    {"Tuning Selections", 234}, {"Tuning Steps", 233}, {"Reverse Steps", 5010}, {"A/B Toggle", 237},
    {"Knob A/B Toggle", 239},   {"A = B", 5006},       {"VFOA", 240},          {"PBT", 241},
    {"TX POWER", 242},          {"ALC", 242},          {"RIT", 243},           {"VOL", 244},
    {"VFOB", 245},              {"PTT", 248},          {"VOX", 251},           {"ANT", 5089},
    {"RXANT", 5090},            {"UP B+1", 5085},      {"UP B+5", 5087},       {"RF Gain", 250},
    {"Split Key", 5001},        {"No Op", 0},          {"PreAmp", 6181},       {"TPF", 5173},
    {"Band Bottom", 5002},      {"Up Numeric", 5007},  {"Down Numeric", 5008}, {"Keyer Speed", 5011},
    {"Up Filter", 5012},        {"Down Filter", 5013}, {"Filter Tune", 5016},  {"Tuner On", 5180},
    {"Tuner Off", 5181},        {"XFC", 5000},         {"Tune", 5088},         {"Mute", 5018},
    {"CW Mem1", 1546},          {"CW Mem2", 1547},     {"CW Mem3", 1548},      {"CW Mem4", 1549},
    {"CW Mem5", 1550},          {"ESC", 1551},         {"Dual Receive", 5003}, {"Sto Sp1", 5053},
    {"Rcl Sp1 and Sto Sp2", 5054}, {"Rcl Sp2", 5055},
};
inline constexpr FunctionEntry g_knobfunctions[10] = {
    {"VFOA", 240}, {"PBT", 241},     {"TX POWER", 242},    {"ALC", 242},          {"RIT", 243},
    {"VOL", 244},  {"VFOB", 245},    {"RF Gain", 250},     {"Keyer Speed", 5011}, {"Filter Tune", 5016},
};
constexpr int g_knobfunctioncount = 10;
// The function rows the assignment lists offer: 43, or all 46 (with the
// scratch-pad functions) while the keypad pod is configured.
constexpr int kFunctionsOffered = 43;
constexpr int kFunctionsAll = 46;
extern int g_functioncount;

// The offered part of g_functions.
std::span<const FunctionEntry> OfferedFunctions();
// The action of the row named `name`, both sides upper-cased (a-z only) and
// compared exactly; -1 when no row matches.
int FindFunctionExact(std::span<const FunctionEntry> table, const char* name);

// Key events: 'U', a key code (bit 7 set on release), CR.
constexpr std::uint8_t kKeyEventStart = 'U';
constexpr std::uint8_t kKeyEventEnd = '\r';
constexpr std::uint8_t kKeyRelease = 0x80;
struct KeyEvent {
    std::uint8_t start = kKeyEventStart;
    std::uint8_t code = 0;
    std::uint8_t end = kKeyEventEnd;
};
