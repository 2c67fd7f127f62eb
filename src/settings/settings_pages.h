// The pages of the settings window as data: one row per control, in the
// order the window creates it and in which the apply walks it. The fill and
// the apply read the same row (its setting, its encoding, its limits), so the
// two are exact inverses and cannot drift apart.
#pragma once
#include <cstdint>
#include <span>
#include <string>

#include "base/baud_list.h"
#include "platform/paint.h"

namespace settings {

// Slider: the owner-drawn level slider; BiState: the owner-drawn two-state button.
enum class Ctl : std::uint8_t { Label, Check, Radio, Edit, Combo, Button, Slider, BiState };

// How a setting is shown in its control and read back.
enum class Enc : std::uint8_t {
    None,      // no setting: the control is read by its own step
    Bool,      // check box: non-zero checked
    Int,       // edit "%d"; any integer
    Range,     // edit "%d"; lo..hi, else `def` (shown in the edit)
    Keep,      // edit "%d"; lo..hi, else the previous value stays (shown again)
    Double,    // edit through `fmt`; any number
    Scale,     // edit "%01.2f"; 0.5..4.0, else the previous value stays
    Text,      // edit, limited to the setting's buffer
    Index,     // list: the selected index
    AgcChar,   // list: stored as '0' + index; 0..3 read alike
    Colour,    // list of the colour names
    CallSize,  // edit 1..15, stored as value + 19 (20..34); else 20
    Restore,   // list: "Do Not Restore" stores 41, entry n stores 41 - n
    DragScale, // list "1".."32": the scale value
    Baud,      // list of the baud texts
    Offset,    // slider 0..hi-lo: setting - lo shown, lo..hi stored
    Vox,       // VOX slider 0..104: setting + 4 shown; at least `lo`; 13 means 14
    Port,      // port list: the window's saved name (applied by its own step)
    Long,      // edit "%ld" of a long; lo..hi, else the previous value stays
    Ctcss,     // edit: 0 or 670..2541, else the previous value stays
    Square,    // slider 0..16 whose value is squared: 0..hi stored
    Comp,      // key compensation slider 0..hi: below 2 is 0
    AmpDelay,  // amplifier key delay slider 0..100: below 6 is 0, above 94 is 100
    TxFilter,  // "Transmit Filter" list: the entry's item data (its number)
    Number,    // list numbered from 1: the index + 1
};

// When a control is shown on its page.
enum class Rule : std::uint8_t {
    Always, SubReceiver, MemBank, MenuDialect, PowerOnOff, LdgTuner, Alpha87, Acom, HasLevels, TxSettings,
    NotPerseus, Yalt, NoYalt, TxLevels, TxFilter, DigiSel, Tone, Vox, Client, Server, ClientOrServer,
    RadioPortList, NotMirror, NotMirrorNotServer, Midi, NotMidi, TMate2, Expert, Antennas, RfKit,
    RestoreF2, RestoreF3, Tavn, AntennasX, AmpOper, Never,
};

// Lists a combo box is filled with.
enum class Items : std::uint8_t {
    None, MuteExit, License, MemBank, MouseWheel, Agc, Colours, DragScale, Baud, Models, CivAddr, RttyMode,
    Roofing, KeyerMode, Ports, RestoreSsb, RestoreAm, TxFilter, TavnRadio,
};

// Settings owned by the application layer; it binds them at start-up.
enum class AppVar : std::uint8_t {
    None, MuteAlways, Local24, AutoDst, UtcHour, PcUtc, Event, FscanIncr, Steppir, SmallFont, MicroFont,
    WlMultiple, SettingsSmallFont, SettingsMicroFont, Count
};
void BindAppSetting(AppVar v, int* p);
int* AppSetting(AppVar v);

struct PageRow {
    int id;          // 0: the window gives it an id of its own
    Ctl kind;
    std::int8_t page;  // -1: created but on no page
    Rule rule;
    const char* caption;
    Enc enc = Enc::None;
    int* i = nullptr;
    double* d = nullptr;
    char* s = nullptr;
    long* l = nullptr;
    plat::Colour* c = nullptr;
    std::uint16_t size = 0;  // text buffer size
    int lo = 0, hi = 0, def = 0;
    const char* fmt = nullptr;
    Items items = Items::None;
    AppVar app = AppVar::None;
};

// The "Tuner\rPower" slider (its messages carry this number).
constexpr int kTunerPowerId = 0x5e6;

// The label naming the MIDI controller's own file, and its text.
constexpr int kMidiFileLabelId = 7990;
std::string MidiFileCaption();

std::span<const PageRow> PageRows();
// The index of the row with control id `id`, or -1.
int RowOfId(int id);
// The id a row's control has (its own, or 7000 + row index).
int RowControlId(int row);

// The int setting of a row (its own or the application's), or null.
int* RowInt(const PageRow& r);

bool RuleHolds(Rule r);

// Page list entries: captions of 0..16, 20..23, and 17..19 by control surface.
std::string PageCaption(int page);
// 22, 23 or 24 entries for the running radio type.
int PageCount();

// Items of a list kind (ports are filled by the window).
void ListItems(Items kind, void (*add)(void* ctx, const char* text), void* ctx);

// The row of antenna button n (1..8, 9 "Auto") of the RTTY page; -1 when
// there is none. Button 3 shares id 582 with the rotor's "Stop" box.
int AntennaRow(int n);
// The window-held antenna selection (1..8, 9 "Auto"); the buttons show it.
extern int g_antennaselection;
// Panadapter choices that no settings key keeps.
extern int g_sdriqpan;    // "SDR-IQ/HDSDR Pan"
extern int g_powersdrpan; // "PowerSDR Panadapter"
// The window's tune switch (what it showed last).
extern int g_tuneswitch;

// Slider rows: the slider's range, the slider position that shows a setting
// (clamped into the range) and the setting a position stands for.
bool IsSliderRow(const PageRow& r);
int SliderLow(const PageRow& r);
int SliderHigh(const PageRow& r);
int SliderOfSetting(const PageRow& r, int setting);
int SettingOfSlider(const PageRow& r, int position);

// Baud rate of list entry n and back.
using ::BaudOfIndex;
using ::IndexOfBaud;
// 1, 2, 4, 8, 16, 32.
int DragScaleOfIndex(int n);
int IndexOfDragScale(int v);

}  // namespace settings
