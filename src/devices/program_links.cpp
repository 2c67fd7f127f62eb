#include "devices/program_links.h"

CWLInterface::CWLInterface(plat::Window* panel) : panel_(panel) {}
CWLInterface::~CWLInterface() {}
void CWLInterface::RegisterForPort(int) {}

int g_exchangenewdata = 0;

// Built with the program links.
void ExchangePegasusFiles() {}
void ReadDualFile() {}
void SendRadioInfo() {}
void OpenGorvSocket() {}
// Built with the program links.
void ForgetDualFileVfoB() {}
