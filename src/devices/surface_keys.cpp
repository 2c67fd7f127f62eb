#include "devices/surface_keys.h"

char g_flexkeys[11][128];
char g_tmate2keys[11][128];
char g_podkeys[14][128];

// The action tables these map into come with the control surfaces.
void LoadPodKeys() {}
void LoadTMate2Keys() {}
void LoadFlexKeys() {}
