#include "devices/remote_link.h"

int g_client = 0;
int g_radioserver = 0;
int g_linkstate = 0;

// Built with the remote link.
int sendtopartner(const std::uint8_t* payload, int length, int type) {
    (void)payload;
    (void)length;
    (void)type;
    return 0;
}
void ServiceServerSocket() {}
void ServiceClientSocket() {}
void SendKeepAlive() {}
void ShutdownRemote() {}
void OnSockTimeout() {}
void DropConnection(int reason) { (void)reason; }
