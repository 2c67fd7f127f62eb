#include "civ/reply_store.h"

// Built with the reply processing.
void StoreCivReply(const std::uint8_t* buffer, int length, int position) {
    (void)buffer;
    (void)length;
    (void)position;
}

void ClearReplyFlags() {}

void ProcessCivReplies() {}
