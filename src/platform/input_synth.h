// Input as a person gives it, synthesised on a window's real toolkit widget:
// mouse buttons, moves, the wheel, the pointer entering and leaving, keys and
// typed text. Tests drive the windows through this (headless too), and a
// window can be saved as a PNG picture to look at.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

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
// One half of a key. A held key repeats: X11 sends release and press pairs
// marked as auto-repeat between the first press and the real release.
void KeyDown(Window* w, unsigned vk, bool autoRepeat = false);
void KeyUp(Window* w, unsigned vk, bool autoRepeat = false);
// Each character typed as a key press and release carrying the character.
void Type(Window* w, const std::string& text);
}  // namespace synth

// Renders the window (with its children) to a PNG file at `pixelRatio`
// device pixels per pixel (2 shows it as on a high-DPI screen). False when
// the window has no on-screen part or the file could not be written.
bool SaveWindowPng(Window* w, const std::string& path, double pixelRatio = 1.0);
// The window as rendered at 1:1, pixel by pixel (0x00BBGGRR).
struct Snapshot {
    int width = 0, height = 0;
    std::vector<std::uint32_t> pixels;
    // 0xFFFFFFFF outside the picture.
    std::uint32_t At(int x, int y) const {
        return x < 0 || y < 0 || x >= width || y >= height ? 0xFFFFFFFFu : pixels[std::size_t(y * width + x)];
    }
};
Snapshot TakeSnapshot(Window* w);
// The colour (0x00BBGGRR) of one pixel of the window as rendered at 1:1;
// 0xFFFFFFFF when out of range or not renderable.
std::uint32_t WindowPixel(Window* w, int x, int y);
// The window as it stands on the screen now, after the paints that are due
// have run, as a person sees it: unlike TakeSnapshot, which paints the
// window afresh, a part that was never repainted shows its old pixels.
// Empty when the window is not on the screen.
Snapshot ScreenSnapshot(Window* w);

}  // namespace plat
