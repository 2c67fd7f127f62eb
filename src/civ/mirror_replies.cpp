#include "civ/mirror_replies.h"

// Built with mirror mode.
void StoreMirrorReply(const std::uint8_t* buffer, int length, int position) {
    (void)buffer;
    (void)length;
    (void)position;
}

void ClearMirrorFlags() {}

void ApplyMirrorReplies() {}
