// Menus and keyboard accelerators of a top-level window. A chosen menu item
// or a matching accelerator key reaches the window as WM_COMMAND with the
// item's id, exactly like a button of the window.
#pragma once
#include <span>
#include <string>
#include <vector>

namespace plat {

class Window;

struct MenuItem {
    std::string text;             // '&' marks the mnemonic; empty text: separator
    unsigned id = 0;              // command id (0 for a sub-menu or separator)
    std::vector<MenuItem> items;  // non-empty: a sub-menu
};

// Accelerator flags.
constexpr unsigned FVIRTKEY = 0x01, FSHIFT = 0x04, FCONTROL = 0x08, FALT = 0x10;

struct Accelerator {
    unsigned flags;  // FVIRTKEY with FSHIFT/FCONTROL/FALT; without FVIRTKEY `key` is a character
    unsigned key;    // virtual key code, or the character
    unsigned id;     // command sent as WM_COMMAND
};

// Gives a top-level window its menu bar.
void SetWindowMenu(Window* w, const std::vector<MenuItem>& bar);
// Height in pixels the menu bar takes at the top of the window (0 without one).
int MenuBarHeight(Window* w);
void CheckMenuItem(Window* w, unsigned id, bool checked);
void EnableMenuItem(Window* w, unsigned id, bool enabled);
bool IsMenuItemChecked(Window* w, unsigned id);
bool IsMenuItemEnabled(Window* w, unsigned id);
// Called before a menu opens, so the window can update check marks and
// enabled states (the program's update handlers).
void SetMenuUpdateHandler(Window* w, void (*handler)(Window*));

// Accelerators are looked up for key presses anywhere in the program while
// `w` exists; a match sends WM_COMMAND to `w` and the key goes no further.
void SetAccelerators(Window* w, std::span<const Accelerator> table);
// The lookup itself: virtual key and KF_SHIFT/KF_CONTROL/KF_ALT flags,
// character for character entries. Returns the command id, or 0.
unsigned FindAccelerator(std::span<const Accelerator> table, unsigned vk, unsigned keyFlags, unsigned ch);

// Opens `items` as a pop-up menu at screen point (x, y) and waits for the
// choice (timers keep firing). The chosen command goes to `owner` as
// WM_COMMAND and is returned; 0 when the menu was dismissed.
unsigned TrackPopupMenu(Window* owner, const std::vector<MenuItem>& items, int x, int y);

namespace popup_menu_script {
// From now on pop-up menus are not shown: each takes the next pushed choice
// (0: dismissed) and is recorded with its position.
void Enable();
void PushChoice(unsigned id);
struct Shown {
    std::vector<MenuItem> items;
    int x, y;
};
const std::vector<Shown>& History();
}  // namespace popup_menu_script

}  // namespace plat
