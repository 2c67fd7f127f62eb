#include "x11/station.h"

#include <signal.h>

#include <cstdio>
#include <cstdlib>
#include <sstream>

#include "panel/radio_layout.h"

namespace xtest {

XStation::XStation(const std::string& status, bool windowManager, const std::string& screen) : x(windowManager, screen) {
    dir.write("qarv.ini",
              "[INTERFACE]\nCOMPORT=COM1\nBAUD=19200\n"
              "[OPERATING STATUS]\nQARV=23\nVFO-A FREQUENCY=14.074000\nVFO-B FREQUENCY=14.074000\n" + status +
                  "[MAIN WINDOW]\nMAXIMIZE=TRUE\n"
                  "[RADIO WINDOW]\nVISIBLE=TRUE\nLOCATION=0120 0200\n");
}

::testing::AssertionResult XStation::Start() {
    if (!radio.link(dir.file("ports/com1"))) return ::testing::AssertionFailure() << "no simulated radio port";
    radio.start();
    return Launch();
}

::testing::AssertionResult XStation::Restart() {
    if (qarv->StopWith(SIGTERM, kBoundMs) != 0) return ::testing::AssertionFailure() << "the program did not end";
    // The trace starts again, so that the waits below see this run.
    std::remove(dir.file("comms.txt").c_str());
    return Launch();
}

std::string XStation::Saved(const std::string& section, const std::string& key) const {
    const std::string ini = dir.read("qarv.ini");
    const std::size_t s = ini.find("[" + section + "]");
    if (s == std::string::npos) return {};
    const std::size_t k = ini.find("\n" + key + "=", s);
    const std::size_t next = ini.find("\n[", s + 1);
    if (k == std::string::npos || (next != std::string::npos && k > next)) return {};
    const std::size_t v = k + key.size() + 2;
    return ini.substr(v, ini.find('\n', v) - v);
}

::testing::AssertionResult XStation::Launch() {
    qarv = std::make_unique<ProgramRunner>(dir.path(), x.display());
    if (qarv->pid() <= 0) return ::testing::AssertionFailure() << "the program did not start";
    if (!qarv->WaitForText("comms.txt", "OnCreate exit", kBoundMs))
        return ::testing::AssertionFailure() << "start-up did not finish";
    const bool shown = WaitUntil(
        [this] {
            if (x.HasWindowManager()) {
                frame = x.Find("V3.52");
                return frame.id != 0 && StackIndex(frame.id) >= 0;
            }
            frame = {};
            frame.id = std::strtoul(x.Run("xdotool search --onlyvisible --name V3.52").c_str(), nullptr, 10);
            return frame.id != 0;
        });
    if (!shown) return ::testing::AssertionFailure() << "the frame did not show:\n" << x.Run("wmctrl -lG");
    // The start-up splash is gone 2 s after start: the windows counted and
    // stacked below are the program's own from here on.
    if (!WaitUntil([this] { return x.Run("xdotool search --onlyvisible --name '^QARV$'").empty(); }))
        return ::testing::AssertionFailure() << "the splash stayed";
    if (!WaitUntil([this] { return FindRadioWindow(); }))
        return ::testing::AssertionFailure() << "the radio window does not show in the frame";
    // The radio answers and the program has pushed its state.
    if (!qarv->WaitForText("comms.txt", "firstpoll 0 1", kBoundMs))
        return ::testing::AssertionFailure() << "the radio was not initialised";
    radio.settle(2000);
    return ::testing::AssertionSuccess();
}

bool XStation::FindRadioWindow() {
    // Its body is the default "LO CYAN", a colour nothing else of the
    // program's first screen has.
    constexpr unsigned kBody = 0x00C0C0;
    int ox = 0, oy = 0, x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    if (!x.ClientOrigin(frame.id, &ox, &oy)) return false;
    // A column through the window where it was last seen (at first, where
    // the settings put it), from the top of the frame down.
    const int column = (radioX ? radioX : ox + kRadioLeft) + 200;
    if (!x.FindColour(column, oy, 600, true, kBody, &x0, &y0)) return false;
    if (!x.FindColour(ox, y0 + 1, column - ox, false, kBody, &x1, &y1)) return false;
    radioX = x1;
    radioY = y0;
    return true;
}

bool XStation::ControlCentre(int id, int* px, int* py) const {
    radio_layout::Context c;
    c.radiotype = 23;
    for (const radio_layout::Placed& p : radio_layout::Layout(c, 1.4f, 1.4f)) {
        if (p.item->id != id || !p.visible) continue;
        *px = radioX + (p.px.left + p.px.right) / 2;
        *py = radioY + (p.px.top + p.px.bottom) / 2;
        return true;
    }
    return false;
}

int XStation::StackIndex(unsigned long id) const {
    const std::vector<unsigned long> s = x.Stacking();
    for (std::size_t i = 0; i < s.size(); ++i)
        if (s[i] == id) return int(i);
    return -1;
}

std::vector<unsigned long> XStation::TopWindows() const { return x.TopWindows(qarv->pid()); }

int XStation::TraceCount(const std::string& text) const {
    std::stringstream in(dir.read("comms.txt"));
    std::string line;
    int n = 0;
    while (std::getline(in, line))
        if (line.find(text) != std::string::npos) ++n;
    return n;
}

void XStation::ChooseMenu(int right, int down) const {
    int ox = 0, oy = 0;
    x.ClientOrigin(frame.id, &ox, &oy);
    x.Click(ox + 15, oy + 10);
    std::string keys;
    for (int i = 0; i < right; ++i) keys += " Right";
    for (int i = 0; i < down; ++i) keys += " Down";
    for (int i = 0; i < -down; ++i) keys += " Up";
    x.Key("--delay 60" + keys + " Return");
}

}  // namespace xtest
