// qarv: station control for CI-V transceivers.
#include "app/app.h"
#include "platform/event_loop.h"

int main(int argc, char** argv) {
    // Before anything else: a close asked for during start-up waits for the
    // main window and its save instead of killing the program, and a fault
    // lets go of the transmitter on its way out.
    plat::app::InstallCloseSignals();
    plat::fatal_release::Install();
    if (!plat::app::Init(argc, argv)) return 1;
    CApp app;
    // A start refused (another copy runs in this folder) is a failure.
    if (!app.InitInstance()) return 1;
    int rc = plat::app::Run();
    app.ExitInstance();
    return rc;
}
