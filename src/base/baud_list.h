// The baud rates the settings window's list offers, in its order. The radio
// search steps through the same list.
#pragma once

// Baud rate of list entry n and back (an unlisted rate gives entry 4, "1200").
long BaudOfIndex(int n);
int IndexOfBaud(long baud);
