// Mirror replies: in mirror mode the radio's answers go to a cache by
// command and sub-command and are applied once per read, so the program
// follows the changes made on the radio's own front panel.
#pragma once
#include <cstdint>

// One frame of `length` bytes at `position` in the read buffer.
void StoreMirrorReply(const std::uint8_t* buffer, int length, int position);
// Clears the fresh marks of the slots the mirror alone keeps (and the
// frequency slot); the reply store's ClearReplyFlags clears the shared ones.
void ClearMirrorFlags();
// Applies the fresh slots in their fixed order; run once per read.
void ApplyMirrorReplies();

// The ModeChar of a mirrored mode byte; 0 for a byte outside the mode table.
int MirrorModeChar(int civByte);
