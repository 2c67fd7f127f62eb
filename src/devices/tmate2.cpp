#include "devices/tmate2.h"

#include <cstring>
#include <string>

#include "base/device_options.h"
#include "base/settings_store.h"
#include "base/trace_log.h"
#include "civ/civ_options.h"
#include "civ/frequency_state.h"
#include "devices/control_surfaces.h"
#include "devices/function_table.h"
#include "devices/key_events.h"
#include "devices/knob_tuning.h"
#include "devices/surface_keys.h"
#include "panel/controls/meter.h"
#include "panel/swl_panel.h"
#include "platform/library.h"
#include "platform/message_box.h"

char g_tmate2library[128] = "tmate2.so";
std::uint8_t g_tmate2lcd[kTMate2LcdBytes];

namespace {
using OpenFn = int (*)();
using ReadFn = int (*)(int*, int*, int*, int*);
using SegmentFn = int (*)(unsigned char*, int, int);
using LcdFn = int (*)(unsigned char*);
using MainNumberFn = int (*)(unsigned char*, unsigned long);
using SmeterNumberFn = int (*)(unsigned char*, int);

struct Library {
    plat::LibraryHandle handle = nullptr;
    OpenFn open = nullptr;
    OpenFn close = nullptr;
    ReadFn read = nullptr;
    SegmentFn segment = nullptr;
    LcdFn lcd = nullptr;
    MainNumberFn mainNumber = nullptr;
    SmeterNumberFn smeterNumber = nullptr;
};
Library g_lib;
int g_counters[3] = {kTMate2Unread, kTMate2Unread, kTMate2Unread};
bool g_lcdready = false;
bool g_rowsfortmate2 = false;

constexpr int kInitSegments[] = {1, 49, 0, 15, 16, 23, 27, 34, 33, 32, 31, 56, 57, 58, 59, 53, 54, 55};
constexpr int kModeSegments[] = {45, 51, 44, 50, 43, 47, 52};
constexpr int kBarFirst = 77;
constexpr int kBarThresholds[15] = {16,   512,  768,  1024, 1280, 1536, 1664, 1920,
                                    2176, 2432, 2816, 3328, 3840, 4352, 4864};

std::string LibraryPath() {
    const std::string name = g_tmate2library;
    if (name.empty() || name[0] == '/' || g_cwd.empty()) return name;
    return g_cwd + "/" + name;
}

template <typename F>
bool Bind(F& fn, const char* name) {
    fn = reinterpret_cast<F>(plat::GetProcAddress(g_lib.handle, name));
    return fn != nullptr;
}

bool LoadTMate2Library() {
    if (g_lib.handle) return true;
    std::string error;
    const std::string path = LibraryPath();
    g_lib.handle = path.empty() ? nullptr : plat::LoadLibrary(path, &error);
    if (!g_lib.handle) {
        WriteTracef("TMate2 library: %s", path.empty() ? "no library configured" : error.c_str());
        return false;
    }
    const bool all = Bind(g_lib.open, "TMate2OpenConnection") && Bind(g_lib.close, "TMate2CloseConnection") &&
                     Bind(g_lib.read, "TMate2ReadValue") && Bind(g_lib.segment, "TMate2SetSegment") &&
                     Bind(g_lib.lcd, "TMate2SetLcd") && Bind(g_lib.mainNumber, "TMate2WriteNumberOnMainDisplay") &&
                     Bind(g_lib.smeterNumber, "TMate2WriteNumberOnSmeterDisplay");
    if (!all) {
        WriteTrace("TMate2 library lacks a function");
        plat::FreeLibrary(g_lib.handle);
        g_lib = Library{};
    }
    return g_lib.handle != nullptr;
}

void Segment(int n, int on) { g_lib.segment(g_tmate2lcd, n, on); }
void SetLcd() { g_lib.lcd(g_tmate2lcd); }

// Knob movement with slot `slot`'s function in place of the knob function.
void StepWithFunction(int slot, int delta) {
    const int saved = g_knobfunction;
    ExecuteFunction(SlotAction(slot), 0);
    AccumulateTuneStep(delta);
    g_knobfunction = saved;
}
}  // namespace

int TMate2Delta(int& counter, int value) {
    if (counter == kTMate2Unread) counter = value;
    int old = counter;
    if (value > 55000 && old < 10000)
        old += 65536;
    else if (old > 55000 && value < 10000)
        old -= 65536;
    counter = value;
    return value - old;
}

int TMate2ModeSegment(char mode) {
    switch (mode) {
    case '5':
    case '<': return 43;
    case '0': return 44;
    case ';': return 45;
    case '7':
    case '8':
    case '9':
    case ':':
    case '6': return 47;
    case '3':
    case '2': return 50;
    case '1': return 51;
    default: return 52;
    }
}

