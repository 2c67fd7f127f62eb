// The control-surface assignment rows of pages 17-19: a caption naming the
// physical control and a list of the actions it can run. Which captions,
// which leading entries and which saved key a row has depends on the
// surface in use.
#pragma once
#include <string>
#include <vector>

namespace settings {

enum class Surface { TMate2, Flex, KeypadPod, RemotePod };

constexpr int kAssignRows = 14;  // page 17: 3, page 18: 6, page 19: 5

struct AssignSlot {
    int page;  // 17, 18, 19
    int row;   // 1-based on its page
};
AssignSlot AssignSlotOf(int n);

// TMate2, else FlexControl, else the serial keypad pod (its port name
// begins with 'C'), else the remote pod.
Surface SurfaceInUse();
// The caption of assignment row n for a surface ("" when the surface has
// no such row).
const char* AssignCaption(Surface s, int n);
// The list entries of row n: the surface's leading entries, then the
// function table.
std::vector<std::string> AssignItems(Surface s, int n);
// The saved assignment text of row n (the active surface's set), or null
// when the row has no saved key.
char* AssignText(Surface s, int n);
// Row n is on show on its page.
bool AssignShown(Surface s, int n);
// The entry `name` chosen on row n becomes what its key or knob runs at
// once, while the surface's assignment is the one the keys use.
void SelectAssignedEntry(Surface s, int n, const std::string& name);

}  // namespace settings
