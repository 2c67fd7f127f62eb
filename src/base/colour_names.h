// The named colours of the windows: the settings file stores a colour by its
// name. Two of them ("COLOR1", "COLOR2") are mixed by the operator.
#pragma once
#include "platform/paint.h"

// [RADIO WINDOW] "COLOR1 RED".."COLOR2 BLUE" (default 10 each).
extern int g_color1red, g_color1green, g_color1blue;
extern int g_color2red, g_color2green, g_color2blue;
// List index of the last colour ColorToName named (the settings window selects it).
extern int g_lastcolorindex;

// The 17 names in list order (the settings window's colour lists).
extern const char* const kColourNames[17];

// Name of a colour value, or nullptr when it has none (the index is then kept).
const char* ColorToName(plat::Colour c);
// Colour of a name, compared without case; unknown names give black.
plat::Colour NameToColor(const char* name);
