#include "app/band_plan.h"

int g_licenseclass = 0;
