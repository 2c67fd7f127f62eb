// Radio models and CI-V addressing: the radio type, the addresses and the
// per-type capability tables.
#pragma once

extern int g_radiotype;   // [OPERATING STATUS] "QARV", 0..25 after the fix-up
extern int g_myaddr;      // controller address, "MYADR" (default 224, E0)
extern int g_civindex;    // "CIV": address list index; 207 and above mean the type's default
extern int g_radioadr;    // the radio's CI-V address used in every frame
extern int g_7600fw2;     // "7600 FW2": frequencies go with command 25
extern int g_model7610;   // type 24 running as type 18
extern int g_perseus;     // type 19 running as type 13
extern int g_oldradio;    // old-radio dialect of the generic type: 0, 1 or 2
