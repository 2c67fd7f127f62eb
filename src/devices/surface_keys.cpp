#include "devices/surface_keys.h"

#include <cstdio>
#include <cstring>

#include "base/device_options.h"
#include "civ/accessory_ports.h"
#include "civ/civ_options.h"
#include "devices/keypad_pod.h"

char g_flexkeys[11][128];
char g_tmate2keys[11][128];
char g_podkeys[14][128];

AssignmentSlot g_slots[kAssignmentSlots];
Surface g_slotsurface = Surface::RemotePod;

namespace {
// Slots of the eleven saved keys of the TMate2 and the FlexControl, in the
// order of their key tables; their slot 3 comes from a key that is read only.
constexpr int kElevenKeySlots[11] = {0, 1, 2, 6, 7, 8, 9, 10, 11, 12, 13};

char Lower(char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; }

bool BeginsWith(const char* entry, const char* text) {
    for (; *text; ++entry, ++text)
        if (!*entry || Lower(*entry) != Lower(*text)) return false;
    return true;
}

// The two leading entries of a pod key row: the digit types itself, "UP n"
// puts VFO B n kHz above VFO A (key 0 counts 10).
void PodDigitEntries(AssignmentSlot& s, std::uint8_t key) {
    static const char* const kDigits[10] = {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9"};
    static const char* const kUps[10] = {"UP 10", "UP 1", "UP 2", "UP 3", "UP 4",
                                         "UP 5",  "UP 6", "UP 7", "UP 8", "UP 9"};
    const int d = key - '0';
    s.entries.push_back({kDigits[d], kActTypeKey});
    s.entries.push_back({kUps[d], kActNumericOffset});
}

void AppendFunctions(AssignmentSlot& s) {
    for (const FunctionEntry& e : OfferedFunctions()) s.entries.push_back(e);
}

void SelectTexts(const char (*texts)[128], int count, const int* slots) {
    for (int i = 0; i < count; ++i) SelectSlotText(slots ? slots[i] : i, texts[i]);
}
}  // namespace

const char* SlotCaptionFor(Surface s, int slot) {
    if (slot < 0 || slot >= kAssignmentSlots) return "";
    const SlotCaption& c = kSlotCaptions[slot];
    switch (s) {
    case Surface::TMate2: return c.tmate2;
    case Surface::FlexControl: return c.flex;
    case Surface::KeypadPod: return c.pod;
    case Surface::RemotePod: break;
    }
    return c.remotePod;
}

int SlotForKey(std::uint8_t code) {
    code &= std::uint8_t(~kKeyRelease);
    for (int i = 0; i < kAssignmentSlots; ++i)
        if (kSlotKeyCodes[i] == code) return i;
    return -1;
}

int SlotAction(int slot) {
    if (slot < 0 || slot >= kAssignmentSlots) return 0;
    const AssignmentSlot& s = g_slots[slot];
    if (s.selection < 0 || s.selection >= int(s.entries.size())) return 0;
    return s.entries[std::size_t(s.selection)].action;
}

int SelectSlotText(int slot, const char* text) {
    if (slot < 0 || slot >= kAssignmentSlots) return 0;
    AssignmentSlot& s = g_slots[slot];
    s.selection = 0;
    if (!text) return 0;
    // The whole name first: "Tune" is "Tune", not the "Tuner On" above it.
    for (std::size_t i = 0; i < s.entries.size(); ++i)
        if (BeginsWith(s.entries[i].name, text) && std::strlen(s.entries[i].name) == std::strlen(text)) {
            s.selection = int(i);
            return s.selection;
        }
    for (std::size_t i = 0; i < s.entries.size(); ++i) {
        if (BeginsWith(s.entries[i].name, text)) {
            s.selection = int(i);
            break;
        }
    }
    return s.selection;
}

bool PodConfigured() { return g_pegasuscomport[0] == 'C' || g_pegasuscomport[0] == 'c'; }

void FillSlots(Surface surface) {
    g_slotsurface = surface;
    if (surface == Surface::KeypadPod) g_functioncount = kFunctionsAll;
    for (int slot = 0; slot < kAssignmentSlots; ++slot) {
        AssignmentSlot& s = g_slots[slot];
        s.entries.clear();
        s.selection = 0;
        const std::uint8_t key = kSlotKeyCodes[slot];
        switch (surface) {
        case Surface::TMate2:
            if (slot <= 2) {
                for (const FunctionEntry& e : g_knobfunctions) s.entries.push_back(e);
                continue;
            }
            if (slot == 4 || slot == 5) continue;  // the TMate2 has no such keys
            break;
        case Surface::FlexControl:
            if (slot == 4 || slot == 5) continue;
            if (slot <= 2 || slot == 12)
                s.entries.push_back({"UP B+1", kActUpB1});
            else if ((slot >= 6 && slot <= 8) || slot == 13)
                s.entries.push_back({"UP B+2", kActUpB2});
            else
                s.entries.push_back({"UP B+5", kActUpB5});
            break;
        case Surface::KeypadPod:
        case Surface::RemotePod:
            if (slot <= 2)
                s.entries.push_back({"UP B+1", kActUpB1});
            else if (key == '.')
                s.entries.push_back({"Period", kActTypeKey});
            else
                PodDigitEntries(s, key);
            break;
        }
        AppendFunctions(s);
    }
}

void SetupPodSlots() {
    if (g_podstate < 2) g_podstate = PodConfigured() ? 1 : 0;
    FillSlots(PodConfigured() ? Surface::KeypadPod : Surface::RemotePod);
    SelectTexts(g_podkeys, 14, nullptr);
}

void SetupTMate2Slots() {
    FillSlots(Surface::TMate2);
    SelectTexts(g_tmate2keys, 11, kElevenKeySlots);
    SelectSlotText(3, g_tm2leftbutton);
}

void SetupFlexSlots() {
    FillSlots(Surface::FlexControl);
    SelectTexts(g_flexkeys, 11, kElevenKeySlots);
    SelectSlotText(3, g_flxknoblong);
}

void LoadPodKeys() {
    if (!g_flexknob && !g_usetmate2) SetupPodSlots();
}

void LoadTMate2Keys() {
    if (!g_flexknob && g_usetmate2) SetupTMate2Slots();
}

void LoadFlexKeys() {
    if (g_flexknob) SetupFlexSlots();
}
