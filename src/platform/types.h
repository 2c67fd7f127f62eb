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
constexpr unsigned WM_CLOSE = 0x0010;
constexpr unsigned WM_KEYDOWN = 0x0100;
constexpr unsigned WM_KEYUP = 0x0101;
constexpr unsigned WM_CHAR = 0x0102;
constexpr unsigned WM_SYSKEYDOWN = 0x0104;
constexpr unsigned WM_COMMAND = 0x0111;
constexpr unsigned WM_TIMER = 0x0113;
constexpr unsigned WM_MOUSEWHEEL = 0x020A;
constexpr unsigned WM_LBUTTONDOWN = 0x0201;
constexpr unsigned WM_RBUTTONDOWN = 0x0204;
constexpr unsigned WM_MBUTTONDOWN = 0x0207;
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
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDYES = 6;
constexpr int IDNO = 7;

inline unsigned LOWORD(WPARAM w) { return static_cast<unsigned>(w & 0xFFFF); }
inline unsigned HIWORD(WPARAM w) { return static_cast<unsigned>((w >> 16) & 0xFFFF); }
inline WPARAM MAKEWPARAM(unsigned lo, unsigned hi) { return (WPARAM(hi & 0xFFFF) << 16) | (lo & 0xFFFF); }

}  // namespace plat
