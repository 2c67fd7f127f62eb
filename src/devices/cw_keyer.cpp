#include "devices/cw_keyer.h"

// Built with the serial keyer.
void kstats(int speed, int weight) {
    (void)speed;
    (void)weight;
}
