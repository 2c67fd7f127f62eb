// One station memory and the program's list of them. Texts are kept in
// UTF-8; the memory file stores them in the framework's archive form.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

struct CStation {
    std::string name;          // name or identifier
    double frequency = 15.0;   // MHz
    double frequency2 = 0;     // second frequency, MHz (0: none)
    std::uint16_t number = 0;
    std::string notes;         // free text with the recall directives
    std::string country;
    std::string spare;         // not archived
    std::string language = "English";
    std::string mode = "AM";   // mode word: "AM", "USB", "CW" ...
    std::string filter;        // filter word: "FIL2", "3.6 kHz " ...
    std::string spare2, spare3;  // not archived
};

using StationList = std::vector<CStation>;

// The station list in insertion order; a station's position in it is the
// item data of its row in the station window.
extern StationList g_stationlist;
