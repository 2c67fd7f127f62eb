#include "x11/station.h"

#include <sstream>

#include "panel/radio_layout.h"

namespace xtest {

XStation::XStation(const std::string& status) {
    dir.write("qarv.ini",
              "[INTERFACE]\nCOMPORT=COM1\nBAUD=19200\n"
              "[OPERATING STATUS]\nQARV=23\nVFO-A FREQUENCY=14.074000\nVFO-B FREQUENCY=14.074000\n" + status +
                  "[MAIN WINDOW]\nMAXIMIZE=TRUE\n"
                  "[RADIO WINDOW]\nVISIBLE=TRUE\nLOCATION=0120 0200\n");
}

::testing::AssertionResult XStation::Start() {
    if (!radio.link(dir.file("ports/com1"))) return ::testing::AssertionFailure() << "no simulated radio port";
    radio.start();
    qarv = std::make_unique<ProgramRunner>(dir.path(), x.display());
    if (qarv->pid() <= 0) return ::testing::AssertionFailure() << "the program did not start";
    if (!qarv->WaitForText("comms.txt", "OnCreate exit", 15000))
        return ::testing::AssertionFailure() << "start-up did not finish";
    const bool managed = WaitUntil(
        [this] {
            frame = x.Find("V3.52");
            radioWindow = x.Find("Radio Window");
            return frame.id != 0 && radioWindow.id != 0 && StackIndex(frame.id) >= 0 && StackIndex(radioWindow.id) >= 0;
        },
        10000);
    if (!managed) return ::testing::AssertionFailure() << "the windows were not managed:\n" << x.Run("wmctrl -lG");
    // The start-up splash is gone 2 s after start: the windows counted and
    // stacked below are the program's own from here on.
    auto splash = [this] {
        for (const XWindow& w : x.Windows()) if (w.title == "QARV") return true;
        return false;
    };
    if (!WaitUntil([&] { return !splash(); }, 10000)) return ::testing::AssertionFailure() << "the splash stayed";
    // The radio answers and the program has pushed its state.
    if (!qarv->WaitForText("comms.txt", "firstpoll 0 1", 15000))
        return ::testing::AssertionFailure() << "the radio was not initialised";
    radio.settle(2000);
    return ::testing::AssertionSuccess();
}

bool XStation::ControlCentre(int id, int* px, int* py) const {
    int ox = 0, oy = 0;
    if (!x.ClientOrigin(radioWindow.id, &ox, &oy)) return false;
    radio_layout::Context c;
    c.radiotype = 23;
    for (const radio_layout::Placed& p : radio_layout::Layout(c, 1.4f, 1.4f)) {
        if (p.item->id != id || !p.visible) continue;
        *px = ox + (p.px.left + p.px.right) / 2;
        *py = oy + (p.px.top + p.px.bottom) / 2;
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

::testing::AssertionResult XStation::RadioAboveFrame() const {
    const int r = StackIndex(radioWindow.id), f = StackIndex(frame.id);
    if (r > f && f >= 0) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "radio window at " << r << ", main frame at " << f << " in "
                                         << x.Run("xprop -root _NET_CLIENT_LIST_STACKING");
}

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
