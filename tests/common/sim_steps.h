// The program's manual clock run in device-poll steps against simulated
// radios. The radios answer in real time on threads of their own, so after
// each step the line to every radio is settled both ways before the clock
// moves on: what the program wrote has been answered and the answer can be
// read at the next poll. A step's outcome then does not depend on how busy
// the machine is.
#pragma once
#include <functional>
#include <initializer_list>

#include "platform/clock.h"
#include "sim/sim_radio.h"

namespace simsteps {

constexpr int kStepMs = 10;  // the program's device poll

inline void Settle(std::initializer_list<const sim::SimRadio*> radios) {
    for (const sim::SimRadio* r : radios)
        if (r) r->settleLine();
}

// Advances the clock by `ms` in poll steps, settling after each.
inline void Run(int ms, std::initializer_list<const sim::SimRadio*> radios) {
    for (int t = 0; t < ms; t += kStepMs) {
        plat::manual_clock::Advance(kStepMs);
        Settle(radios);
    }
}

// Runs until `done` holds, at most `ms` of the program's clock; returns the
// program time it took, or -1.
inline int RunUntil(const std::function<bool()>& done, int ms, std::initializer_list<const sim::SimRadio*> radios) {
    for (int t = 0; t <= ms; t += kStepMs) {
        if (done()) return t;
        Run(kStepMs, radios);
    }
    return -1;
}

}  // namespace simsteps
