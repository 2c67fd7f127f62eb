#include "civ/port_retry.h"

#include "base/trace_log.h"

bool PortRetry::Due(bool open, const char* device, const char* name) {
    if (open) {
        Reset();
        return false;
    }
    if (!waiting_) {
        waiting_ = true;
        seconds_ = 0;
        WriteTracef("%sport %s closed, retrying", device, name);
    }
    if (++seconds_ < kRetrySeconds) return false;
    seconds_ = 0;
    return true;
}

void PortRetry::Opened(const char* device, const char* name) {
    WriteTracef("%sport %s reopened", device, name);
    Reset();
}

void PortRetry::Reset() {
    waiting_ = false;
    seconds_ = 0;
}
