#include "civ/radio_models.h"

int g_radiotype = 0;
int g_myaddr = 0xE0;
int g_civindex = 207;
int g_radioadr = 0x5C;
int g_7600fw2 = 0;
int g_model7610 = 0;
int g_perseus = 0;
int g_oldradio = 0;
