// Test entry: every test program runs headless with a toolkit instance, the
// manual clock and scripted message boxes, so nothing waits for time or for
// a person.
#include <gtest/gtest.h>

#include <cstdlib>

#include "app/engine_wiring.h"
#include "platform/clock.h"
#include "platform/event_loop.h"
#include "platform/message_box.h"

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    plat::manual_clock::Enable();
    plat::message_box_script::Enable();
    plat::app::Init(argc, argv);
    // The station hears the engine as in the program.
    WireEngine();
    return RUN_ALL_TESTS();
}
