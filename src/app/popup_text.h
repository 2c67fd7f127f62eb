// The transient text over the main window (the shell operations own it).
#pragma once
#include "app/shell_ops.h"
