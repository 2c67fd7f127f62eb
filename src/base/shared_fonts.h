// The fonts every panel draws with, created by the main frame's constructor
// (and defined there). Declared down here so the panels and the settings
// window can use them without knowing the main frame.
#pragma once
#include "platform/font.h"

extern plat::Font* g_textfont;
extern plat::Font* g_boldfont;
extern plat::Font* g_plainfont;
extern plat::Font* g_microfont;
extern plat::Font* g_smallfont;
extern plat::Font* g_settingssmallfont;
extern plat::Font* g_settingsmicrofont;
