// The one UI thread's event loop: posted messages, window timers, idle and
// input hooks, the application object of the display toolkit, and the
// termination signals that ask the main window to close.
#pragma once
#include <cstdint>
#include <functional>
#include <string>

#include "platform/types.h"

namespace plat {

class Window;

constexpr WPARAM kCloseBySignal = 1;

namespace app {
// Starts the display toolkit. Without a display it runs headless (the
// offscreen platform). Returns false when no toolkit could be started.
bool Init(int& argc, char** argv);
bool Started();
// Runs the loop until Quit; returns the exit code.
int Run();
void Quit(int code);
// Runs a nested loop until `done` returns true (modal boxes and dialogs):
// timers and posted messages keep being delivered inside it. A close request
// (RequestClose, a termination signal) or Quit ends every nested loop at
// once; the result is then false and the caller takes it as cancelled.
bool RunNested(const std::function<bool()>& done);
// How many nested loops are running now.
int NestingDepth();
// True while nested loops are being ended for a close: a modal box, dialog
// or menu opened now ends at once as cancelled.
bool ClosingModals();
// Asks `target` to close: every nested loop (dialog, message box, menu)
// ends first as cancelled, then WM_CLOSE with `wParam` reaches `target` from
// the outermost loop, so the close never runs under an open box.
// kCloseBySignal marks a close nobody can answer: boxes opened afterwards end
// at once too, and later requests are ignored (the close runs once).
void RequestClose(Window* target, WPARAM wParam);
// Idle hook: called whenever the loop has nothing to do. Returning true
// asks to be called again soon (after a short pause, never a busy loop).
void SetIdleHandler(std::function<bool()> handler);
// Input hook: key and mouse button presses anywhere in the program, given as
// WM_KEYDOWN, WM_SYSKEYDOWN, WM_LBUTTONDOWN ... before the window sees them.
void SetInputHook(std::function<void(unsigned msg)> hook);
// Every signal that would end the program and can be caught (SIGTERM,
// SIGINT, SIGHUP of a closed terminal, SIGQUIT, SIGUSR1/2, the timer and
// resource signals, the real-time ones) asks `target` to close
// (RequestClose with kCloseBySignal), so the close sequence runs once, with
// its unkeying, save and trace end, and knows no person is there to answer.
// SIGPIPE ends nothing: a write to a pipe, socket or port nobody reads fails
// with EPIPE instead. Called first without a target at program start, so
// that no signal during start-up kills the program unsaved; a later call
// names the window, and a signal that came before then closes it at once.
void InstallCloseSignals(Window* target = nullptr);
// True once a termination signal has asked for the close (a pending one is
// taken up here), so long work on the UI thread can stop and let it run.
bool CloseSignalled();
void SetWaitCursor(bool on);
Rect DesktopRect();
// Without a real display (offscreen) the screen the program lays itself out
// for is this size (an empty rectangle: the toolkit's own), so a layout is
// seen on the screens operators have.
void SetHeadlessDesktop(const Rect& r);
// True when the toolkit runs without a real display.
bool Headless();
}  // namespace app

// Messages posted to windows are delivered in order by the loop (or by
// DeliverPosted under test). Returns how many were delivered.
int DeliverPosted();
std::size_t PostedCount();

// One-shot: when `fd` has data to read, timer `id` of `w` falls due
// `quietMs` later (at least the 10 ms floor), so that what the far end
// started sending has arrived by then and one read takes it all. Lets an
// idle poll sleep without reading late. No effect under the manual clock,
// where time only moves on request.
void WakeTimerOnReadable(int fd, Window* w, unsigned id, unsigned quietMs = 0);
// Stops watching `fd` (a reply is awaited at a known time instead).
void StopWakeOnReadable(int fd);

// Timers (used by Window; also inspectable in tests). With the real clock a
// timer may run up to a twentieth of its period early when the loop wakes
// for another one anyway (at most 50 ms): timers that fall due close
// together then cost one wake-up. Under the manual clock they run on time.
void TimerSet(Window* w, unsigned id, unsigned ms);
// An armed timer runs as soon as the loop has finished the handlers it is
// running now, then keeps its period; nothing when it is not armed. Work
// queued by several handlers of one wake-up thus leaves together.
void TimerDueSoon(Window* w, unsigned id);
// Milliseconds until an armed timer falls due (0 when overdue), or -1.
long TimerDueIn(const Window* w, unsigned id);
void TimerKill(Window* w, unsigned id);
bool TimerExists(const Window* w, unsigned id);
unsigned TimerPeriod(const Window* w, unsigned id);
void TimerKillAll(const Window* w);
void PostedDropAll(const Window* w);
void PostTo(Window* w, unsigned msg, WPARAM wParam, LPARAM lParam);

// The last words of a program that dies of a fault (SIGSEGV, SIGBUS, SIGFPE,
// SIGILL, SIGABRT, SIGSYS, SIGTRAP) and cannot run its close: whatever
// holds the transmitter is let go without allocating, from what was armed
// here beforehand, and the signal then ends the program as it would have.
// A slot holds bytes to write to a port (a transmit-off frame, a keyer's
// key-up) and modem lines to drop on it. The port is checked to be the
// same device it was when armed, so a descriptor reused meanwhile for
// something else is left alone. One line on standard error says whether the
// transmitter was released, or what could not be done and why.
namespace fatal_release {
enum Slot : int { kRadioFrame, kKeyerFrame, kKeyLines, kRadioLines, kParallelControl, kSlotCount };
constexpr int kMaxBytes = 32;
void Arm(int slot, int fd, const std::uint8_t* bytes, int len, bool dropRts = false, bool dropDtr = false);
// A parallel port (ppdev) whose control register takes `value` on the way out.
void ArmControlRegister(int slot, int fd, std::uint8_t value);
void Disarm(int slot);
bool Armed(int slot);
// Carries out, outside a fault, whatever is still armed (a transmit-off the
// send pump could not write before the port closes) and disarms it. False,
// with what could not be done and why in the handler's words, when
// something failed.
bool ReleaseArmed(std::string& detail);
// Installs the handlers (once, at program start).
void Install();
}  // namespace fatal_release

}  // namespace plat
