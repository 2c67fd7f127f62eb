// Modal message boxes. Timers and posted messages keep being delivered while
// a box is open. Under test the answers are scripted and every box is
// recorded, so nothing waits for a person.
#pragma once
#include <functional>
#include <string>
#include <vector>

namespace plat {

class Window;

int MessageBox(Window* owner, const std::string& text, const std::string& caption, unsigned type);
// The system's alert sound of a box of `type` (MB_ICONEXCLAMATION ...);
// silent without a display or under scripted boxes.
void MessageBeep(unsigned type);
// How many alert sounds the program asked for (sounded or not), for tests.
unsigned BeepCount();

namespace message_box_script {
struct Shown {
    std::string text;
    std::string caption;
    unsigned type;
};
// From now on boxes are not shown: each returns the next pushed answer, or
// the box's first button (IDOK, IDYES) when none is left.
void Enable();
bool Enabled();
void PushAnswer(int answer);
// From now on each box is held open by `holder`, which plays the person
// while it is up: the program's loop runs around it as it moves the clock,
// as it does around a real box, and its result is the answer. An empty
// holder: boxes answer at once again.
void SetHolder(std::function<int(const Shown&)> holder);
const std::vector<Shown>& History();
void Clear();
}  // namespace message_box_script

}  // namespace plat
