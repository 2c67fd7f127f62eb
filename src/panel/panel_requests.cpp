#include "panel/panel_requests.h"

namespace {
PanelRequests g_nopanelrequests;
PanelRequests* g_panelrequests = nullptr;
}  // namespace

void RegisterPanelRequests(PanelRequests* requests) { g_panelrequests = requests; }

PanelRequests& Requests() { return g_panelrequests ? *g_panelrequests : g_nopanelrequests; }
