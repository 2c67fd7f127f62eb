#include "devices/amplifiers.h"

plat::PortHandle g_a87port = plat::kInvalidPort;
plat::PortHandle g_acomport = plat::kInvalidPort;
plat::PortHandle g_pw1port = plat::kInvalidPort;
plat::PortHandle g_om4port = plat::kInvalidPort;
plat::PortHandle g_palstarport = plat::kInvalidPort;
int g_acompending = 0;
int g_acomsegment = -1;
int g_a87lastkhz = 0;
int g_pw1reportstate = 0;
int g_om4reportstate = 0;
int g_pgxlconnected = 0;
int g_pgxlstatuschange = 0;
int g_pgxlchange[3] = {};

// Built with the amplifiers: until then no amplifier port opens and nothing
// is sent.
plat::PortHandle OpenA87Port() { return plat::kInvalidPort; }
plat::PortHandle OpenAcomPort() { return plat::kInvalidPort; }
plat::PortHandle OpenPalstarPort() { return plat::kInvalidPort; }
plat::PortHandle OpenPw1Port() { return plat::kInvalidPort; }
plat::PortHandle OpenOm4Port() { return plat::kInvalidPort; }
void ReadA87Port() {}
void ReadPW1Port() {}
void ReadOM4Port() {}
void SendToA87(const std::uint8_t*, int) {}
void SendToAcom(const std::uint8_t*, int) {}
void SendToPALStar(const std::uint8_t*, int) {}
int GetAcomSegment(double) { return 0; }
void SendFreqToPW1() {}
void SendFreqToOM4() {}
void SendModeToPW1() {}
void SendPGXLStatus() {}
void ProcessAmpWindow() {}
void StartPGXLDiscovery() {}
void ResetAmpSocket() {}
