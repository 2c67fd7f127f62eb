// qarv: station control for CI-V transceivers.
#include "app/app.h"
#include "platform/event_loop.h"

int main(int argc, char** argv) {
    if (!plat::app::Init(argc, argv)) return 1;
    CApp app;
    if (!app.InitInstance()) return 0;
    int rc = plat::app::Run();
    app.ExitInstance();
    return rc;
}
