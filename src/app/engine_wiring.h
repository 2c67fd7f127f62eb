// Connects the engine to the station above it: the devices and memories
// hear its announcements, the remote link, CAT-out, the tuner and the
// station list answer its questions, and its notices to the operator
// become message boxes. Called once at start-up, before the radio port opens.
#pragma once

void WireEngine();
// Undoes WireEngine (a test that wants the engine on its own).
void UnwireEngine();
