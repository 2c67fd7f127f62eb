// A private X display for tests that need a real window manager: its own
// Xvfb (display number chosen by the server) with openbox on it, both ended
// with the object. Helpers read what the window manager knows (stacking
// order, window places) and play a person's mouse and keys through xdotool.
#pragma once
#include <sys/types.h>

#include <functional>
#include <string>
#include <vector>

namespace xtest {

struct XWindow {
    unsigned long id = 0;
    int x = 0, y = 0, width = 0, height = 0;  // as the window manager reports the client
    std::string title;
};

class XSession {
public:
    // Starts Xvfb (`screen` as WxH) and, when asked, openbox; ok() is false
    // (with why()) when either fails.
    explicit XSession(bool windowManager = true, const std::string& screen = "1600x1000");
    ~XSession();
    XSession(const XSession&) = delete;
    XSession& operator=(const XSession&) = delete;
    bool ok() const { return ok_; }
    const std::string& why() const { return why_; }
    // ":N"
    const std::string& display() const { return display_; }

    // Output of a shell command run against this display (stderr dropped).
    std::string Run(const std::string& command) const;
    // The managed windows, bottom first (_NET_CLIENT_LIST_STACKING).
    std::vector<unsigned long> Stacking() const;
    // Every managed window with its place and title (wmctrl -lG).
    std::vector<XWindow> Windows() const;
    // The first managed window whose title contains `part` (id 0: none).
    XWindow Find(const std::string& part) const;
    // The client area's top-left corner on the screen (xwininfo).
    bool ClientOrigin(unsigned long id, int* x, int* y) const;
    unsigned long ActiveWindow() const;
    bool HasWindowManager() const { return withWm_; }
    // The visible top-level windows of process `pid`: the managed client
    // windows under the window manager, the root's children without one
    // (pop-up menus included).
    std::vector<unsigned long> TopWindows(int pid) const;
    // The first screen pixel of colour `rgb` (0xRRGGBB) on the line of
    // `length` pixels from (x, y) to the right (or downward).
    bool FindColour(int x, int y, int length, bool down, unsigned rgb, int* fx, int* fy) const;
    // Saves the screen (or the rectangle of `w` x `h` at x, y) as a PNG file.
    bool Screenshot(const std::string& path) const;
    bool Screenshot(const std::string& path, int x, int y, int w, int h) const;
    // The pixels of a rectangle as text, one line "col,row: (r,g,b)" each:
    // equal text, equal picture. Empty when the screen cannot be read.
    std::string Pixels(int x, int y, int w, int h) const;

    // Mouse and keys at screen places.
    void Click(int x, int y) const;
    void Drag(int x0, int y0, int x1, int y1) const;
    void Key(const std::string& keys) const;

private:
    bool Start();
    pid_t xvfb_ = -1;
    pid_t wm_ = -1;
    bool ok_ = false;
    bool withWm_ = true;
    std::string screen_;
    std::string why_;
    std::string display_;
    std::string log_;
};

// The bound of a wait for what should happen: generous, so that a loaded
// machine makes a test slower, never wrong.
constexpr int kBoundMs = 20000;

// Polls `cond` every 25 ms until it holds or `ms` have passed.
bool WaitUntil(const std::function<bool()>& cond, int ms = kBoundMs);

}  // namespace xtest
