#include "app/popup_text.h"

// Built with the window toggles and keys.
void ShowPopupText(const std::string& text) { (void)text; }
