// A stand-in for the TMate2 vendor library: the same exports, with knob
// counters, buttons and the LCD calls under the test's control.
#include <cstring>

namespace {
int g_values[4] = {0, 0, 0, 0x1FF};  // main, centre, left, buttons (all up)
int g_readresult = 0;
int g_openresult = 0;
int g_opens = 0;
int g_lcdcalls = 0;
unsigned long g_mainnumber = 0;
int g_smeternumber = 0;
unsigned char g_lastlcd[44];
}  // namespace

extern "C" {
int TMate2OpenConnection() {
    ++g_opens;
    return g_openresult;
}
int TMate2CloseConnection() { return 0; }
int TMate2ReadValue(int* main, int* centre, int* left, int* buttons) {
    *main = g_values[0];
    *centre = g_values[1];
    *left = g_values[2];
    *buttons = g_values[3];
    return g_readresult;
}
int TMate2SetSegment(unsigned char* lcd, int segment, int on) {
    if (segment < 0 || segment >= 256) return -1;
    if (on)
        lcd[segment / 8] |= (unsigned char)(1u << (segment % 8));
    else
        lcd[segment / 8] &= (unsigned char)~(1u << (segment % 8));
    return 0;
}
int TMate2SetLcd(unsigned char* lcd) {
    ++g_lcdcalls;
    std::memcpy(g_lastlcd, lcd, sizeof g_lastlcd);
    return 0;
}
int TMate2WriteNumberOnMainDisplay(unsigned char*, unsigned long n) {
    g_mainnumber = n;
    return 0;
}
int TMate2WriteNumberOnSmeterDisplay(unsigned char*, int n) {
    g_smeternumber = n;
    return 0;
}

// Test controls.
void FakeTMate2Set(int main, int centre, int left, int buttons) {
    g_values[0] = main;
    g_values[1] = centre;
    g_values[2] = left;
    g_values[3] = buttons;
}
void FakeTMate2SetResults(int open, int read) {
    g_openresult = open;
    g_readresult = read;
}
int FakeTMate2LcdCalls() { return g_lcdcalls; }
unsigned long FakeTMate2MainNumber() { return g_mainnumber; }
int FakeTMate2SmeterNumber() { return g_smeternumber; }
const unsigned char* FakeTMate2Lcd() { return g_lastlcd; }
}
