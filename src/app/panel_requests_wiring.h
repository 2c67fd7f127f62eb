// Registers the devices and memory windows as the answer to the radio
// panel's requests (panel/panel_requests.h). Called once at start-up.
#pragma once

void WirePanelRequests();
