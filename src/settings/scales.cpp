#include "settings/scales.h"

ScaledFonts FontSizesForScale(double scale) {
    if (scale >= 1.8) return {20, 22};
    if (scale >= 1.65) return {18, 20};
    if (scale >= 1.45) return {16, 18};
    if (scale >= 1.15) return {14, 16};
    return {12, 14};
}
