#include "devices/tuner.h"

std::uint8_t* g_ldgimage = nullptr;
plat::PortHandle g_ldgcoaxport = plat::kInvalidPort;
int g_ldgcoax = 0;
int g_ldgmemclear = 0;
int g_ldgbusy = 0;
int g_tunerpending = 0;

// Built with the tuners.
void ReadLdgPort() {}
void ReadLdg6() {}
void sendtoldg(const std::uint8_t*, int) {}
void SendToLdgCoax(const char*) {}
void RunTunerSequence() {}
void TunerRecall() {}
void autotunerexit() {}
void ReadLdgFile() {}
void WriteLdgFile() {}
void SendToSteppir(const std::uint8_t*, int) {}

int g_ldgrtspulse = 0;

// Built with the tuner.
int ParseLdg(std::uint8_t* buffer, int count) {
    (void)buffer;
    (void)count;
    return 0;
}
