// The main frame's keyboard shortcuts and their help text.
#pragma once
#include <span>

#include "platform/menu.h"

std::span<const plat::Accelerator> MainAccelerators();
// The text of the "Hot Keys" box.
const char* HotKeysText();
