#include "devices/cw_keyboard.h"

char g_cwmacro[5][64] = {};
