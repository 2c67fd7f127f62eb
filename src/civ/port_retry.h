// Quiet reopening of a serial port that is wanted but closed: lost in use
// (an unplugged USB adapter, a radio switched off) or missing when it was
// opened. The one-second upkeep asks every second; an open is tried every few
// seconds, without a message box, and each change of state is traced once.
#pragma once

class PortRetry {
public:
    static constexpr int kRetrySeconds = 3;

    // One second of upkeep for a wanted port; `device` is the word of the
    // port's error box ("Primary "). True when an open should be tried now.
    bool Due(bool open, const char* device, const char* name);
    // The try opened the port.
    void Opened(const char* device, const char* name);
    // The port is no longer wanted (switched off, or taken by a search).
    void Reset();

private:
    int seconds_ = 0;
    bool waiting_ = false;
};
