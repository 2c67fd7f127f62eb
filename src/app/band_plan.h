// Band data files and the built-in band plan of amateur privileges.
#pragma once

// The operator's licence class, [PREFERENCE] "LICENSE CLASS" (0..4).
extern int g_licenseclass;
