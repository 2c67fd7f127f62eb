// The radio window's captions and buttons that the settings window sets:
// band, user, CW memory and step buttons, and the tuner buttons. Each goes
// through the radio panel's view, so nothing happens while there is no
// radio window.
#pragma once
#include <string>

namespace settings {

// The broadcast band buttons 40132..40142 from the working captions (an
// empty caption shows the button's own).
void CaptionBandButtons();
// The user buttons 1516..1519 from the user-button captions.
void CaptionUserButtons();
// The CW memory buttons 589..593 from the five CW memory tags.
void CaptionCwButtons();
// Step button n (1..6) for a step of `hz`.
void CaptionStepButton(int n, int hz);
// The tuner buttons for a tuner selection: none for 0, the radio's two for
// 1, the AT-200PC's eight for 4.
void ShowTunerButtons(int selection);

}  // namespace settings
