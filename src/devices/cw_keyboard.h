// The CW keyboard: its send ring, the message macros, the typed characters
// and the keyboard window's state.
#pragma once
#include <cstdint>
#include <string>

namespace plat {
class Window;
}

constexpr int kCwRingSize = 512;
constexpr int kCwEchoLength = 20;
constexpr int kCwMacroSize = 64;

// The five message macro texts the macro keys send ("MEMORY1".."MEMORY5").
extern char g_cwmacro[5][kCwMacroSize];
// Send ring: the sender takes characters from the get index.
extern std::uint8_t* g_cwring;
extern int g_cwget;
extern int g_cwput;
extern int g_cwmemget;  // positions saved when a memory was typed (pause codes repeat it)
extern int g_cwmemput;
extern int g_cwelement;      // element index inside the character being sent
extern int g_cwsendenabled;  // sending on ("Cw Kb", F12)
extern int g_cwtakesinput;   // the keyboard takes typed input (it is on)
extern int g_cwsentcount;    // characters of the current line sent, shown as '#'
extern int g_cwclearonbreakin;  // a paddle break-in discards the unsent text
extern int g_cwclearpending;    // the next typed character empties the ring first
// The keyer's paddle echo, 20 characters, older ones shifting out left.
extern char g_cwecholine[kCwEchoLength + 1];

// Space, ',', '.' and '?': a word may go out once one of them is typed.
bool IsWordSeparator(int c);
// The five prosign characters of the settings (BT, SK, AR, KN, AA).
void CwProsigns(char out[5]);
// True for a character the ring takes: a-z, digits, space , . | / ? @, the
// prosign characters and the pause codes 247..255.
bool IsCwCharacter(unsigned c);
// Characters waiting in the ring.
int CwRingPending();
// True when the ring holds a character that may be sent now.
bool CwRingHasWordBreak();
// The pending-text line: the sent counter's '#', then the pending
// characters (the last 400), bytes with bit 7 set as 'R'.
std::string CwRingText();
void ShowCwRing();
// The keyboard is on (shown, or open for an identification).
bool CwKeyboardOn();
// A sent character: the '#' counter goes up (and starts again above 35).
void CountCwSent();
// Empties the ring and stops what is being sent: the element timer, the
// keyer's buffer (0A) and the characters in flight.
void StopCwSending();
// The paddle echo line takes one character.
void AddPaddleEcho(char c);

// A typed character while the keyboard is on (the main frame's OnChar
// hands it over; so do macros, files, the keyer echo and the remote link).
void CwKeyboardChar(unsigned c);
// Alt+K, WM_COMMAND 5019: shows or hides the keyboard (in CW, CW-R or
// during an identification).
void OnShowCwKeyboard();
// F12, WM_COMMAND 641: sending on or off.
void OnToggleCwSend();
// Types memory `index` (0..4) into the ring.
void memgen(int index);
// F1..F5, WM_COMMAND 5020..5024: memory `n` (1..5) when the keyboard is on
// and the memory holds text, else the pod key of the F-key.
void RunMemoryKey(int n);
// Keyer buttons 1..11: 1-5 the memories, 6-11 the pod buttons.
void RunMacroKey(int n);
// Types the first 511 bytes of a file.
void SendTextFile(const char* path);

// The keyboard window: created at start-up, shown when it was open at the
// last exit, popped out or in, destroyed at close.
void CreateCwKeyboard(plat::Window* parent);
void OpenCwKeyboard();
void ApplyCwPopOut();
void DestroyCwKeyboard();
plat::Window* CwKeyboardWindow();
