#include "devices/program_links.h"

CWLInterface::CWLInterface(plat::Window* panel) : panel_(panel) {}
CWLInterface::~CWLInterface() {}
void CWLInterface::RegisterForPort(int) {}

// Built with the program links.
void ForgetDualFileVfoB() {}
