// Per-radio-type capability bytes, indexed by the radio type (0..25). The
// settings store needs two of them to decide which keys a save writes and
// which band-stack filter indexes are valid.
#pragma once

// DIGI-SEL family: PSK modes, DIGI-SEL, twin peak, APF, the user buttons.
inline constexpr unsigned char g_hasdigisel[26] = {0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0,
                                                   0, 0, 0, 1, 0, 1, 0, 0, 0, 0, 0, 1, 0};
// DSP filters: the mode command carries filter slot 1..3, width by 1A 03.
inline constexpr unsigned char g_hasfilterwidth[26] = {0, 1, 0, 1, 0, 1, 0, 0, 0, 0, 0, 0, 1,
                                                       1, 0, 0, 1, 1, 1, 0, 1, 1, 1, 1, 0, 1};

// The capability byte of `table` for `type`; 0 for a type outside the list.
inline int ModelHas(const unsigned char (&table)[26], int type) {
    return type >= 0 && type < 26 ? table[type] : 0;
}
