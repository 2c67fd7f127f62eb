// Mirror replies: in mirror mode the radio's answers go to a cache by
// command and sub-command and are applied once per read.
#pragma once
#include <cstdint>

void StoreMirrorReply(const std::uint8_t* buffer, int length, int position);
void ClearMirrorFlags();
void ApplyMirrorReplies();
