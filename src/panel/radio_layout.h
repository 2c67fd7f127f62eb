// The radio window's layout as data: one row per control with its id, kind,
// caption, design rectangle, the rule that decides whether a radio model has
// it, its band row or mode, and its tooltip. The window creates, fills and
// looks up its controls through this one table.
#pragma once
#include <string>
#include <vector>

#include "platform/types.h"

namespace radio_layout {

enum class Kind : unsigned char {
    Button,         // CBiStateButton
    FilterButton,   // CFilterButton
    HoldButton,     // CPHButton (XFC: the VFOs swapped while held)
    Label,          // static text
    Frame,          // group box
    DigitA,         // VFO A digit box
    DigitB,         // VFO B digit box
    Scale,          // frequency scale
    Drag,           // CDragit
    Slider,         // CSlider
    Meter,          // CMeter
    FilterGraphic,  // CFilterControl
};

// When a control exists and shows. Rules that pick one of several places or
// captions for one id make the others absent.
enum class Show : unsigned char {
    Always,
    Hidden,         // created hidden; shown by its own action
    Model20,        // "DV"
    Not17,          // "FM", "Mon"
    Agc4,           // models 5 and 16: four AGC buttons
    Agc3,           // other models: three AGC buttons, hidden without meter reads
    Agc3Man,        // 2489 on the other models: created hidden
    Sweep,          // models that read meters (and sweep)
    Levels,         // models that take the level commands
    Notch,          // manual notch
    DigiSel,        // the DIGI-SEL family
    DigiSelNot18,   // DIGI-SEL sliders model 18 hides again
    NotDigiSel,
    LevelsNotDigiSel,  // the NB label over the NB slider
    Model23,        // "IP+"
    Model5,         // the sub receiver's status lines
    MeterSel,       // "S Meter"
    DualRx,         // main and sub receivers
    NbDspRow,       // 2364 on the DIGI-SEL family
    NbLeftMost,     // 2364 on other models with the level commands
    NbLeft,         // 2364 on the rest (hidden without meter reads)
    RxAnt,          // "Rx Ant": not where "DV" or the last NBlk place takes its spot
    NotPerseus,     // the PSK button
    Perseus,        // "SAM" in its place
    TouchOff,       // tuning tools as single buttons
    TouchOn,        // tuning tools as half buttons
    Tuner123,       // internal tuner types 1 to 3
    TunerLdg,       // the LDG tuner
};

struct Item {
    int id;
    Kind kind;
    const char* caption;
    short left, top, right, bottom;  // design units
    Show show;
    bool sliderRow;      // created by CreateSliderRow, not OnCreate
    signed char bandRow; // band-stack row of a band button, else -1
    const char* tip;     // tooltip, or null
};

// Every control of the window, in creation order.
const std::vector<Item>& Items();

// What the rules read besides the radio type.
struct Context {
    int radiotype = 0;
    bool perseus = false;
    bool model7610 = false;
    bool touchScreen = false;
    int tuner = 0;  // internal tuner type: 0 none, 1..3 the radio's, 4 LDG
    std::string rttyName = "FT8 ";   // "RTTY LABEL"
    std::string pskName = "FT8";     // "RTTY LABEL2"
    std::string userCaptions[4];     // "user 1".."user 4"; empty: the built-in caption
    std::string broadcastCaptions[11];  // "caption 0".."caption 10"; empty: the built-in caption
};
// The context of the running program (settings as loaded).
Context CurrentContext();

enum class Presence { Absent, Hidden, Visible };
Presence PresenceOf(const Item& item, const Context& c);
// The caption a model gives the control.
std::string CaptionOf(const Item& item, const Context& c);
// The control's tooltip: its own, or for a band button its band-stack row
// ("20 Meters SSB"); empty for none.
std::string TipOf(const Item& item, const Context& c);

// Design rectangle to pixels: x shifted by the layout offset 45, each edge
// multiplied in float and truncated.
constexpr int kOffsetX = 45;
plat::Rect ScaleRect(int left, int top, int right, int bottom, float sx, float sy);
// The window's client size in pixels for the scale.
plat::Rect WindowRect(float sx, float sy);

// The frequency display's black area (design units).
constexpr int kDisplayLeft = 48, kDisplayTop = 5, kDisplayRight = 552, kDisplayBottom = 77;

// One control as the window places it.
struct Placed {
    const Item* item;
    std::string caption;
    plat::Rect px;
    bool visible;
};
std::vector<Placed> Layout(const Context& c, float sx, float sy);

// The mode button that shows `mode` (ModeChar), or 0.
int ModeButtonFor(char mode, bool perseus);
// The caption of a mode on the panel's mode labels.
std::string ModeCaption(char mode, const Context& c);

}  // namespace radio_layout
