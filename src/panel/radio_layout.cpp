#include "panel/radio_layout.h"

#include <cstring>

#include "base/panel_options.h"
#include "civ/band_table.h"
#include "civ/civ_options.h"
#include "civ/radio_models.h"

namespace radio_layout {

namespace {
using K = Kind;
using S = Show;

// Design units, rows every 19 or 20, buttons 17 high. Places the design
// puts left of the window's edge (the user buttons, the DSP row and its
// sliders, "M Sliders") have their own places here: the user buttons under
// the band columns, the DSP switches and every level slider in the slider
// strip along the bottom, "M Sliders" at the strip's right end.
const std::vector<Item> kItems = {
    {5155, K::DigitA, "", 200, 38, 223, 67, S::Always, false, -1, nullptr},
    {5156, K::DigitA, "", 223, 38, 246, 67, S::Always, false, -1, "Use Mouse Wheel to Tune Digit Up or Down"},
    {5157, K::DigitA, "", 246, 38, 269, 67, S::Always, false, -1, "Use Mouse Wheel to Tune Digit Up or Down"},
    {5158, K::DigitA, "", 269, 38, 292, 67, S::Always, false, -1, "Use Mouse Wheel to Tune Digit Up or Down"},
    {5159, K::DigitA, "", 292, 38, 315, 67, S::Always, false, -1, "Use Mouse Wheel to Tune Digit Up or Down"},
    {5160, K::DigitA, "", 315, 38, 338, 67, S::Always, false, -1, "Use Mouse Wheel to Tune Digit Up or Down"},
    {5161, K::DigitA, "", 338, 38, 361, 67, S::Always, false, -1, "Use Mouse Wheel to Tune Digit Up or Down"},
    {5162, K::DigitA, "", 361, 38, 384, 67, S::Always, false, -1, "Use Mouse Wheel to Tune Digit Up or Down"},
    {5164, K::DigitB, "", 200, 7, 215, 27, S::Always, false, -1, nullptr},
    {5165, K::DigitB, "", 215, 7, 230, 27, S::Always, false, -1, "Use Mouse Wheel to Tune Digit Up or Down"},
    {5166, K::DigitB, "", 230, 7, 245, 27, S::Always, false, -1, "Use Mouse Wheel to Tune Digit Up or Down"},
    {5167, K::DigitB, "", 245, 7, 260, 27, S::Always, false, -1, "Use Mouse Wheel to Tune Digit Up or Down"},
    {5168, K::DigitB, "", 260, 7, 275, 27, S::Always, false, -1, "Use Mouse Wheel to Tune Digit Up or Down"},
    {5169, K::DigitB, "", 275, 7, 290, 27, S::Always, false, -1, "Use Mouse Wheel to Tune Digit Up or Down"},
    {5170, K::DigitB, "", 290, 7, 305, 27, S::Always, false, -1, "Use Mouse Wheel to Tune Digit Up or Down"},
    {5171, K::DigitB, "", 305, 7, 320, 27, S::Always, false, -1, "Use Mouse Wheel to Tune Digit Up or Down"},
    {2358, K::Scale, "", 100, 80, 500, 105, S::Always, false, -1, "Frequency Scale, drag or double click"},
    {9106, K::Label, "", 52, 9, 86, 24, S::Always, false, -1, "VFO B Tuning Step"},
    {9102, K::Label, "", 88, 9, 140, 24, S::Always, false, -1, "VFO B Mode"},
    {9104, K::Label, "", 142, 9, 196, 24, S::Always, false, -1, "VFO B Filter Width"},
    {9101, K::Label, "", 52, 39, 110, 53, S::Always, false, -1, "VFO A Mode"},
    {9105, K::Label, "", 112, 39, 196, 53, S::Always, false, -1, "VFO A Tuning Step, click to choose"},
    {9103, K::Label, "", 52, 55, 196, 69, S::Always, false, -1, "VFO A Filter Width"},
    {9107, K::Label, "", 322, 8, 390, 20, S::Always, false, -1, "Local Time"},
    {9108, K::Label, "", 322, 21, 390, 33, S::Always, false, -1, "UTC Time"},
    {9200, K::Meter, "", 392, 8, 548, 74, S::Always, false, -1, "Meter: the reading selected with S Meter"},
    {9201, K::Meter, "", 392, 8, 548, 74, S::Hidden, false, -1, nullptr},
    {2401, K::FilterGraphic, "", 505, 82, 600, 105, S::Always, false, -1, "Shows Filter Width, can be dragged for PBT"},
    {100, K::Button, "AM", 195, 110, 235, 127, S::Always, false, -1, "AM Mode"},
    {102, K::Button, "LSB", 195, 130, 235, 147, S::Always, false, -1, "LSB Mode"},
    {101, K::Button, "USB", 195, 150, 235, 167, S::Always, false, -1, "USB Mode"},
    {103, K::Button, "CW", 195, 170, 235, 187, S::Always, false, -1, "CW Mode"},
    {105, K::Button, "FM", 195, 190, 235, 207, S::Not17, false, -1, "FM Mode"},
    {109, K::Button, "", 195, 210, 235, 227, S::NotPerseus, false, -1, "Digital Mode 2"},
    {6126, K::Button, "SAM", 195, 210, 235, 227, S::Perseus, false, -1, nullptr},
    {179, K::Button, "DV", 2, 62, 44, 79, S::Model20, false, -1, nullptr},
    {9300, K::Frame, "Memory", 10, 110, 181, 247, S::Always, false, -1, nullptr},
    {401, K::FilterButton, "", 65, 150, 103, 167, S::Always, false, -1, "Filter Setting, Right Click to Change"},
    {402, K::FilterButton, "", 104, 150, 142, 167, S::Always, false, -1, "Filter Setting, Right Click to Change"},
    {403, K::FilterButton, "", 143, 150, 181, 167, S::Always, false, -1, "Filter Setting, Right Click to Change"},
    {404, K::FilterButton, "", 65, 170, 103, 187, S::Always, false, -1, "Filter Setting, Right Click to Change"},
    {405, K::FilterButton, "", 104, 170, 142, 187, S::Always, false, -1, "Filter Setting, Right Click to Change"},
    {406, K::FilterButton, "", 143, 170, 181, 187, S::Always, false, -1, "Filter Setting, Right Click to Change"},
    {407, K::FilterButton, "", 65, 190, 103, 207, S::Always, false, -1, "Filter Setting, Right Click to Change"},
    {408, K::FilterButton, "", 104, 190, 142, 207, S::Always, false, -1, "Filter Setting, Right Click to Change"},
    {409, K::FilterButton, "", 143, 190, 181, 207, S::Always, false, -1, "Filter Setting, Right Click to Change"},
    {410, K::FilterButton, "", 65, 210, 103, 227, S::Always, false, -1, "Filter Setting, Right Click to Change"},
    {411, K::FilterButton, "", 104, 210, 142, 227, S::Always, false, -1, "Filter Setting, Right Click to Change"},
    {412, K::FilterButton, "", 143, 210, 181, 227, S::Always, false, -1, "Filter Setting, Right Click to Change"},
    {169, K::Button, "PBT", 365, 110, 405, 127, S::Always, false, -1, "Toggle PBT, use drag window to right"},
    {164, K::Button, "RIT", 365, 130, 405, 147, S::Always, false, -1, "Toggle RIT, use drag window to right"},
    {165, K::Button, "XIT", 365, 150, 405, 167, S::Always, false, -1, "Toggle XIT, use drag window to right"},
    {229, K::Button, "A / B", 365, 170, 405, 187, S::Always, false, -1, "Swap Program VFO A and B"},
    {225, K::Button, "A = B", 365, 190, 405, 207, S::Always, false, -1, "Make Program VFO B Same as VFO A"},
    {122, K::Button, "SPLIT", 365, 210, 405, 227, S::Always, false, -1, "Toggle Split Transmit On/Off"},
    {107, K::Button, "LOCK", 365, 230, 405, 247, S::Always, false, -1, "Block the Program from Changing Frequency"},
    {40034, K::Button, "Fast", 411, 170, 439, 187, S::Agc4, false, -1, "Set AGC to Fast,, see pref2 for defaults "},
    {40035, K::Button, "Med", 440, 170, 468, 187, S::Agc4, false, -1, "Set AGC to Medium, see pref2 for defaults"},
    {40036, K::Button, "Slow", 469, 170, 497, 187, S::Agc4, false, -1, "Set AGC to Slow, see pref2 for defaults"},
    {2489, K::Button, "Man", 498, 170, 527, 187, S::Agc4, false, -1, nullptr},
    {40034, K::Button, "Fast", 411, 170, 449, 187, S::Agc3, false, -1, "Set AGC to Fast,, see pref2 for defaults "},
    {40035, K::Button, "Med", 450, 170, 488, 187, S::Agc3, false, -1, "Set AGC to Medium, see pref2 for defaults"},
    {40036, K::Button, "Slow", 489, 170, 527, 187, S::Agc3, false, -1, "Set AGC to Slow, see pref2 for defaults"},
    {2489, K::Button, "Man", 498, 170, 527, 187, S::Agc3Man, false, -1, nullptr},
    {108, K::HoldButton, "XFC", 411, 190, 449, 207, S::Always, false, -1, "Temp Swap of VFO A and B if Split On"},
    {2522, K::Button, "Re-Initialize", 450, 190, 527, 207, S::Always, false, -1, "Resync Program Buttons with Radio"},
    {701, K::Button, "", 411, 210, 456, 227, S::Always, false, -1, "Frequency Step Button 1, see Settings Steps Window"},
    {702, K::Button, "", 457, 210, 502, 227, S::Always, false, -1, "Frequency Step Button 2, see Settings Steps Window"},
    {703, K::Button, "", 503, 210, 548, 227, S::Always, false, -1, "Frequency Step Button 3, see Settings Steps Window"},
    {704, K::Button, "", 411, 230, 456, 247, S::Always, false, -1, "Frequency Step Button 4, see Settings Steps Window"},
    {705, K::Button, "", 457, 230, 502, 247, S::Always, false, -1, "Frequency Step Button 5, see Settings Steps Window"},
    {706, K::Button, "", 503, 230, 548, 247, S::Always, false, -1, "Frequency Step Button 6, see Settings Steps Window"},
    {40022, K::Button, "160", 605, 24, 635, 41, S::Always, false, 0, nullptr},
    {40023, K::Button, "80", 605, 43, 635, 60, S::Always, false, 1, nullptr},
    {40024, K::Button, "40", 605, 62, 635, 79, S::Always, false, 2, nullptr},
    {40025, K::Button, "30", 605, 81, 635, 98, S::Always, false, 3, nullptr},
    {40026, K::Button, "20", 605, 100, 635, 117, S::Always, false, 4, nullptr},
    {40027, K::Button, "17", 605, 119, 635, 136, S::Always, false, 5, nullptr},
    {40029, K::Button, "15", 605, 138, 635, 155, S::Always, false, 6, nullptr},
    {40030, K::Button, "12", 605, 157, 635, 174, S::Always, false, 7, nullptr},
    {40028, K::Button, "10", 605, 176, 635, 193, S::Always, false, 8, nullptr},
    {40125, K::Button, "6", 605, 195, 635, 212, S::Always, false, 18, nullptr},
    {40122, K::Button, "160", 638, 24, 668, 41, S::Always, false, 10, nullptr},
    {40123, K::Button, "80", 638, 43, 668, 60, S::Always, false, 11, nullptr},
    {40032, K::Button, "60", 638, 62, 668, 79, S::Always, false, 39, nullptr},
    {40124, K::Button, "40", 638, 81, 668, 98, S::Always, false, 12, nullptr},
    {40126, K::Button, "20", 638, 100, 668, 117, S::Always, false, 13, nullptr},
    {40127, K::Button, "17", 638, 119, 668, 136, S::Always, false, 14, nullptr},
    {40129, K::Button, "15", 638, 138, 668, 155, S::Always, false, 15, nullptr},
    {40130, K::Button, "12", 638, 157, 668, 174, S::Always, false, 16, nullptr},
    {40128, K::Button, "10", 638, 176, 668, 193, S::Always, false, 17, nullptr},
    {40031, K::Button, "6", 638, 195, 668, 212, S::Always, false, 9, nullptr},
    {40131, K::Button, "2", 638, 214, 668, 231, S::Always, false, 19, nullptr},
    {40144, K::Button, "GEN", 638, 233, 668, 250, S::Always, false, 32, nullptr},
    {40132, K::Button, "60", 671, 24, 701, 41, S::Always, false, 20, nullptr},
    {40133, K::Button, "49", 671, 43, 701, 60, S::Always, false, 21, nullptr},
    {40134, K::Button, "41", 671, 62, 701, 79, S::Always, false, 22, nullptr},
    {40135, K::Button, "31", 671, 81, 701, 98, S::Always, false, 23, nullptr},
    {40136, K::Button, "25", 671, 100, 701, 117, S::Always, false, 24, nullptr},
    {40137, K::Button, "22", 671, 119, 701, 136, S::Always, false, 25, nullptr},
    {40138, K::Button, "19", 671, 138, 701, 155, S::Always, false, 26, nullptr},
    {40139, K::Button, "16", 671, 157, 701, 174, S::Always, false, 27, nullptr},
    {40140, K::Button, "13", 671, 176, 701, 193, S::Always, false, 28, nullptr},
    {40141, K::Button, "11", 671, 195, 701, 212, S::Always, false, 29, nullptr},
    {40142, K::Button, "M W", 671, 214, 701, 231, S::Always, false, 30, nullptr},
    {430, K::Button, "Tune", 557, 5, 599, 22, S::Always, false, -1, "Transmit a Carrier, see pref3"},
    {126, K::Button, "Attn", 557, 24, 599, 41, S::Always, false, -1, "Attenuator Setting"},
    {173, K::Button, "PreAmp", 557, 43, 599, 60, S::Always, false, -1, "PreAmp Setting"},
    {2517, K::Button, "S Meter", 557, 62, 599, 79, S::MeterSel, false, -1, "S Meter Setting during Transmit"},
    {214, K::Button, "Mon", 605, 214, 636, 231, S::Not17, false, -1, "Toggle Transmit Monitoring On/Off"},
    {555, K::Button, "AmTn", 605, 233, 636, 250, S::Always, false, -1, "Amplifier Power Setting, see Help file for AMTN"},
    {230, K::Button, "PTT", 605, 252, 636, 269, S::Always, false, -1, "Push to Talk, see pref3"},
    {560, K::Button, "I D", 671, 233, 701, 250, S::Always, false, -1, "Send Call for ID in CW, see Auto CW ID in pref3"},
    {597, K::Button, "D M", 671, 252, 701, 269, S::Always, false, -1, "Data Mode"},
    // The mute toggle (Alt+M) joins the transmit buttons, in the free place
    // under "GEN" between "PTT" and "D M".
    {114, K::Button, "Mute", 638, 252, 668, 269, S::Always, false, -1, nullptr},
    {238, K::Button, "ManMD", 2, 5, 44, 22, S::Always, false, -1, "Manual Mode"},
    {1402, K::Button, "Vox", 2, 24, 44, 41, S::Always, false, -1, nullptr},
    {1407, K::Button, "Bk-In", 2, 43, 44, 60, S::Always, false, -1, "Break In Setting"},
    {2494, K::Button, "Rx Ant", 2, 62, 44, 79, S::RxAnt, false, -1, "Receive Only Antenna"},
    {2364, K::Button, "NBlk", -42, 24, 0, 41, S::NbLeftMost, false, -1, "Noise Blanker On/Off"},
    {2364, K::Button, "NBlk", 2, 62, 44, 79, S::NbLeft, false, -1, "Noise Blanker On/Off"},
    {2512, K::Button, "APF", -42, 5, 0, 22, S::DigiSel, false, -1, "Toggles the Audio Peak Filter On/Off"},
    {2532, K::Button, "IP+", -42, 5, 0, 22, S::Model23, false, -1, "Improve Third Order Intercept"},
    {2495, K::Button, "ANotch", -42, 43, 0, 60, S::Levels, false, -1, "Automatic Notch On/Off"},
    {2493, K::Button, "Ant 1", -42, 62, 0, 79, S::NotDigiSel, false, -1, "Antenna for VFO A"},
    {2533, K::Button, "Nw Wid", -42, 62, 0, 79, S::DigiSel, false, -1, "Manual Notch Width Setting"},
    {1516, K::Button, "User1", 605, 280, 651, 297, S::DigiSel, false, -1, nullptr},
    {1517, K::Button, "User2", 655, 280, 701, 297, S::DigiSel, false, -1, nullptr},
    {1518, K::Button, "User3", 605, 300, 651, 317, S::DigiSel, false, -1, nullptr},
    {1519, K::Button, "User4", 655, 300, 701, 317, S::DigiSel, false, -1, nullptr},
    {419, K::Button, "Store", 14, 124, 54, 141, S::Always, false, -1, "Store Current Frequency in Memory Window"},
    {420, K::Button, "Recall", 56, 124, 96, 141, S::Always, false, -1, "Recall a Memory from Memory Window"},
    {422, K::Button, "Scan", 98, 124, 138, 141, S::Always, false, -1, "Scan the Current Memory File"},
    {424, K::Button, "Time", 140, 124, 180, 141, S::Always, false, -1, nullptr},
    {2406, K::Button, "VFO A", 245, 110, 299, 127, S::TouchOff, false, -1, "Left or Right click Down or Up Freq VFO A"},
    {2407, K::Button, "VFO B", 301, 110, 355, 127, S::TouchOff, false, -1, "Left or Right click Down or Up Freq VFO B"},
    {2410, K::Button, "FAST A", 245, 130, 299, 147, S::TouchOff, false, -1, "Same as VFO A except Faster"},
    {2411, K::Button, "FAST B", 301, 130, 355, 147, S::TouchOff, false, -1, "Same as VFO B except Faster"},
    {2408, K::Button, "FILTER A", 245, 150, 299, 167, S::TouchOff, false, -1, "Left or Right click Down or Up VFO A Filter"},
    {2409, K::Button, "FILTER B", 301, 150, 355, 167, S::TouchOff, false, -1, "Left or Right click Down or Up VFO B Filter"},
    {2418, K::Button, "LO CUT", 245, 170, 299, 187, S::TouchOff, false, -1, "Left or Right click Down or Up Locut Freq"},
    {2490, K::Button, "HI CUT", 301, 170, 355, 187, S::TouchOff, false, -1, "Left or Right click Down or Up Hicut Freq"},
    {2406, K::Button, "VFO", 245, 110, 273, 127, S::TouchOn, false, -1, "Left or Right click Down or Up Freq VFO A"},
    {2412, K::Button, "A", 273, 110, 299, 127, S::TouchOn, false, -1, "Left or Right click Down or Up Freq VFO A"},
    {2407, K::Button, "VFO", 301, 110, 329, 127, S::TouchOn, false, -1, "Left or Right click Down or Up Freq VFO B"},
    {2413, K::Button, "B", 329, 110, 355, 127, S::TouchOn, false, -1, "Left or Right click Down or Up Freq VFO B"},
    {2410, K::Button, "FAST", 245, 130, 273, 147, S::TouchOn, false, -1, "Same as VFO A except Faster"},
    {2416, K::Button, "A", 273, 130, 299, 147, S::TouchOn, false, -1, "Same as VFO A except Faster"},
    {2411, K::Button, "FAST", 301, 130, 329, 147, S::TouchOn, false, -1, "Same as VFO B except Faster"},
    {2417, K::Button, "B", 329, 130, 355, 147, S::TouchOn, false, -1, "Same as VFO B except Faster"},
    {2408, K::Button, "FILTER", 245, 150, 273, 167, S::TouchOn, false, -1, "Left or Right click Down or Up VFO A Filter"},
    {2414, K::Button, "A", 273, 150, 299, 167, S::TouchOn, false, -1, "Left or Right click Down or Up VFO A Filter"},
    {2409, K::Button, "FILTER", 301, 150, 329, 167, S::TouchOn, false, -1, "Left or Right click Down or Up VFO B Filter"},
    {2415, K::Button, "B", 329, 150, 355, 167, S::TouchOn, false, -1, "Left or Right click Down or Up VFO B Filter"},
    {2418, K::Button, "LO", 245, 170, 273, 187, S::TouchOn, false, -1, "Left or Right click Down or Up Locut Freq"},
    {2419, K::Button, "CUT", 273, 170, 299, 187, S::TouchOn, false, -1, "Left or Right click Down or Up Locut Freq"},
    {2490, K::Button, "HI", 301, 170, 329, 187, S::TouchOn, false, -1, "Left or Right click Down or Up Hicut Freq"},
    {2491, K::Button, "CUT", 329, 170, 355, 187, S::TouchOn, false, -1, "Left or Right click Down or Up Hicut Freq"},
    {2386, K::Drag, "", 411, 110, 527, 139, S::Always, true, -1, "PBT Drag Scale, right click to set to zero"},
    {2382, K::Drag, "", 411, 140, 527, 169, S::Always, true, -1, "RIT/XIT Drag Scale, right click to set to zero"},
    {1514, K::Button, "KS", -40, 280, -14, 295, S::Always, true, -1, nullptr},
    {726, K::Slider, "", -37, 298, -17, 372, S::Always, true, -1, "Keyer Speed"},
    {1520, K::Button, "SQ", -10, 280, 16, 295, S::Always, true, -1, nullptr},
    {2387, K::Slider, "", -7, 298, 13, 372, S::Always, true, -1, "Squelch"},
    {9310, K::Label, "VA", 20, 280, 46, 295, S::Always, true, -1, nullptr},
    {2360, K::Slider, "", 23, 298, 43, 372, S::Always, true, -1, "Volume VFO A"},
    {9311, K::Label, "VB", 50, 280, 76, 295, S::Always, true, -1, nullptr},
    {441, K::Slider, "", 53, 298, 73, 372, S::Always, true, -1, "Volume VFO B"},
    {9312, K::Label, "PWR", 80, 280, 106, 295, S::Always, true, -1, "Transmit power (W)"},
    {725, K::Slider, "", 83, 298, 103, 372, S::Always, true, -1, "Transmit Power"},
    {9313, K::Label, "RF", 110, 280, 136, 295, S::Always, true, -1, nullptr},
    {2359, K::Slider, "", 113, 298, 133, 372, S::Always, true, -1, "RF Gain"},
    {9314, K::Label, "SRF", 140, 280, 166, 295, S::DualRx, true, -1, nullptr},
    {2600, K::Slider, "", 143, 298, 163, 372, S::DualRx, true, -1, nullptr},
    {2364, K::Button, "NB", 170, 280, 196, 295, S::NbDspRow, true, -1, "Toggles the Noise Blanker On/Off"},
    {9318, K::Label, "NB", 170, 280, 196, 295, S::LevelsNotDigiSel, true, -1, nullptr},
    {1544, K::Slider, "", 173, 298, 193, 372, S::Levels, true, -1, "Sets the Noise Blanker Level"},
    {9322, K::Label, "", 168, 374, 198, 388, S::Levels, true, -1, "Noise Blanker Level"},
    {2505, K::Button, "NR", 200, 280, 226, 295, S::Levels, true, -1, "Noise Reduction On/Off"},
    {563, K::Slider, "", 203, 298, 223, 372, S::Levels, true, -1, "Noise Reduction Setting"},
    {9315, K::Label, "AG", 230, 280, 256, 295, S::Levels, true, -1, nullptr},
    {2510, K::Slider, "", 233, 298, 253, 372, S::Levels, true, -1, "Sets the AGC Variable Rate Time Constant"},
    {9316, K::Label, "NO", 260, 280, 286, 295, S::Notch, true, -1, nullptr},
    {2511, K::Slider, "", 263, 298, 283, 372, S::Notch, true, -1, "Sets the Manual Notch Center Frequency"},
    {9317, K::Label, "AF", 290, 280, 316, 295, S::DigiSelNot18, true, -1, nullptr},
    {2514, K::Slider, "", 293, 298, 313, 372, S::DigiSelNot18, true, -1, "Sets the Audio Peak Filter Center Frequency"},
    {9321, K::Label, "", 288, 374, 318, 388, S::DigiSelNot18, true, -1, "Audio Peak Filter Offset (Hz)"},
    {2526, K::Button, "DS", 320, 280, 346, 295, S::DigiSelNot18, true, -1, "Toggles the Digital Selector On/Off"},
    {2625, K::Slider, "", 323, 298, 343, 372, S::DigiSelNot18, true, -1, "Sets the Digital Selector Frequency"},
    {2508, K::Button, "M Sliders", 352, 298, 404, 315, S::Hidden, true, -1, "With DUAL On, Toggle between Main and Sub Receiver Sliders"},
    {564, K::Button, "Tuner On", -3, 257, 49, 274, S::Tuner123, true, -1, "Internal Tuner On"},
    {566, K::Button, "Tuner Off", 51, 257, 103, 274, S::Tuner123, true, -1, "Internal Tuner Off"},
    {564, K::Button, "Auto Tnr", -16, 257, 31, 274, S::TunerLdg, true, -1, nullptr},
    {566, K::Button, "Off", 32, 257, 55, 274, S::TunerLdg, true, -1, nullptr},
    {6120, K::Button, "Ant1", 56, 257, 85, 274, S::TunerLdg, true, -1, nullptr},
    {567, K::Button, "Cap", 86, 257, 108, 274, S::TunerLdg, true, -1, nullptr},
    {569, K::Button, "Ind", 109, 257, 131, 274, S::TunerLdg, true, -1, nullptr},
    {576, K::Button, "Sto", 132, 257, 154, 274, S::TunerLdg, true, -1, nullptr},
    {595, K::Button, "LoZ", 155, 257, 177, 274, S::TunerLdg, true, -1, nullptr},
    {594, K::Button, "Rcl Tnr", 178, 257, 225, 274, S::TunerLdg, true, -1, nullptr},
    // The tuner's SWR and tune result have no place in the tuner row: they
    // take the free row just above its right end, under the tuning tools.
    {9351, K::Label, "", 245, 232, 299, 246, S::TunerLdg, true, -1, "LDG Tuner SWR"},
    {9352, K::Label, "", 301, 232, 355, 246, S::TunerLdg, true, -1, "LDG Tuner Result"},
    {589, K::Button, "CW1", 226, 257, 256, 274, S::Always, true, -1, "Play CW Memory 1"},
    {590, K::Button, "CW2", 258, 257, 288, 274, S::Always, true, -1, "Play CW Memory 2"},
    {591, K::Button, "CW3", 290, 257, 320, 274, S::Always, true, -1, "Play CW Memory 3"},
    {592, K::Button, "CW4", 322, 257, 352, 274, S::Always, true, -1, "Play CW Memory 4"},
    {593, K::Button, "CW5", 354, 257, 384, 274, S::Always, true, -1, "Play CW Memory 5"},
    {106, K::Button, "", 195, 230, 235, 247, S::NotPerseus, true, -1, "Digital Mode"},
    {124, K::Button, "Sto SP", 14, 150, 62, 167, S::Always, true, -1, "Store Current Frequency in Scratch Pad Memory"},
    {123, K::Button, "Rcl SP", 14, 170, 62, 187, S::Always, true, -1, "Recall Scratch Pad Frequency"},
    {439, K::Button, "DUAL", 14, 190, 62, 207, S::DualRx, true, -1, "Turn On or Off Subreceiver"},
    {9319, K::Label, "MAIN", 14, 210, 62, 225, S::DualRx, true, -1, nullptr},
    {40145, K::Button, "TV1", 245, 190, 279, 207, S::Hidden, true, 33, nullptr},
    {40146, K::Button, "TV2", 282, 190, 316, 207, S::Hidden, true, 34, nullptr},
    {40147, K::Button, "TV3", 319, 190, 355, 207, S::Hidden, true, 35, nullptr},
    {40148, K::Button, "TV4", 245, 210, 279, 227, S::Hidden, true, 36, nullptr},
    {40149, K::Button, "TV5", 282, 210, 316, 227, S::Hidden, true, 37, nullptr},
    {9320, K::Label, "Saving Settings to Qarv.INI ", 7, 247, 500, 274, S::Hidden, true, -1, nullptr},
    // The remaining function buttons and the labels the main frame's timers
    // write, in the free column right of the AGC and step buttons. The step
    // buttons are wider than the design's so that "10.0 kHz" fits.
    {2515, K::Button, "TPF", 551, 110, 603, 127, S::DigiSel, false, -1, "Toggles the Twin Peak Filter On/Off"},
    {2518, K::Button, "MNotch", 551, 130, 603, 147, S::Notch, false, -1, "Toggles the Manual Notch On/Off"},
    {596, K::Button, "Tx Dis", 551, 150, 603, 167, S::Always, false, -1, "Disable Transmit"},
    {9109, K::Label, "", 551, 172, 603, 186, S::Always, false, -1, "SWR"},
    {9110, K::Label, "", 551, 189, 603, 203, S::Always, false, -1, "Receiver Status"},
    {9111, K::Label, "", 551, 206, 568, 220, S::Always, false, -1, "CW Keyboard Speed (WPM)"},
    {9112, K::Label, "", 570, 206, 603, 220, S::Always, false, -1, "CW Keyboard"},
    // The sub receiver's two status lines keep their letters (nr, nb, agcs,
    // ant1 ...); a caption says whose they are and the tooltips what the
    // letters mean.
    {9325, K::Label, "Sub Receiver:", 410, 280, 600, 295, S::Model5, true, -1, nullptr},
    {9323, K::Label, "", 410, 300, 600, 314, S::Model5, true, -1,
     "Sub Receiver DSP: nr Noise Reduction, nb Noise Blanker, an Auto Notch, agc AGC (s/m/f, magc Manual), mn Manual "
     "Notch, tp Twin Peak"},
    {9324, K::Label, "", 410, 317, 600, 331, S::Model5, true, -1,
     "Sub Receiver RF: ant Antenna, rx Receive Antenna, at Attenuator (dB), pa PreAmp, af Audio Peak Filter"},
    // Values the panel works out that the design gives no place: the RIT/XIT
    // offsets and the PBT cut positions in the free strip left of the memory
    // frame (each under its name), the VFO A station name in the free row
    // under the step buttons, the call sign below the sub receiver's lines,
    // the rotor bearing under the keyboard labels.
    {9340, K::Label, "RIT", -42, 86, 8, 99, S::Always, false, -1, nullptr},
    {9341, K::Label, "", -42, 100, 8, 114, S::Always, false, -1, "RIT/XIT Offset"},
    {9342, K::Label, "XIT", -42, 120, 8, 133, S::Always, false, -1, nullptr},
    {9343, K::Label, "", -42, 134, 8, 148, S::Always, false, -1, "XIT Value"},
    {9344, K::Label, "Lo Cut", -42, 154, 8, 167, S::Always, false, -1, nullptr},
    {9345, K::Label, "", -42, 168, 8, 182, S::Always, false, -1, "PBT Inner Position"},
    {9346, K::Label, "Hi Cut", -42, 188, 8, 201, S::Always, false, -1, nullptr},
    {9347, K::Label, "", -42, 202, 8, 216, S::Always, false, -1, "PBT Outer Position"},
    {9348, K::Label, "", 388, 257, 600, 274, S::Always, false, -1, "Station Name of VFO A"},
    {9349, K::Label, "", 410, 336, 600, 388, S::Always, false, -1, "Call Sign"},
    {9350, K::Label, "", 551, 230, 603, 244, S::Always, false, -1, "Rotor Bearing"},
    // Shown in the meter's place until the radio has answered.
    {9330, K::Label, "", 392, 8, 548, 74, S::Hidden, false, -1,
     "Nothing heard from the radio: check its type, CI-V address, port and baud rate in Transceiver Settings"},
};

bool Cap(const ModelTable& t, int type) { return ModelCap(t, type) != 0; }
}  // namespace

const std::vector<Item>& Items() { return kItems; }

Context CurrentContext() {
    Context c;
    c.radiotype = g_radiotype;
    c.perseus = g_perseus != 0;
    c.model7610 = g_model7610 != 0;
    c.touchScreen = g_touchscreen != 0;
    c.tuner = g_internaltuner;
    c.rttyName = g_rttylabel;
    c.pskName = g_rttylabel2;
    for (int i = 0; i < 4; ++i) c.userCaptions[i] = g_userbuttonname[i];
    for (int i = 0; i < 11; ++i) c.broadcastCaptions[i] = g_caption[i];
    return c;
}

Presence PresenceOf(const Item& item, const Context& c) {
    const int t = c.radiotype;
    auto on = [](bool visible) { return visible ? Presence::Visible : Presence::Hidden; };
    auto exists = [](bool present) { return present ? Presence::Visible : Presence::Absent; };
    const bool sweep = Cap(g_hassweep, t), levels = Cap(g_haslevels, t), digisel = Cap(g_hasdigisel, t);
    const bool agc4 = t == 5 || t == 16;
    switch (item.show) {
    case S::Always: return Presence::Visible;
    case S::Hidden: return Presence::Hidden;
    case S::Model20: return on(t == 20);
    case S::Not17: return on(t != 17);
    case S::Agc4: return agc4 ? Presence::Visible : Presence::Absent;
    case S::Agc3: return agc4 ? Presence::Absent : on(sweep);
    case S::Agc3Man: return agc4 ? Presence::Absent : Presence::Hidden;
    case S::Sweep: return on(sweep);
    case S::Levels: return on(levels);
    case S::Notch: return on(Cap(g_hasnotch, t));
    case S::DigiSel: return on(digisel);
    case S::DigiSelNot18: return on(digisel && t != 18);
    case S::NotDigiSel: return on(!digisel);
    case S::LevelsNotDigiSel: return on(!digisel && levels);
    case S::Model23: return on(t == 23);
    case S::Model5: return on(t == 5);
    case S::MeterSel: return on(Cap(g_hasmetersel, t));
    case S::DualRx: return on(Cap(g_hasdualpanel, t));
    case S::NbDspRow: return digisel ? Presence::Visible : Presence::Absent;
    case S::NbLeftMost: return !digisel && levels ? on(sweep) : Presence::Absent;
    case S::NbLeft: return !digisel && !levels ? on(sweep) : Presence::Absent;
    // The last NBlk place and "DV" share Rx Ant's spot.
    case S::RxAnt: return on(t != 20 && !(!digisel && !levels && sweep));
    case S::NotPerseus: return exists(!c.perseus);
    case S::Perseus: return exists(c.perseus);
    case S::TouchOff: return exists(!c.touchScreen);
    case S::TouchOn: return exists(c.touchScreen);
    // Both sets exist: the settings window can switch the tuner at run time.
    case S::Tuner123: return on(c.tuner >= 1 && c.tuner <= 3);
    case S::TunerLdg: return on(c.tuner == 4);
    }
    return Presence::Visible;
}

std::string CaptionOf(const Item& item, const Context& c) {
    switch (item.id) {
    case 109: return c.pskName;
    case 106: return c.rttyName;
    case 2489: return c.model7610 ? "Off" : "Man";
    case 40036: return c.radiotype == 17 && item.show == S::Agc3 ? "Off" : "Slow";
    case 441: return "";
    case 1516: case 1517: case 1518: case 1519: {
        const std::string& user = c.userCaptions[item.id - 1516];
        return user.empty() ? item.caption : user;
    }
    default:
        if (item.id >= 40132 && item.id <= 40142) {
            const std::string& band = c.broadcastCaptions[item.id - 40132];
            if (!band.empty()) return band;
        }
        return item.caption ? item.caption : "";
    }
}

std::string TipOf(const Item& item, const Context& c) {
    (void)c;
    if (item.tip) return item.tip;
    // A band button says its band-stack row: "20 Meters CW", "49 Meters".
    if (item.bandRow >= 0 && item.bandRow < kBandRows) return g_bandstack[item.bandRow].name;
    return "";
}

plat::Rect ScaleRect(int left, int top, int right, int bottom, float sx, float sy) {
    // The products are float, as the design's scale factors are; the edges
    // are truncated, so 1.4 puts "AM" (195,110-235,127) at 336,154-392,177.
    return {int(float(left + kOffsetX) * sx), int(float(top) * sy), int(float(right + kOffsetX) * sx),
            int(float(bottom) * sy)};
}

plat::Rect WindowRect(float sx, float sy) {
    // The band columns end at 701 and the slider strip's value labels at 388.
    return {0, 0, int(float(705 + kOffsetX) * sx), int(392.0f * sy)};
}

namespace {
// Columns (and the slider strip, a row of columns) whose places follow one
// another: a control the model lacks gives its place to the next one, so no
// hole is left. Each slot lists its controls by id and design place (one id
// may stand in several places under different rules).
struct Member {
    int id;
    short left, top;
};
using Slot = std::vector<Member>;
const std::vector<std::vector<Slot>> kColumns = {
    // Mode buttons.
    {{{100, 195, 110}}, {{102, 195, 130}}, {{101, 195, 150}}, {{103, 195, 170}}, {{105, 195, 190}},
     {{109, 195, 210}, {6126, 195, 210}}, {{106, 195, 230}}},
    // The left-most column.
    {{{2512, -42, 5}, {2532, -42, 5}}, {{2364, -42, 24}}, {{2495, -42, 43}}, {{2493, -42, 62}, {2533, -42, 62}}},
    // Monitor, amplifier tune and PTT.
    {{{214, 605, 214}}, {{555, 605, 233}}, {{230, 605, 252}}},
    // The free column right of the step buttons.
    {{{2515, 551, 110}}, {{2518, 551, 130}}, {{596, 551, 150}}, {{9109, 551, 172}}, {{9110, 551, 189}},
     {{9111, 551, 206}, {9112, 570, 206}}},
    // The slider strip: a label or switch, its slider and its value.
    {{{1514, -40, 280}, {726, -37, 298}},
     {{1520, -10, 280}, {2387, -7, 298}},
     {{9310, 20, 280}, {2360, 23, 298}},
     {{9311, 50, 280}, {441, 53, 298}},
     {{9312, 80, 280}, {725, 83, 298}},
     {{9313, 110, 280}, {2359, 113, 298}},
     {{9314, 140, 280}, {2600, 143, 298}},
     {{2364, 170, 280}, {9318, 170, 280}, {1544, 173, 298}, {9322, 168, 374}},
     {{2505, 200, 280}, {563, 203, 298}},
     {{9315, 230, 280}, {2510, 233, 298}},
     {{9316, 260, 280}, {2511, 263, 298}},
     {{9317, 290, 280}, {2514, 293, 298}, {9321, 288, 374}},
     {{2526, 320, 280}, {2625, 323, 298}}},
};

bool IsMember(const Item& item, const Member& m) { return item.id == m.id && item.left == m.left && item.top == m.top; }

// The design offset each present control moves by so that its column has
// no holes.
void CloseColumns(std::vector<Placed>& out, std::vector<std::pair<int, int>>& shift) {
    for (const auto& column : kColumns) {
        std::size_t next = 0;  // the first free slot
        for (const Slot& slot : column) {
            bool shown = false;
            for (std::size_t i = 0; i < out.size(); ++i)
                for (const Member& m : slot) shown = shown || (IsMember(*out[i].item, m) && out[i].visible);
            if (!shown) continue;
            const Member& to = column[next++].front();
            const int dx = to.left - slot.front().left, dy = to.top - slot.front().top;
            for (std::size_t i = 0; i < out.size(); ++i)
                for (const Member& m : slot)
                    if (IsMember(*out[i].item, m)) shift[i] = {dx, dy};
        }
    }
}
}  // namespace

std::vector<Placed> Layout(const Context& c, float sx, float sy) {
    std::vector<Placed> out;
    for (const Item& item : kItems) {
        const Presence p = PresenceOf(item, c);
        if (p == Presence::Absent) continue;
        out.push_back({&item, CaptionOf(item, c), {}, p == Presence::Visible});
    }
    std::vector<std::pair<int, int>> shift(out.size(), {0, 0});
    CloseColumns(out, shift);
    for (std::size_t i = 0; i < out.size(); ++i) {
        const Item& item = *out[i].item;
        const auto [dx, dy] = shift[i];
        out[i].px = ScaleRect(item.left + dx, item.top + dy, item.right + dx, item.bottom + dy, sx, sy);
    }
    return out;
}

int ModeButtonFor(char mode, bool perseus) {
    switch (mode) {
    case '0': return 101;
    case '1': return 102;
    case '2': case '3': return 103;
    case '4': return 100;
    case '5': case '<': return 105;
    case '7': case '8': return 106;
    case '9': case ':': return 109;
    case ';': return perseus ? 6126 : 100;
    default: return 0;
    }
}

std::string ModeCaption(char mode, const Context& c) {
    switch (mode) {
    case '0': return "USB";
    case '1': return "LSB";
    case '2': return "CW-R";
    case '3': return "CW";
    case '4': return "AM";
    case '5': return "FM";
    case '7': return c.rttyName;
    case '8': return c.rttyName + "-R";
    case '9': return c.pskName;
    case ':': return c.pskName + "-R";
    case ';': return "SAM";
    case '<': return "WFM";
    default: return "";
    }
}

}  // namespace radio_layout
