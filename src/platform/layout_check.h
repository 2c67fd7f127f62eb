// Checks what a person would see wrong in a window: a caption cut by its
// control, a control reaching past its window, two shown windows on top of
// one another. Tests run it over every window at every scale the settings
// accept; it measures with the font each control paints with.
#pragma once
#include <string>
#include <vector>

#include "platform/types.h"

namespace plat {
class Window;

// One fault, said for a person: which window (its id and caption) and what.
struct LayoutFault {
    const Window* window = nullptr;
    std::string what;
};

// Every shown window under `root` (root itself not included): its caption
// fits inside it and it lies inside its parent's client area. Captions are
// checked for the toolkit's buttons, check boxes, radio buttons, labels and
// combo boxes (the shown text), and for owner-drawn windows whose role is a
// button or a static text (their window text in their font).
std::vector<LayoutFault> CheckLayout(const Window* root);

// True when `text` in the font `w` paints with fits `box` (client pixels),
// leaving `margin` pixels on the left and right. For text a window draws
// itself (scales, meters, clocks).
bool TextFits(const Window* w, const std::string& text, const Rect& box, int margin = 1);
// Width and height in pixels of `text` in the font `w` paints with.
Point MeasureText(const Window* w, const std::string& text);

// True when the two rectangles share at least one pixel.
bool Intersects(const Rect& a, const Rect& b);
// The window's place in screen pixels (its client area for a child; the
// frame for a top-level window), as shown now.
Rect ScreenRect(const Window* w);

// The faults as lines, one per fault ("id 1234 \"Caption\": caption 80x14 in 60x20").
std::string DescribeFaults(const std::vector<LayoutFault>& faults);

}  // namespace plat
