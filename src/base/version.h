#pragma once
// The program's version text; it is also the main window's first title, the
// trace log's second line and the settings file's "VERSION" value.
inline constexpr const char kVersionText[] = "V3.52  ";
