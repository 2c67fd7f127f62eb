// The settings readers' last step: the radio panel takes the loaded state,
// so the panel, the copies last sent and the saved values agree before the
// first state push and nothing reaches the radio that was not saved.
#pragma once

void PushLoadedStateToPanel();
