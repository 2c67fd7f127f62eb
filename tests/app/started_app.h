// The whole program started in the current directory for one test, and
// ended with the test.
#pragma once
#include <gtest/gtest.h>

#include "app/app.h"

struct StartedApp {
    CApp app;
    StartedApp() { EXPECT_TRUE(app.InitInstance()); }
    ~StartedApp() { app.ExitInstance(); }
};
