// Scheduled frequency changes from "events.txt".
#pragma once

void CheckScheduledEvents();
