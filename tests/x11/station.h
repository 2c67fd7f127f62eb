// The whole program on a private X display with openbox, against the
// simulated IC-7300 on ports/com1, as an operator starts it.
#pragma once
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "common/program_runner.h"
#include "common/test_dir.h"
#include "sim/sim_radio.h"
#include "x11/x_session.h"

namespace xtest {

class XStation {
public:
    // `status` lines go to [OPERATING STATUS] of a settings file that names
    // the simulated radio.
    explicit XStation(const std::string& status = "");
    XSession x;
    TestDir dir;
    sim::SimRadio radio{0x94, 19200};
    std::unique_ptr<ProgramRunner> qarv;
    XWindow frame, radioWindow;

    // Starts the program and waits until both windows are managed and the
    // radio is initialised. False (with a message) on a time-out.
    ::testing::AssertionResult Start();
    // The screen point at the centre of a radio-window control (by id), from
    // the window's client corner and the control's place at scale 1.4.
    bool ControlCentre(int id, int* x, int* y) const;
    // Index in the stacking order (bottom 0), -1 when not managed.
    int StackIndex(unsigned long id) const;
    // The radio window stacks above the main frame.
    ::testing::AssertionResult RadioAboveFrame() const;
    // Lines of the trace holding `text`.
    int TraceCount(const std::string& text) const;
    // Opens a menu of the main frame's bar by keys: a click on "File", then
    // `right` times Right, then `down` times Down (Up when negative) and
    // Return.
    void ChooseMenu(int right, int down) const;
};

}  // namespace xtest
