// Shared between the clock and the loop inside the platform layer only.
#pragma once
#include <cstdint>

namespace plat::detail {
// 64-bit monotonic milliseconds of the active clock (real or manual).
std::uint64_t NowMs();
bool ManualMode();
void SetManualNow(std::uint64_t ms);
// Fires every timer due at or before `upTo`, in due order; under the manual
// clock the clock is moved to each due time first.
void FireDueTimers(std::uint64_t upTo);
// Earliest due time of any timer, or UINT64_MAX.
std::uint64_t EarliestDue();
// Looks at every socket that asked for events and posts what is due (the
// manual clock's stand-in for the loop's socket notifiers).
void PollSockets();
}  // namespace plat::detail
