// qarv: station control for CI-V transceivers.
#include "app/app.h"
#include "platform/event_loop.h"

int main(int argc, char** argv) {
    // Before anything else: a close asked for during start-up waits for the
    // main window and its save instead of killing the program.
    plat::app::InstallCloseSignals();
    if (!plat::app::Init(argc, argv)) return 1;
    CApp app;
    if (!app.InitInstance()) return 0;
    int rc = plat::app::Run();
    app.ExitInstance();
    return rc;
}
