#include "app/scheduled_events.h"

// Built with the scheduled events.
void CheckScheduledEvents() {}