void OpenTMate2() {
    if (g_usetmate2 && !g_tmate2open) {
        if (LoadTMate2Library() && g_lib.open() >= 0) {
            g_tmate2open = 1;
            g_lcdready = false;
            for (int& c : g_counters) c = kTMate2Unread;
        } else {
            g_tmate2open = 0;
            plat::MessageBox(nullptr, "TMate2 Device not Found", "NO TMATE2", plat::MB_OK);
        }
    }
    if (g_usetmate2 && !g_rowsfortmate2) {
        g_rowsfortmate2 = true;
        SetupTMate2Slots();
    } else if (!g_usetmate2 && g_rowsfortmate2) {
        g_rowsfortmate2 = false;
        SetupPodSlots();
    }
}

void CloseTMate2() {
    if (g_tmate2open && g_lib.close) g_lib.close();
    g_tmate2open = 0;
    g_lcdready = false;
    plat::FreeLibrary(g_lib.handle);
    g_lib = Library{};
}

void ReadTMate2() {
    if (!g_tmate2open) return;
    int v[3] = {0, 0, 0}, buttons = 0;
    if (g_lib.read(&v[0], &v[1], &v[2], &buttons) != 0) return;
    // Left multi knob: the current knob function.
    if (const int d = TMate2Delta(g_counters[2], v[2])) AccumulateTuneStep(d);
    if (const int d = TMate2Delta(g_counters[1], v[1])) StepWithFunction(1, d);
    // The main knob counts the other way.
    if (const int d = TMate2Delta(g_counters[0], v[0])) StepWithFunction(0, -d);
    // Buttons are active low; a held one repeats each poll and the key
    // guard lets the first press through.
    struct Button {
        int bit;
        std::uint8_t key;
    };
    constexpr Button kButtons[] = {{0x100, '1'}, {0x80, '0'}, {0x40, '.'}, {0x01, '4'}, {0x02, '5'},
                                   {0x04, '6'},  {0x08, '7'}, {0x10, '8'}, {0x20, '9'}};
    for (const Button& b : kButtons)
        if (!(buttons & b.bit)) PressKey(b.key);
}

void OnTmate2MultiChange() {
    // Only while the TMate2's own assignments are loaded: with the
    // FlexControl on, slot 2 is one of its keys and would run that function.
    if (!g_usetmate2 || g_flexknob) return;
    const int action = SlotAction(2);
    WriteTracef("Tmate2 Multi Change fkeysel %d, comid %d", g_slots[2].selection, action);
    ExecuteFunction(action, 1);
}

void InitTMate2Lcd() {
    if (!g_tmate2open || g_lcdready) return;
    g_lcdready = true;
    std::memset(g_tmate2lcd, 0, sizeof g_tmate2lcd);
    g_tmate2lcd[32] = 1;
    g_tmate2lcd[33] = std::uint8_t(g_tm2red);
    g_tmate2lcd[34] = std::uint8_t(g_tm2green);
    g_tmate2lcd[35] = std::uint8_t(g_tm2blue);
    g_tmate2lcd[36] = std::uint8_t(2560 & 0xFF);
    g_tmate2lcd[37] = std::uint8_t(2560 >> 8);
    g_tmate2lcd[38] = std::uint8_t(g_tm2speed1);
    g_tmate2lcd[39] = std::uint8_t(g_tm2speed2);
    g_tmate2lcd[40] = std::uint8_t(g_tm2speed3);
    g_tmate2lcd[41] = std::uint8_t(g_tm2thresh12);
    g_tmate2lcd[42] = std::uint8_t(g_tm2thresh23);
    g_tmate2lcd[43] = std::uint8_t(g_tm2evalms / 10);
    SetLcd();
    for (int s : kInitSegments) Segment(s, 1);
    ShowTMate2Mode(g_swlpanel ? g_swlpanel->vfoAMode : char(g_vfoamode));
    ShowTMate2Freq(g_vfoafreq);
}

void ShowTMate2Mode(char mode) {
    InitTMate2Lcd();
    if (!g_tmate2open) return;
    for (int s : kModeSegments) Segment(s, 0);
    Segment(TMate2ModeSegment(mode), 1);
    SetLcd();
}

void ShowTMate2Freq(double mhz) {
    InitTMate2Lcd();
    if (!g_tmate2open) return;
    Segment(24, 1);
    Segment(28, 1);
    g_lib.mainNumber(g_tmate2lcd, (unsigned long)(mhz * 1000000 + 0.5));
    SetLcd();
}

// The radio window's meter hands each S-meter reading (or, with "TMate2 S
// meter shows Peak", its held peak) to the LCD.
const bool kMeterHooked = (g_tmate2smeter = ShowTMate2Smeter, true);

void ShowTMate2Smeter(int v) {
    InitTMate2Lcd();
    if (!g_tmate2open) return;
    if (v != 0) {
        for (int i = 0; i < 15; ++i) Segment(kBarFirst + i, v > kBarThresholds[i] ? 1 : 0);
        g_lib.smeterNumber(g_tmate2lcd, 127 - (v * 6 / 256));
    }
    SetLcd();
}

void ShowTMate2State() {
    InitTMate2Lcd();
    if (!g_tmate2open) return;
    const bool split = g_swlpanel ? g_swlpanel->split != 0 : g_split != 0;
    if (split)
        g_tmate2lcd[32] |= 2;
    else
        g_tmate2lcd[32] &= std::uint8_t(~2);
    SetLcd();
}
