// Remote operation between a radio server and an operator client.
#pragma once

extern int g_client;       // "OPERATOR CLIENT": this program drives a remote radio
extern int g_radioserver;  // "RADIO SERVER": this program serves its radio to a client
extern int g_linkstate;    // remote link state; 3 = connected
