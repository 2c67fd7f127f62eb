#include "base/colour_names.h"

#include <strings.h>

int g_color1red = 10, g_color1green = 10, g_color1blue = 10;
int g_color2red = 10, g_color2green = 10, g_color2blue = 10;
int g_lastcolorindex = 0;

const char* const kColourNames[17] = {"BLACK",  "WHITE",  "RED",    "GREEN",     "BLUE",    "YELLOW",
                                      "CYAN",   "PURPLE", "COLOR1", "COLOR2",    "GRAY",    "LO RED",
                                      "LO GREEN", "LO BLUE", "LO YELLOW", "LO CYAN", "LO PURPLE"};

namespace {
plat::Colour Mixed(int r, int g, int b) { return plat::RGB(r & 0xFF, g & 0xFF, b & 0xFF); }

plat::Colour ValueOf(int index) {
    static constexpr plat::Colour fixed[17] = {0x000000, 0xFFFFFF, 0x0000FF, 0x00FF00, 0xFF0000, 0x00FFFF,
                                               0xFFFF00, 0xFF00FF, 0,        0,        0xC0C0C0, 0x0000C0,
                                               0x00C000, 0xC00000, 0x00C0C0, 0xC0C000, 0xC000C0};
    if (index == 8) return Mixed(g_color1red, g_color1green, g_color1blue);
    if (index == 9) return Mixed(g_color2red, g_color2green, g_color2blue);
    return fixed[index];
}

// The two lookups search in different orders; the orders decide which name
// wins when an operator colour equals a fixed one.
constexpr int kToNameOrder[17] = {0, 1, 2, 3, 4, 5, 7, 6, 8, 9, 10, 11, 12, 13, 14, 15, 16};
constexpr int kToColourOrder[17] = {0, 1, 10, 2, 3, 4, 5, 7, 6, 8, 9, 11, 12, 13, 14, 16, 15};
}  // namespace

const char* ColorToName(plat::Colour c) {
    for (int index : kToNameOrder) {
        if (ValueOf(index) == c) {
            g_lastcolorindex = index;
            return kColourNames[index];
        }
    }
    return nullptr;
}

plat::Colour NameToColor(const char* name) {
    if (name == nullptr) return 0;
    for (int index : kToColourOrder)
        if (strcasecmp(name, kColourNames[index]) == 0) return ValueOf(index);
    return 0;
}
