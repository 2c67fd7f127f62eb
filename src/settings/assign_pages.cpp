#include "settings/assign_pages.h"

#include <cstdio>

#include "base/device_options.h"
#include "civ/accessory_ports.h"
#include "civ/civ_options.h"
#include "devices/function_table.h"
#include "devices/surface_keys.h"

namespace settings {
namespace {
constexpr AssignSlot kSlots[kAssignRows] = {{17, 1}, {17, 2}, {17, 3}, {18, 1}, {18, 2}, {18, 3}, {18, 4},
                                            {18, 5}, {18, 6}, {19, 1}, {19, 2}, {19, 3}, {19, 4}, {19, 5}};


// The saved key of each row in the surface's set (-1: none; the TMate2's
// left button and the knob's long press keep their read-only keys).
constexpr int kTmate2Key[kAssignRows] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, -1, -1, -1};
constexpr int kFlexKey[kAssignRows] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, -1, -1, -1};
constexpr int kPodKey[kAssignRows] = {0, 1, 2, 6, 7, 8, 9, 10, 11, 12, 13, 3, 4, 5};

// The digit of a numbered pod key row (0 for the period key, -1: none).
constexpr int kPodDigit[kAssignRows] = {-1, -1, -1, 4, 5, 6, 7, 8, 9, 0, 10, 1, 2, 3};

// FlexControl presses: 1 single, 2 double, 5 long.
constexpr int kFlexPress[kAssignRows] = {1, 1, 1, 2, 2, 2, 5, 5, 5, 1, 2, 5, 0, 0};

}  // namespace

AssignSlot AssignSlotOf(int n) { return kSlots[n]; }

Surface SurfaceInUse() {
    if (g_usetmate2) return Surface::TMate2;
    if (g_flexknob) return Surface::Flex;
    if (g_pegasuscomport[0] == 'C' || g_pegasuscomport[0] == 'c') return Surface::KeypadPod;
    return Surface::RemotePod;
}

// The rows show the slots in the pod's key order; the captions are the
// slots' own.
const char* AssignCaption(Surface s, int n) {
    const SlotCaption& c = kSlotCaptions[kPodKey[n]];
    switch (s) {
        case Surface::TMate2: return c.tmate2;
        case Surface::Flex: return c.flex;
        case Surface::KeypadPod: return c.pod;
        default: return c.remotePod;
    }
}

std::vector<std::string> AssignItems(Surface s, int n) {
    std::vector<std::string> out;
    const bool knobRow = kSlots[n].page == 17;
    if (knobRow && s == Surface::TMate2) {
        for (const FunctionEntry& f : g_knobfunctions) out.emplace_back(f.name);
        return out;
    }
    if (knobRow) {
        out.emplace_back("UP B+1");
    } else if (s == Surface::Flex) {
        out.emplace_back(kFlexPress[n] == 1 ? "UP B+1" : kFlexPress[n] == 2 ? "UP B+2" : "UP B+5");
    } else if (s != Surface::TMate2) {
        const int d = kPodDigit[n];
        if (n == 9) {
            out.emplace_back("Period");
        } else if (d >= 0) {
            out.emplace_back(std::to_string(d % 10));
            out.emplace_back("UP " + std::to_string(d));
        }
    }
    const int count = s == Surface::KeypadPod ? kFunctionsAll : kFunctionsOffered;
    for (int k = 0; k < count; ++k) out.emplace_back(g_functions[k].name);
    return out;
}

char* AssignText(Surface s, int n) {
    switch (s) {
    case Surface::TMate2: return kTmate2Key[n] >= 0 ? g_tmate2keys[kTmate2Key[n]] : nullptr;
    case Surface::Flex: return kFlexKey[n] >= 0 ? g_flexkeys[kFlexKey[n]] : nullptr;
    default: return g_podkeys[kPodKey[n]];
    }
}

void SelectAssignedEntry(Surface s, int n, const std::string& name) {
    ::Surface keys = ::Surface::RemotePod;
    switch (s) {
    case Surface::TMate2: keys = ::Surface::TMate2; break;
    case Surface::Flex: keys = ::Surface::FlexControl; break;
    case Surface::KeypadPod: keys = ::Surface::KeypadPod; break;
    case Surface::RemotePod: break;
    }
    // With the FlexControl and the TMate2 both on, the keys follow the knob.
    if (keys != g_slotsurface) return;
    SelectSlotText(kPodKey[n], name.c_str());
}

bool AssignShown(Surface s, int n) {
    if (g_cmdmicro) return false;
    const AssignSlot slot = kSlots[n];
    if (slot.page == 17) return slot.row == 1 || s != Surface::RemotePod;
    if (slot.page == 19 && slot.row >= 4) return s != Surface::Flex && s != Surface::TMate2;
    return true;
}

}  // namespace settings
