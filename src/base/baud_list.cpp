#include "base/baud_list.h"

namespace {
constexpr long kBauds[] = {2400, 4800, 9600, 19200, 1200, 38400, 57600, 115200};
}  // namespace

long BaudOfIndex(int n) { return n >= 0 && n < 8 ? kBauds[n] : 1200; }
int IndexOfBaud(long baud) {
    for (int n = 0; n < 8; ++n)
        if (kBauds[n] == baud) return n;
    return 4;
}
