#include "app/engine_wiring.h"

#include "civ/engine_events.h"
#include "civ/station_queries.h"
#include "devices/cat_out.h"
#include "devices/control_surfaces.h"
#include "devices/device_events.h"
#include "devices/remote_link.h"
#include "devices/tuner.h"
#include "memories/memory_events.h"
#include "memories/station.h"
#include "platform/message_box.h"

namespace {
class StationAnswers final : public StationQueries {
public:
    bool RemoteOperatorActive() override { return ::RemoteOperatorActive(); }
    bool RemoteClientReady() override { return ::RemoteClientReady(); }
    bool CatOutPortOpen(int port) override { return port >= 1 && port <= kThpPorts && g_thpopen[port - 1]; }
    bool TunerKeysRadio() override { return g_ldgrtspulse != 0; }
    bool SurfaceMeterShown() override { return g_tmate2open != 0; }
    bool HasStations() override { return !g_stationlist.empty(); }
};

StationAnswers g_stationanswers;

int ShowNotice(const OperatorNotice& n) { return plat::MessageBox(n.owner, n.text, n.caption, n.kind); }
}  // namespace

void WireEngine() {
    // Each announcement is acted on by one of the two.
    AddEngineListener(&DeviceEvents());
    AddEngineListener(&MemoryEvents());
    SetStationQueries(&g_stationanswers);
    SetOperatorNoticeShower(ShowNotice);
}

void UnwireEngine() {
    RemoveEngineListener(&DeviceEvents());
    RemoveEngineListener(&MemoryEvents());
    SetStationQueries(nullptr);
    SetOperatorNoticeShower(nullptr);
}
