// Remote operation between a radio server and an operator client.
#pragma once

extern int g_client;       // "OPERATOR CLIENT": this program drives a remote radio
extern int g_radioserver;  // "RADIO SERVER": this program serves its radio to a client
extern int g_linkstate;    // remote link state; 3 = connected

#include <cstdint>

// Sends one remote-link message of `type` with `length` payload bytes;
// returns the count of the last send.
int sendtopartner(const std::uint8_t* payload, int length, int type);

void ServiceServerSocket();
void ServiceClientSocket();
void SendKeepAlive();
void ShutdownRemote();
void OnSockTimeout();
// Ends the link (reason -2: new port or address), so that it is set up again.
void DropConnection(int reason);
