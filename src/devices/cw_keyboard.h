// The CW keyboard: its send ring, the message macros and the window.
#pragma once
#include <cstdint>

constexpr int kCwRingSize = 512;

// The five message macro texts the macro keys send ("MEMORY1".."MEMORY5").
extern char g_cwmacro[5][64];
// Send ring: the sender takes characters from the get index.
extern std::uint8_t* g_cwring;
extern int g_cwget;
extern int g_cwput;
extern int g_cwmemget;  // positions saved when a memory was typed (pause codes repeat it)
extern int g_cwmemput;
extern int g_cwsendenabled;
extern int g_cwkeyboardopen;  // the CW keyboard was open at the last exit
extern int g_cwtakesinput;    // the keyboard takes typed input

// True when the ring holds a character that may be sent now.
bool CwRingHasWordBreak();
void ShowCwRing();
void OnShowCwKeyboard();
void OpenCwKeyboard();
void ApplyCwPopOut();
void DestroyCwKeyboard();
// The five CW memories (the macro texts sent through the CW keyboard).
void mem1();
void mem2();
void mem3();
void mem4();
void mem5();
