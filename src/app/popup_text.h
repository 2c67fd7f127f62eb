// The transient text over the main window.
#pragma once
#include <string>

void ShowPopupText(const std::string& text);
