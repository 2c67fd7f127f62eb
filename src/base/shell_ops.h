// Shell operations of the main frame that many windows use: focus, the
// transient pop-up text, window toggles and two small string helpers.
#pragma once
#include <cstddef>
#include <string>

namespace plat {
class Window;
}

// The child window the last toggle brought to the top.
extern plat::Window* g_lasttoggled;

void FocusMainWindow();
void MyWindowFocus();
void ShowPopupText(const std::string& text);
void RemovePopupText();
bool PopupTextShown();
const std::string& PopupTextValue();

// The status text of the main window's control bar (static 1244).
void SetStatusBarText(const std::string& text);
const std::string& StatusBarText();
// Shows or hides the radio window (a remote operator takes the radio over).
void ShowRadioWindow(bool show);

// Toggle rules of the window commands.
enum class ToggleRule { A, B, C, D };
// A/B: hide when visible and last toggled (B: or the frame's last active
// pop-up), else show, bring to top and record. C: by the window's own flag.
// D: flip the bar's visibility. A null window (not available) does nothing.
void ToggleWindow(ToggleRule rule, plat::Window* w, int* flag = nullptr, bool lastActivePopup = false);

// a..z to A..Z in place; returns the length.
std::size_t UpperCaseString(char* text);
// Copies `in` into `out` (capacity `size`, always terminated) with every ','
// replaced by a blank.
void CopyReplacingCommas(const std::string& in, char* out, std::size_t size);
