// The memories' windows as children of the main frame, and the main
// frame's commands that belong to them (File menu, call lookup, the typed
// file name, the time stations, the about box).
#pragma once

namespace plat {
class Window;
}

// Creates "Station Memories", "Call Lookup" and "Memory File Name" hidden
// (the station window shown when [MEMORY WINDOW] "VISIBLE" was on).
void CreateMemoryWindows(plat::Window* frame);
void DestroyMemoryWindows();
// The window with child id `id` (1400, 2389, 2527), or null.
plat::Window* MemoryWindowById(int id);
// True when `id` was one of the memories' commands and has run.
bool OnMemoryCommand(unsigned id);
// Puts the windows' places and the station window's visibility into their
// settings, for the save at close.
void RecordMemoryWindowPlaces();
// The radio window's Recall button: the station window to the top.
void ShowStationWindow();
