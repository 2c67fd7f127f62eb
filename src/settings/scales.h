// Window scales and the font sizes that go with them.
#pragma once

struct ScaledFonts {
    int micro;
    int small;
};

// Font sizes for a window scale: 1.8 and up 20/22, 1.65 18/20, 1.45 16/18,
// 1.15 14/16, below 12/14.
ScaledFonts FontSizesForScale(double scale);

// Takes the scale texts of the settings window's edit fields: a scale that
// differs from the stored one is stored and its window's fonts derived.
void ApplyScaleEdits();
