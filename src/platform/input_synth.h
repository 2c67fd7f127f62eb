// Input as a person gives it, synthesised on a window's real toolkit widget:
// mouse buttons, moves, the wheel, the pointer entering and leaving, keys and
// typed text. Tests drive the windows through this (headless too), and a
// window can be saved as a PNG picture to look at.
#pragma once
#include <string>

#include "platform/types.h"

namespace plat {
class Window;

namespace synth {
enum class Button { Left, Right, Middle };

// `p` is in the window's client coordinates; it may lie outside the window
// (a release or move after the pointer left it while the button was held).
void Press(Window* w, Button b, Point p);
void Release(Window* w, Button b, Point p);
void DoubleClick(Window* w, Button b, Point p);
// Press then release at the same point.
void Click(Window* w, Button b, Point p);
// A move with the given buttons held (MK_LBUTTON, MK_RBUTTON).
void Move(Window* w, Point p, unsigned heldButtons = 0);
// The wheel turned by `angle` (120 per click; a touchpad sends less).
void Wheel(Window* w, Point p, int angle);
void Enter(Window* w);
void Leave(Window* w);
// A key press and release by virtual key code (VK_RETURN, 'A', '7' ...).
void Key(Window* w, unsigned vk);
// Each character typed as a key press and release carrying the character.
void Type(Window* w, const std::string& text);
}  // namespace synth

// Renders the window (with its children) to a PNG file at `pixelRatio`
// device pixels per pixel (2 shows it as on a high-DPI screen). False when
// the window has no on-screen part or the file could not be written.
bool SaveWindowPng(Window* w, const std::string& path, double pixelRatio = 1.0);
// The colour (0x00BBGGRR) of one pixel of the window as rendered at 1:1;
// 0xFFFFFFFF when out of range or not renderable.
std::uint32_t WindowPixel(Window* w, int x, int y);

}  // namespace plat
