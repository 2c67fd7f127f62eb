// Reply store: frames from the radio kept by command until the end of the
// read, then processed once.
#pragma once
#include <cstdint>

// One frame of `length` bytes at `position` in the read buffer.
void StoreCivReply(const std::uint8_t* buffer, int length, int position);
// Clears the fresh marks of all reply slots.
void ClearReplyFlags();
// Applies the fresh slots; run once per read.
void ProcessCivReplies();
