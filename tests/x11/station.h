// The whole program on a private X display (with openbox unless asked
// otherwise), against the simulated IC-7300 on ports/com1, as an operator
// starts it.
#pragma once
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "common/program_runner.h"
#include "common/test_dir.h"
#include "sim/sim_radio.h"
#include "x11/x_session.h"

namespace xtest {

class XStation {
public:
    // `status` lines go to [OPERATING STATUS] of a settings file that names
    // the simulated radio.
    explicit XStation(const std::string& status = "", bool windowManager = true,
                      const std::string& screen = "1600x1000");
    XSession x;
    TestDir dir;
    sim::SimRadio radio{0x94, 19200};
    std::unique_ptr<ProgramRunner> qarv;
    XWindow frame;
    // The radio window's top left corner on the screen, as it was drawn.
    int radioX = 0, radioY = 0;
    // Where the settings place the radio window in the frame.
    static constexpr int kRadioLeft = 120, kRadioTop = 200;

    // Starts the program and waits until the frame shows the radio window
    // and the radio is initialised. False (with a message) on a time-out.
    ::testing::AssertionResult Start();
    // Ends the program (as SIGTERM does) and starts it again on the same
    // settings, display and radio; waits as Start() does.
    ::testing::AssertionResult Restart();
    // The value of `key` in `section` of the saved qarv.ini ("": none).
    std::string Saved(const std::string& section, const std::string& key) const;
    // Finds the radio window on the screen by its body colour, below the
    // frame's menu and control bar; false when it does not show.
    bool FindRadioWindow();
    // The screen point at the centre of a radio-window control (by id), from
    // the window's corner and the control's place at scale 1.4.
    bool ControlCentre(int id, int* x, int* y) const;
    // Index in the stacking order (bottom 0), -1 when not managed.
    int StackIndex(unsigned long id) const;
    // The program's visible top-level windows.
    std::vector<unsigned long> TopWindows() const;
    // Lines of the trace holding `text`.
    int TraceCount(const std::string& text) const;
    // Opens a menu of the main frame's bar by keys: a click on "File", then
    // `right` times Right, then `down` times Down (Up when negative) and
    // Return.
    void ChooseMenu(int right, int down) const;

private:
    ::testing::AssertionResult Launch();
};

}  // namespace xtest
