// Basic types and message numbers of the window layer. The numbers keep the
// values the program was written against, because they travel between
// windows as plain integers and several are part of fixed tables.
#pragma once
#include <cstdint>

namespace plat {

using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;

struct Rect {
    int left = 0, top = 0, right = 0, bottom = 0;
    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool operator==(const Rect&) const = default;
};

struct Point {
    int x = 0, y = 0;
};

// Window messages.
constexpr unsigned WM_CREATE = 0x0001;
constexpr unsigned WM_DESTROY = 0x0002;
constexpr unsigned WM_SIZE = 0x0005;      // a frame's new size: lParam width, height
constexpr unsigned WM_SETFOCUS = 0x0007;   // wParam: the window that lost the focus
constexpr unsigned WM_KILLFOCUS = 0x0008;  // wParam: the window that gets it (or 0)
constexpr unsigned WM_SHOWWINDOW = 0x0018; // wParam: 1 shown, 0 hidden
constexpr unsigned WM_CLOSE = 0x0010;
constexpr unsigned WM_KEYDOWN = 0x0100;
constexpr unsigned WM_KEYUP = 0x0101;
constexpr unsigned WM_CHAR = 0x0102;
constexpr unsigned WM_SYSKEYDOWN = 0x0104;
constexpr unsigned WM_COMMAND = 0x0111;
constexpr unsigned WM_TIMER = 0x0113;
// Mouse messages: wParam the MK_ flags (the wheel: delta in the high word,
// a signed multiple of 120), lParam the client position (MAKELPARAM(x, y)).
constexpr unsigned WM_MOUSEMOVE = 0x0200;
constexpr unsigned WM_LBUTTONDOWN = 0x0201;
constexpr unsigned WM_LBUTTONUP = 0x0202;
constexpr unsigned WM_LBUTTONDBLCLK = 0x0203;
constexpr unsigned WM_RBUTTONDOWN = 0x0204;
constexpr unsigned WM_RBUTTONUP = 0x0205;
constexpr unsigned WM_RBUTTONDBLCLK = 0x0206;
constexpr unsigned WM_MBUTTONDOWN = 0x0207;
constexpr unsigned WM_MBUTTONUP = 0x0208;
constexpr unsigned WM_MOUSEWHEEL = 0x020A;
constexpr unsigned WM_CAPTURECHANGED = 0x0215;  // lParam: the new holder (or 0)
constexpr unsigned WM_MOUSEHOVER = 0x02A1;      // the pointer entered the window
constexpr unsigned WM_MOUSELEAVE = 0x02A3;
constexpr unsigned MK_LBUTTON = 0x0001, MK_RBUTTON = 0x0002, MK_SHIFT = 0x0004, MK_CONTROL = 0x0008,
                   MK_MBUTTON = 0x0010;
constexpr int WHEEL_DELTA = 120;
constexpr unsigned WM_USER = 0x0400;

// Show commands.
constexpr int SW_HIDE = 0;
constexpr int SW_SHOWNORMAL = 1;
constexpr int SW_SHOWMAXIMIZED = 3;
constexpr int SW_SHOW = 5;
constexpr int SW_MINIMIZE = 6;
constexpr int SW_RESTORE = 9;

// Message box styles and answers.
constexpr unsigned MB_OK = 0x0;
constexpr unsigned MB_OKCANCEL = 0x1;
constexpr unsigned MB_YESNOCANCEL = 0x3;
constexpr unsigned MB_YESNO = 0x4;
constexpr unsigned MB_ICONSTOP = 0x10;
constexpr unsigned MB_ICONQUESTION = 0x20;
constexpr unsigned MB_ICONEXCLAMATION = 0x30;
constexpr unsigned MB_ICONINFORMATION = 0x40;
// The box's text in a fixed-pitch font, so columns of blanks line up.
constexpr unsigned MB_FIXEDPITCH = 0x10000;
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDYES = 6;
constexpr int IDNO = 7;

inline unsigned LOWORD(WPARAM w) { return static_cast<unsigned>(w & 0xFFFF); }
inline unsigned HIWORD(WPARAM w) { return static_cast<unsigned>((w >> 16) & 0xFFFF); }
inline WPARAM MAKEWPARAM(unsigned lo, unsigned hi) { return (WPARAM(hi & 0xFFFF) << 16) | (lo & 0xFFFF); }
inline LPARAM MAKELPARAM(int lo, int hi) { return LPARAM((unsigned(hi) & 0xFFFFu) << 16 | (unsigned(lo) & 0xFFFFu)); }
// Signed coordinates out of a mouse message's lParam (a point left of or
// above the window, while the mouse is captured, is negative).
inline int GET_X_LPARAM(LPARAM l) { return int(static_cast<short>(l & 0xFFFF)); }
inline int GET_Y_LPARAM(LPARAM l) { return int(static_cast<short>((l >> 16) & 0xFFFF)); }
inline int GET_WHEEL_DELTA_WPARAM(WPARAM w) { return int(static_cast<short>((w >> 16) & 0xFFFF)); }

}  // namespace plat
