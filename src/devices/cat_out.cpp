#include "devices/cat_out.h"

int g_test = 0;

int g_activethp = 0;

// Built with the CAT-out ports.
int SendToTHP(const std::uint8_t* bytes, int length) {
    (void)bytes;
    (void)length;
    return -1;
}
void MuteSecondReceiver(int a) { (void)a; }
void SendMultiRxToTHP() {}
