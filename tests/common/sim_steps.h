// The program's manual clock run in device-poll steps against simulated
// radios. The radios answer in real time on threads of their own, so after
// each step the line to every radio is settled both ways before the clock
// moves on: what the program wrote has been answered and the answer can be
// read at the next poll. A step's outcome then does not depend on how busy
// the machine is.
#pragma once
#include <functional>
#include <initializer_list>
#include <span>
#include <vector>

#include "platform/clock.h"
#include "sim/sim_radio.h"

namespace simsteps {

constexpr int kStepMs = 10;  // the program's device poll

using Radios = std::span<const sim::SimRadio* const>;

inline void Settle(Radios radios) {
    for (const sim::SimRadio* r : radios)
        if (r) r->settleLine();
}

// Advances the clock by `ms` in poll steps, settling after each.
inline void Run(int ms, Radios radios) {
    for (int t = 0; t < ms; t += kStepMs) {
        plat::manual_clock::Advance(kStepMs);
        Settle(radios);
    }
}

// Runs until `done` holds, at most `ms` of the program's clock; returns the
// program time it took, or -1.
inline int RunUntil(const std::function<bool()>& done, int ms, Radios radios) {
    for (int t = 0; t <= ms; t += kStepMs) {
        if (done()) return t;
        Run(kStepMs, radios);
    }
    return -1;
}

inline Radios List(std::initializer_list<const sim::SimRadio*> radios) { return {radios.begin(), radios.size()}; }
inline void Settle(std::initializer_list<const sim::SimRadio*> radios) { Settle(List(radios)); }
inline void Run(int ms, std::initializer_list<const sim::SimRadio*> radios) { Run(ms, List(radios)); }
inline int RunUntil(const std::function<bool()>& done, int ms, std::initializer_list<const sim::SimRadio*> radios) {
    return RunUntil(done, ms, List(radios));
}

}  // namespace simsteps
