// The memory file ("*.rmy"): the station list as the window framework's
// object archive writes it, byte for byte, so that lists kept for years and
// passed between stations keep loading. Little-endian:
//   list object:  FF FF, schema 0, name length 7, "CObList", element count
//                 (a word; FF FF and a 32-bit count from 65535 up)
//   each station: the first with a new-class header (FF FF, schema 2,
//                 length 8, "CStation"), each later one with the class
//                 reference 03 80; then name, number (word), notes, country,
//                 language, mode, frequency (double), second frequency
//                 (double), filter.
//   strings:      length byte below 255, else FF and a word below FFFE, else
//                 FF FF FF and a 32-bit length, then the bytes; FF FE FF in
//                 front marks a UTF-16 string (length in characters).
#pragma once
#include <string>

#include "memories/station.h"

// The file image of `list`. Texts go out in Windows-1252; a text that has
// characters outside it goes out as UTF-16, which the format allows, so
// nothing typed is lost.
std::string WriteStationArchive(const StationList& list);

// Reads a file image into `list` (replaced only on success). Every count
// and length is checked against the bytes left; null and back-reference
// object tags, unknown classes and schemas are refused. On failure `error`
// says why and `list` is untouched.
bool ReadStationArchive(const std::string& bytes, StationList& list, std::string& error);

// Text conversions of the archive's 8-bit strings.
std::string Cp1252ToUtf8(const std::string& bytes);
// False when a character has no Windows-1252 code (the text is then
// written as UTF-16). Bytes that are not UTF-8 count as Latin-1.
bool Utf8ToCp1252(const std::string& text, std::string& out);
