#include "devices/cw_keyboard.h"

char g_cwmacro[5][64] = {};
std::uint8_t* g_cwring = nullptr;
int g_cwget = 0;
int g_cwput = 0;
int g_cwmemget = 0;
int g_cwmemput = 0;
int g_cwsendenabled = 0;
int g_cwkeyboardopen = 0;
int g_cwtakesinput = 0;

// Built with the CW keyboard.
bool CwRingHasWordBreak() { return false; }
void ShowCwRing() {}
void OnShowCwKeyboard() {}
void OpenCwKeyboard() {}
void ApplyCwPopOut() {}
void DestroyCwKeyboard() {}
// Built with the CW keyboard.
void mem1() {}
void mem2() {}
void mem3() {}
void mem4() {}
void mem5() {}
