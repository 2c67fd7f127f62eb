// Modal dialogs built from a window and its controls: RunModal shows the
// dialog and runs a nested loop (timers keep firing) until EndModal. Under
// test a scripted handler plays the person: it gets the dialog, clicks and
// types in it, and ends it.
#pragma once
#include <functional>

namespace plat {
class Window;

// Shows `dlg` and returns the code given to EndModal (IDCANCEL when the
// dialog is destroyed, nobody can answer, or a close request ended it).
int RunModal(Window* dlg);
void EndModal(Window* dlg, int code);

namespace modal_script {
// From now on RunModal calls `handler` with the dialog instead of waiting.
void SetHandler(std::function<void(Window*)> handler);
}  // namespace modal_script

}  // namespace plat
