#include "settings/settings_pages.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "base/band_plan.h"
#include "base/colour_names.h"
#include "base/device_options.h"
#include "base/memory_options.h"
#include "base/panel_options.h"
#include "base/settings_options.h"
#include "base/settings_table.h"
#include "base/trace_log.h"
#include "civ/accessory_ports.h"
#include "civ/band_table.h"
#include "civ/civ_options.h"
#include "civ/filter_widths.h"
#include "civ/frequency_options.h"
#include "civ/polling.h"
#include "civ/radio_init.h"
#include "civ/radio_models.h"
#include "civ/radio_port.h"
#include "civ/transverters.h"
#include "devices/cw_keyboard.h"
#include "devices/cw_keyer.h"
#include "devices/keying.h"
#include "devices/midi_controllers.h"
#include "devices/remote_link.h"
#include "devices/switches.h"
#include "settings/device_status.h"
#include "settings/trans_ops.h"

namespace settings {
namespace {

int* g_appsettings[int(AppVar::Count)] = {};

constexpr PageRow Label(std::int8_t page, const char* caption, Rule rule = Rule::Always, int id = 0) {
    return PageRow{id, Ctl::Label, page, rule, caption};
}
constexpr PageRow Check(int id, std::int8_t page, const char* caption, int* v, Rule rule = Rule::Always) {
    PageRow r{id, Ctl::Check, page, rule, caption, v ? Enc::Bool : Enc::None};
    r.i = v;
    return r;
}
constexpr PageRow CheckApp(int id, std::int8_t page, const char* caption, AppVar v) {
    PageRow r{id, Ctl::Check, page, Rule::Always, caption, Enc::Bool};
    r.app = v;
    return r;
}
constexpr PageRow Button(int id, std::int8_t page, const char* caption, Rule rule = Rule::Always) {
    return PageRow{id, Ctl::Button, page, rule, caption};
}
constexpr PageRow Int(int id, std::int8_t page, const char* caption, int* v, Rule rule = Rule::Always) {
    PageRow r{id, Ctl::Edit, page, rule, caption, Enc::Int};
    r.i = v;
    return r;
}
constexpr PageRow Range(int id, std::int8_t page, const char* caption, int* v, int lo, int hi, int def,
                        Rule rule = Rule::Always) {
    PageRow r{id, Ctl::Edit, page, rule, caption, Enc::Range};
    r.i = v, r.lo = lo, r.hi = hi, r.def = def;
    return r;
}
constexpr PageRow Keep(int id, std::int8_t page, const char* caption, int* v, int lo, int hi,
                       Rule rule = Rule::Always) {
    PageRow r{id, Ctl::Edit, page, rule, caption, Enc::Keep};
    r.i = v, r.lo = lo, r.hi = hi;
    return r;
}
constexpr PageRow Slider(int id, std::int8_t page, const char* caption, int* v, int lo, int hi,
                         Rule rule = Rule::Always) {
    PageRow r{id, Ctl::Slider, page, rule, caption, Enc::Offset};
    r.i = v, r.lo = lo, r.hi = hi;
    return r;
}
constexpr PageRow Dbl(int id, std::int8_t page, const char* caption, double* v, const char* fmt) {
    PageRow r{id, Ctl::Edit, page, Rule::Always, caption, Enc::Double};
    r.d = v, r.fmt = fmt;
    return r;
}
constexpr PageRow ScaleEdit(std::int8_t page, const char* caption, double* v) {
    PageRow r{0, Ctl::Edit, page, Rule::Always, caption, Enc::Scale};
    r.d = v, r.fmt = "%01.2f";
    return r;
}
template <std::size_t N>
constexpr PageRow Text(int id, std::int8_t page, const char* caption, char (&v)[N], Rule rule = Rule::Always) {
    PageRow r{id, Ctl::Edit, page, rule, caption, Enc::Text};
    r.s = v, r.size = std::uint16_t(N);
    return r;
}
constexpr PageRow List(int id, std::int8_t page, const char* caption, int* v, Items items, Enc enc = Enc::Index,
                       Rule rule = Rule::Always) {
    PageRow r{id, Ctl::Combo, page, rule, caption, enc};
    r.i = v, r.items = items;
    return r;
}
constexpr PageRow Colour(std::int8_t page, const char* caption, plat::Colour* v) {
    PageRow r{0, Ctl::Combo, page, Rule::Always, caption, Enc::Colour};
    r.c = v, r.items = Items::Colours;
    return r;
}
template <std::size_t N>
constexpr PageRow Port(int id, std::int8_t page, const char* caption, char (&v)[N], Rule rule = Rule::Always) {
    PageRow r{id, Ctl::Combo, page, rule, caption, Enc::Port};
    r.s = v, r.size = std::uint16_t(N), r.items = Items::Ports;
    return r;
}
constexpr PageRow WithApp(PageRow r, AppVar v) {
    r.app = v;
    return r;
}

}  // namespace
int g_sdriqpan = 0;
int g_powersdrpan = 0;
int g_antennaselection = 9;
int g_tuneswitch = 0;
namespace {

const PageRow kRows[] = {
    // 0 Preferences
    WithApp(Int(2371, 0, "Local/UTC Correction:", nullptr), AppVar::UtcHour),
    WithApp(List(2376, 0, "Mute Radio On Exit?", nullptr, Items::MuteExit), AppVar::MuteAlways),
    Check(0, 0, "Mute Speaker Only", &g_mutespeakeronly),
    Text(2391, 0, "HamCall Drive Letter or Path", g_hamcall),
    Range(0, 0, "Memory Scan Dwell Time (1 to 99)", &g_dwell, 1, 99, 2),
    CheckApp(0, 0, "Local time in 24 hour Format", AppVar::Local24),
    CheckApp(0, 0, "Automatic DST", AppVar::AutoDst),
    List(1500, 0, "License Class", &g_licenseclass, Items::License),
    Check(2438, 0, "Transmit Follows License Class", &g_followlicense),
    Check(2439, 0, "Diagnostic Tracing (pgm restart required)", &g_tracecheck),
    Check(2440, 0, "Use Sub-Receiver for Frequency Sweep", &g_rx320duringsweep, Rule::SubReceiver),
    List(1521, 0, "Memory Bank for Save/Restore Memories", &g_membank, Items::MemBank, Enc::Index, Rule::MemBank),

    // 1 Preferences2
    Keep(2426, 1, "Fast Tuning Mult", &g_fasttuningmult, 1, 1000000),
    Int(2427, 1, "Default AM Filter Position", &g_amfilterposition),
    Int(2428, 1, "Default CW Filter Position", &g_cwfilterposition),
    Int(2429, 1, "Default SSB Filter Position", &g_ssbfilterposition),
    Int(2430, 1, "Default RTTY Filter Position", &g_rttyfilterposition),
    Int(2431, 1, "Default RTTYR Filter Position", &g_rtty2filterposition),
    List(2433, 1, "Default AM AGC", &g_amagc, Items::Agc, Enc::AgcChar),
    List(2434, 1, "Default CW AGC", &g_cwagc, Items::Agc, Enc::AgcChar),
    List(2435, 1, "Default FM AGC", &g_fmagc, Items::Agc, Enc::AgcChar),
    List(2436, 1, "Default SSB AGC", &g_ssbagc, Items::Agc, Enc::AgcChar),
    List(2437, 1, "Default RTTY AGC", &g_rttyagc, Items::Agc, Enc::AgcChar),

    // 2 Preferences3
    Check(0, 2, "No Tune Save (Leave Tune Power Unchanged)", &g_notunesave),
    Check(0, 2, "PTT Amp Tune Pulse", &g_txamptunepulse),
    Check(0, 2, "AMPTune Disable Keying Loop", &g_amptunedisablekeyingloop),
    Check(0, 2, "Remote Pod PTT Toggle", &g_podptttoggle),
    Check(0, 2, "Passive Mode", &g_passive),
    Check(0, 2, "Cross Band Split", &g_crossband),
    Check(0, 2, "Use Tool Tips", &g_tooltip),
    Check(0, 2, "Remove Extra Decimal", &g_removeextradecimal),
    Check(0, 2, "Variable Frequency Scale", &g_variablefrequencyscale),
    ScaleEdit(2, "Scale X", &g_scalex),
    ScaleEdit(2, "Scale Y", &g_scaley),
    ScaleEdit(2, "Settings Scale X", &g_settingsscalex),
    ScaleEdit(2, "Settings Scale Y", &g_settingsscaley),
    Check(2441, 2, "Using LDG AT-200PC Autotuner", nullptr),
    Check(0, 2, "Use RTTY Mode for Tune", &g_rttytunemode),
    Check(0, 2, "Using LP500/700", &g_lp500),
    CheckApp(0, 2, "PC keeps time in UTC", AppVar::PcUtc),
    Check(0, 2, "Polling (Omni V.9 and Steppir only)", &g_polling),
    Check(0, 2, "Using IC-PW1 Amp", &g_pw1),
    Check(0, 2, "Using Touch Screen", &g_touchscreen),
    Check(0, 2, "Auto Memory File Entry Select (Freq Sort Only)", &g_automemselect),
    Check(0, 2, "Auto Cw ID", &g_cwid),
    Check(0, 2, "Use Amp Tune Power on Band Change", &g_useamptunepower),
    CheckApp(0, 2, "Frequency Event Timer", AppVar::Event),
    Check(0, 2, "Manual Data Mode", &g_manualdatamode, Rule::MenuDialect),
    Check(0, 2, "Power On/Off start/exit", &g_poweronoff, Rule::PowerOnOff),
    Port(6109, 2, "Tuner Comport", g_ldgcomport, Rule::LdgTuner),
    Button(5062, 2, "Clear Memory", Rule::LdgTuner),
    // The AT-200PC's tune power: taken at once, no settings change.
    Slider(kTunerPowerId, 2, "Tuner\rPower", &g_at200pctunerpower, 0, 100, Rule::LdgTuner),
    Check(0, 2, "Tune", &g_tuneswitch),

    // 3 Preferences4
    List(0, 3, "PBT Drag Scale (pgm restart required)", &g_pbtscale, Items::DragScale, Enc::DragScale),
    List(0, 3, "RIT Drag Scale (pgm restart required)", &g_ritscale, Items::DragScale, Enc::DragScale),
    Text(2455, 3, "Transfer Folder", g_transferfolder),
    Range(0, 3, "High Speed Tuning Factor", &g_highspeedtuningfactor, 1, 100, 1),
    Int(0, 3, "Sensitivity", &g_highspeedsensitivity),
    Int(0, 3, "S Meter Compensation", &g_smetercomp),
    Int(0, 3, "Frequency Display Delay (msec)", &g_frequencydelay),
    Keep(0, 3, "S Meter Polling Time (msec)", &g_metercycle, 50, 10000),
    Check(0, 3, "S Meter Display Only", &g_smeteronlydisplay),
    Int(0, 3, "Diversity Tuning Delay (msec)", &g_diversitydelay),
    Check(0, 3, "Save FM CTCSS in Mem", &g_savefmcts),
    Check(0, 3, "Red Frequency Display on Transmit", &g_redfreqonxmit),
    Range(0, 3, "Sweep Delay (0 to 500)", &g_sweepdelay, 0, 500, 10),
    Int(0, 3, "Scan resume after transmit time", &g_resume),

    // 4 Frequency Scan
    Dbl(2442, 4, "Frequency Start (MHz)", &g_fscanstart, "%09.6f"),
    Dbl(2443, 4, "Frequency Stop (MHz)", &g_fscanstop, "%09.6f"),
    WithApp(Keep(0, 4, "Frequency Increment (kHz 1-30)", nullptr, 1, 30), AppVar::FscanIncr),
    Keep(0, 4, "Dwell Time (seconds 1-99)", &g_fscandwell, 1, 99),
    Check(2444, 4, "Start Frequency Scan", nullptr),
    Check(2445, 4, "Stop Frequency Scan", nullptr),

    // 5 Colors
    Label(5, "Colors (Program Restart Required)"),
    Colour(5, "Local Time", &g_loctimecolor),
    Colour(5, "UTC Time", &g_utctimecolor),
    Colour(5, "Center Bkgnd", &g_centerbackcolor),
    Colour(5, "Left Right Bkgnd", &g_leftrightbackcolor),
    Colour(5, "Button Text", &g_buttontextcolor),
    Colour(5, "Button Sel Text", &g_buttonselectedtextcolor),
    Colour(5, "Special Button Sel Text", &g_specialbuttonselectedtextcolor),
    Colour(5, "CW Bkgnd", &g_cwbackgroundcolor),
    Colour(5, "CW Text", &g_cwtextcolor),
    Colour(5, "Settings Bkgnd", &g_settingsbackgroundcolor),
    Colour(5, "Radio Bkgnd", &g_radiobackgroundcolor),
    WithApp(Int(0, 5, "Radio Small Font", nullptr), AppVar::SmallFont),
    WithApp(Int(0, 5, "Radio Micro Font", nullptr), AppVar::MicroFont),
    WithApp(Int(0, 5, "Settings Small Font", nullptr), AppVar::SettingsSmallFont),
    WithApp(Int(0, 5, "Settings Micro Font", nullptr), AppVar::SettingsMicroFont),
    Range(0, 5, "Color1 (0 to 255) Red", &g_color1red, 0, 255, 255),
    Range(0, 5, "Color1 Green", &g_color1green, 0, 255, 128),
    Range(0, 5, "Color1 Blue", &g_color1blue, 0, 255, 0),
    Range(0, 5, "Color2 (0 to 255) Red", &g_color2red, 0, 255, 255),
    Range(0, 5, "Color2 Green", &g_color2green, 0, 255, 0),
    Range(0, 5, "Color2 Blue", &g_color2blue, 0, 255, 128),

    // 6 Call Sign, TopTen
    Text(2405, 6, "Call Sign", g_callsign),
    PageRow{2446, Ctl::Edit, 6, Rule::Always, "Call Sign Size (1 to 15)", Enc::CallSize, &g_callsize},
    Colour(6, "Call Sign Color", &g_callcolor),
    PageRow{2525, Ctl::Edit, 6, Rule::Always, "Rotor Bearing"},
    Label(6, "", Rule::Always, kRotorShownLabelId),
    Check(582, 6, "Stop", nullptr),
    Label(6, "Moving", Rule::Always, kRotorMovingLabelId),
    Check(2447, 6, "TopTen Devices Option 1", nullptr),
    Check(2448, 6, "TopTen Devices Option 2", nullptr),
    List(5066, 6, "Mouse Wheel Options", &g_mousewheel, Items::MouseWheel),
    Label(6, "Alpha 87A", Rule::Alpha87),
    PageRow{1531, Ctl::BiState, 6, Rule::AmpOper, "Oper"},
    PageRow{1532, Ctl::BiState, 6, Rule::Alpha87, "OFF"},
    Label(6, "", Rule::Alpha87, kAmpStatusLabelId),
    Label(6, "Acom 2000", Rule::Acom),

    // 7 2m TransV (the 6m rows are kept but shown on no page)
    Check(0, 7, "Suppress Transverter Warnings", &g_suppresstransverterwarnings),
    Range(0, 7, "2m Drive Power Max (0-100)", &g_twometerpower, 0, 100, 5),
    Dbl(0, 7, "2m IF", &g_twometerif, "%f"),
    Int(0, 7, "2m Crystal Correction", &g_twometercrystalcorrection),
    Range(0, -1, "6m Drive Power Max (0-100)", &g_sixmeterpower, 0, 100, 5),
    Dbl(0, -1, "6m IF", &g_sixmeterif, "%f"),
    Int(0, -1, "6m Crystal Correction", &g_sixmetercrystalcorrection),

    // 8-10 User transverters
    Label(8, "User Tranverters (Program Restart Required)"),
#define TV_ROWS(n, page)                                                                      \
    Dbl(0, page, "User " #n " Lower Limit", &g_transverter[n - 1].lower, "%f"),                \
        Dbl(0, page, "User " #n " Upper Limit", &g_transverter[n - 1].upper, "%f"),            \
        Dbl(0, page, "User " #n " IF", &g_transverter[n - 1].ifreq, "%f"),                     \
        Text(0, page, "User " #n " Button Text", g_transverter[n - 1].button),                 \
        Range(0, page, "User " #n " Drive Pwr Max (0-100)", &g_transverter[n - 1].power, 0, 100, 5), \
        Int(0, page, "User " #n " Crystal Correction", &g_transverter[n - 1].crystal)
    TV_ROWS(1, 8), TV_ROWS(2, 8),
    Label(9, "User Tranverters (Program Restart Required)"),
    TV_ROWS(3, 9), TV_ROWS(4, 9),
    Label(10, "User Tranverters (Program Restart Required)"),
    TV_ROWS(5, 10),
#undef TV_ROWS
    CheckApp(2449, 10, "Separate Steppir", AppVar::Steppir),
    Port(6161, 10, "Commport", g_steppircomport),
    Check(2450, 10, "KPA1500", nullptr, Rule::RfKit),
    Check(0, 10, "Using Flex PGXL", &g_usingpgxlamp),
    // The PGXL's fan follows its temperature.
    Check(0, 10, "Auto Fan Mode", &g_pgxlautotemp),
    Check(2451, 10, "RFKit Original", nullptr, Rule::RfKit),
    Check(2452, 10, "RFKit S Model", nullptr, Rule::RfKit),
    PageRow{4514, Ctl::Edit, 10, Rule::Always, "IP Address", Enc::None},
    PageRow{0, Ctl::Slider, 10, Rule::Always, "Amp Key1\rDelay", Enc::AmpDelay, &g_auxthang},
    PageRow{0, Ctl::Slider, 10, Rule::Always, "Amp Key2\rDelay", Enc::AmpDelay, &g_auxt2hang},

    // 11 RTTY, KB Settings
    Text(0, 11, "CW Memory1 Tag", g_cwtag[0]),
    Text(0, 11, "CW Memory2 Tag", g_cwtag[1]),
    Text(0, 11, "CW Memory3 Tag", g_cwtag[2]),
    Text(0, 11, "CW Memory4 Tag", g_cwtag[3]),
    Text(0, 11, "CW Memory5 Tag", g_cwtag[4]),
    Text(0, 11, "RTTY Label", g_rttylabel),
    List(0, 11, "RTTY Mode", &g_rttymode, Items::RttyMode),
    Int(0, 11, "RTTY Offset", &g_rttyoffset),
    Text(0, 11, "RTTY Label 2", g_rttylabel2),
    List(0, 11, "RTTY Mode 2", &g_rttymode2, Items::RttyMode),
    Int(0, 11, "RTTY Offset 2", &g_rttyoffset2),
    Check(0, 11, "Output RTTY Mode is RTTY Label", &g_pegoutrttymodeisbuttontext),
    PageRow{2536, Ctl::Edit, 11, Rule::Expert, "Expert Amp Drive Factor"},
    Check(2535, 11, "Expert Amp Drive by Band", &g_ampdrivebyband, Rule::Expert),
    // The band antenna buttons, one choice kept by the window.
    Check(580, 11, "1.8", nullptr, Rule::Antennas),
    Check(581, 11, "3.5", nullptr, Rule::Antennas),
    Check(582, 11, "7", nullptr, Rule::Antennas),
    Check(583, 11, "14", nullptr, Rule::Antennas),
    Check(584, 11, "21", nullptr, Rule::Antennas),
    Check(585, 11, "28", nullptr, Rule::Antennas),
    Check(586, 11, "X", nullptr, Rule::AntennasX),
    Check(587, 11, "6M", nullptr, Rule::AntennasX),
    Check(588, 11, "Auto", nullptr, Rule::Antennas),
    List(0, 11, "Tavn Radio Number", &g_radioTavn, Items::TavnRadio, Enc::Number, Rule::Tavn),

    // 12 SWL Band Assign
    Label(12, "Caption     Lower Limit         Upper Limit"),
    // Each row: the band button's caption and the broadcast band row's edges.
#define SWL_ROW(n)                                                            \
    Text(0, 12, "Caption " #n, g_caption[n - 1]),                             \
        Dbl(0, 12, "Lower Limit " #n, &g_bandstack[19 + n].low, "%f"),        \
        Dbl(0, 12, "Upper Limit " #n, &g_bandstack[19 + n].high, "%f")
    SWL_ROW(1), SWL_ROW(2), SWL_ROW(3), SWL_ROW(4), SWL_ROW(5), SWL_ROW(6),
    SWL_ROW(7), SWL_ROW(8), SWL_ROW(9), SWL_ROW(10), SWL_ROW(11),
#undef SWL_ROW
    Text(0, 12, "Column Name", g_caption[11]),
    PageRow{1552, Ctl::Radio, 12, Rule::Always, "FT8 Values"},
    PageRow{1553, Ctl::Radio, 12, Rule::Always, "SWL Values"},

    // 13 Steps (checked by their own handlers, 1..20000 Hz)
    Int(2397, 13, "Step Button 1", &g_step1), Int(2398, 13, "Step Button 2", &g_step2),
    Int(2399, 13, "Step Button 3", &g_step3), Int(2403, 13, "Step Button 4", &g_step4),
    Int(2401, 13, "Step Button 5", &g_step5), Int(2402, 13, "Step Button 6", &g_step6),
    Int(2404, 13, "AM Step", &g_amstep), Int(2420, 13, "SAM Step", &g_samstep),
    Int(2421, 13, "SSB Step", &g_ssbstep), Int(2422, 13, "CW Step", &g_cwstep),
    Int(2423, 13, "FM Step", &g_fmstep), Int(2425, 13, "MW Step", &g_mwstep),
    Int(2424, 13, "RTTY Step", &g_rttystep),

    // 14 CW Settings
    Check(2463, 14, "Yalt Keyer", &g_yaltkeyer, Rule::NotPerseus),
    // Shown with the keyer off too, so its port can be chosen first.
    Port(6108, 14, "Keyer Comport", g_yaltcomport, Rule::NotPerseus),
    Check(552, 14, "Enable Keyer", &g_keyer, Rule::NotPerseus),
    Range(2369, 14, "CW Pitch", &g_bfo, 0, 1000, 200, Rule::HasLevels),
    Check(2460, 14, "Reverse Paddle", &g_reversepaddle, Rule::Yalt),
    Check(2461, 14, "Autospace", &g_autospace, Rule::Yalt),
    Check(2462, 14, "CT spacing", &g_contestspace, Rule::Yalt),
    Check(2464, 14, "No Spd Pot", &g_nospeedpot, Rule::Yalt),
    Check(2465, 14, "Use Ptt Pin 5", nullptr, Rule::Yalt),
    List(2466, 14, "Keyer Mode", &g_iambica, Items::KeyerMode, Enc::Index, Rule::Yalt),
    Slider(2453, 14, "Key\r\nSpd", &g_keyercw, 0, 40, Rule::NotPerseus),
    Slider(2454, 14, "Side\r\nTone", &g_sidetonevolume, 0, 255, Rule::TxSettings),
    Slider(2456, 14, "QSK", &g_cwqskdelay, 0, 255, Rule::HasLevels),
    Slider(2467, 14, "1ST\r\nEle", &g_yalt1st, 0, 38, Rule::Yalt),
    Slider(2500, 14, "Key\r\nWgt", &g_yaltweight, 10, 100, Rule::Yalt),
    PageRow{2501, Ctl::Slider, 14, Rule::Yalt, "PTT\r\nLead", Enc::Square, &g_yaltlead, nullptr, nullptr, nullptr,
            nullptr, 0, 0, 250},
    PageRow{2502, Ctl::Slider, 14, Rule::Yalt, "PTT\r\nTail", Enc::Square, &g_yalttail, nullptr, nullptr, nullptr,
            nullptr, 0, 0, 250},
    PageRow{2503, Ctl::Slider, 14, Rule::Yalt, "Key\r\nComp", Enc::Comp, &g_yaltkeycomp, nullptr, nullptr, nullptr,
            nullptr, 0, 0, 50},
    Slider(2504, 14, "Dit/\r\nDah", &g_yaltditdah, 33, 100, Rule::Yalt),
    Slider(2468, 14, "Dah\r\nWgt", &g_keyerweight, 50, 140, Rule::NoYalt),
    Slider(2469, 14, "Dit\r\nWgt", &g_keyerditweight, 80, 170, Rule::NoYalt),
    Slider(2470, 14, "Btw\r\nChr", &g_keyerspcweight, 5, 40, Rule::NoYalt),
    // The factors the three sliders above give; the caption only sizes the row.
    Label(14, "Weight 0.00  Dit 0.00  Space 0.00", Rule::NoYalt, kKeyerFactorsLabelId),

    // 15 SSB Settings
    Slider(2471, 15, "Mic\rGain", &g_micgain, 0, 100, Rule::TxLevels),
    // The processor takes levels 0..10 (sent as level x 25).
    Slider(2472, 15, "Speech\rProcess", &g_speechvalue, 0, 10, Rule::TxLevels),
    PageRow{2380, Ctl::Radio, 15, Rule::TxFilter, "Wide TX SSB Filter"},
    PageRow{2381, Ctl::Radio, 15, Rule::TxFilter, "Medium TX SSB Filter"},
    PageRow{2396, Ctl::Radio, 15, Rule::TxFilter, "Narrow TX SSB Filter"},
    Slider(0, 15, "Monitor", &g_monitor, 0, 1, Rule::TxLevels),
    List(2383, 15, "Transmit Filter", &g_txfilter, Items::TxFilter, Enc::TxFilter, Rule::TxLevels),
    List(2523, 15, "Roofing Filter Selection", &g_roof, Items::Roofing, Enc::Index, Rule::DigiSel),
    PageRow{559, Ctl::Edit, 15, Rule::Tone, "FM CTCSS X 10", Enc::Ctcss, &g_fmcts},

    // 16 Vox Controls (the sliders report with messages 0x94b, 0x94a, 0x949)
    PageRow{2379, Ctl::Slider, 16, Rule::Vox, "Vox\rGain", Enc::Vox, &g_voxgain, nullptr, nullptr, nullptr, nullptr, 0, 1},
    PageRow{2378, Ctl::Slider, 16, Rule::Vox, "Anti\rVox", Enc::Vox, &g_antivox, nullptr, nullptr, nullptr, nullptr, 0, 1},
    PageRow{2377, Ctl::Slider, 16, Rule::Vox, "Vox\rDelay", Enc::Vox, &g_voxhang, nullptr, nullptr, nullptr, nullptr, 0, 0},

    // 17 knob settings (the assignment rows come with the control surfaces)
    Keep(2477, 17, "Tuning Knob Desense Factor", &g_poddesense, 1, 100),
    Int(2478, 17, "Tuning Knob Desense Step Threshold", &g_podthreshold),
    Check(2479, 17, "Using Griffin PowerMate Knob", &g_griffinpowermate),
    Check(2480, 17, "Using FlexControl Knob", &g_flexknob),
    Check(2481, 17, "Using Woodbox Radio TMate2", &g_usetmate2),
    Check(2482, 17, "Using MIDI DJ Controller", &g_cmdmicro),
    Label(17, "", Rule::Midi, kMidiFileLabelId),
    Label(17, "file. Text must be exact. See the Pelx Help file.", Rule::Midi),
    Button(5175, 17, "Reload DJ Controller Settings", Rule::Midi),
    Check(2484, 19, "TMate2 S meter shows Peak", &g_tmate2peak, Rule::TMate2),

    // 20 External Ports
    Label(20, "External Ports"),
    Port(6400, 20, "THP Comport 2", g_thpxcomport[0]),
    Port(6401, 20, "THP Comport 3", g_thpxcomport[1]),
    Port(6402, 20, "THP Comport 4", g_thpxcomport[2]),
    Port(6403, 20, "THP Comport 5", g_thpxcomport[3]),
    Check(2485, 20, "Perseus Panadapter", &g_perseuspan),
    Check(2486, 20, "SDR-IQ/HDSDR Pan", &g_sdriqpan),
    Check(2488, 20, "HDSDR Fixed IF", &g_hdsdrif),
    Check(2489, 20, "PowerSDR Panadapter", &g_powersdrpan),
    Check(2490, 20, "NaP3 Panadapter", &g_nap3),
    Check(2491, 20, "Third Party Logging Comport 1", &g_thp),
    Port(6122, 20, "Comport 1", g_thpcomport),

    // 21 Interface
    Label(21, "Primary Radio Port (pgm restart required)"),
    Port(1317, 21, "Radio Comport", g_comport, Rule::RadioPortList),
    List(32001, 21, "Radio Model", &g_radiotypesel, Items::Models),
    List(2524, 21, "CIV Address", &g_civindex, Items::CivAddr),
    Check(2483, 21, "Get Qarv at Start", &g_qarvstart),
    CheckApp(2487, 21, "WriteLog Multiple Radio Interface", AppVar::WlMultiple),
    Check(2492, 21, "Search for Radio Automatically", nullptr),
    PageRow{2475, Ctl::Combo, 21, Rule::Always, "BAUD Rate", Enc::Baud, nullptr, nullptr, nullptr, &g_baud,
            nullptr, 0, 0, 0, 0, nullptr, Items::Baud},
    Label(21, "Operator Client", Rule::Client),
    Text(2493, 21, "Server IP", g_radioip, Rule::Client),
    Label(21, "Radio Server", Rule::Server),
    PageRow{2494, Ctl::Edit, 21, Rule::ClientOrServer, "Port", Enc::Long, nullptr, nullptr, nullptr, &g_serverport,
            nullptr, 0, 1, 65535},
    Check(2495, 21, "Use DTR to power serial interface", &g_dtrpw, Rule::RadioPortList),
    Check(2496, 21, "Use RTS to power serial interface", &g_rtspw, Rule::RadioPortList),
    Check(2497, 21, "Use RTS for CW Keying", &g_rtscw, Rule::NotMirror),
    Check(2498, 21, "Use DTR for CW Keying", &g_dtrcw, Rule::NotMirror),
    Check(2499, 21, "Turn on RTS when transmitting", &g_rtsxm, Rule::NotMirrorNotServer),

    // 22 Restore Filters
    Label(22, "Restore Filter Settings at Exit", Rule::DigiSel),
    Label(22, "Restore Filter 2 Settings at Exit", Rule::RestoreF2),
    List(0, 22, "SSB", &g_restore[0], Items::RestoreSsb, Enc::Restore),
    List(0, 22, "CW", &g_restore[1], Items::RestoreSsb, Enc::Restore),
    List(0, 22, "RTTY", &g_restore[2], Items::RestoreSsb, Enc::Restore, Rule::DigiSel),
    List(0, 22, "PSK", &g_restore[3], Items::RestoreSsb, Enc::Restore, Rule::DigiSel),
    List(0, 22, "AM", &g_restore[4], Items::RestoreAm, Enc::Restore, Rule::DigiSel),
    List(0, 22, "SSB Filter 3", &g_restore[5], Items::RestoreSsb, Enc::Restore, Rule::RestoreF3),
    List(0, 22, "CW Filter 3", &g_restore[6], Items::RestoreSsb, Enc::Restore, Rule::RestoreF3),
    List(0, 22, "RTTY Filter 3", &g_restore[7], Items::RestoreSsb, Enc::Restore, Rule::RestoreF3),
    List(0, 22, "PSK Filter 3", &g_restore[8], Items::RestoreSsb, Enc::Restore, Rule::RestoreF3),
    List(0, 22, "AM Filter 3", &g_restore[9], Items::RestoreAm, Enc::Restore, Rule::RestoreF3),

    // 23 User Buttons
    Label(23, "User Button Text     Command "),
    Text(0, 23, "User Button 1", g_userbuttonname[0]), Text(0, 23, "Command 1", g_userbuttonvalue[0]),
    Text(0, 23, "User Button 2", g_userbuttonname[1]), Text(0, 23, "Command 2", g_userbuttonvalue[1]),
    Text(0, 23, "User Button 3", g_userbuttonname[2]), Text(0, 23, "Command 3", g_userbuttonvalue[2]),
    Text(0, 23, "User Button 4", g_userbuttonname[3]), Text(0, 23, "Command 4", g_userbuttonvalue[3]),
};

const char* const kPages[] = {"Preferences",       "Preferences2",       "Preferences3",      "Preferences4",
                              "Frequency Scan",    "Colors",             "Call Sign, TopTen", "2m TransV",
                              "User 1 & 2 TransV", "User 3 & 4 TransV",  "User 5 TransV",     "RTTY, KB Settings",
                              "SWL Band Assign",   "Steps",              "CW Settings",       "SSB Settings",
                              "Vox Controls",      "",                   "",                  "",
                              "External Ports",    "Interface",          "Restore Filters",   "User Buttons"};

}  // namespace

void BindAppSetting(AppVar v, int* p) { g_appsettings[int(v)] = p; }
int* AppSetting(AppVar v) { return g_appsettings[int(v)]; }

std::span<const PageRow> PageRows() { return kRows; }

std::string MidiFileCaption() {
    // Models 2..5 have a file each; the CMD Micro's stands for the rest.
    const int model = g_midimodel >= 2 && g_midimodel <= kMidiModels ? g_midimodel : 1;
    return std::string("Change the functions in the ") + MidiModelInfo(model).file;
}

int RowOfId(int id) {
    for (int n = 0; n < int(std::size(kRows)); ++n)
        if (RowControlId(n) == id) return n;
    return -1;
}
int AntennaRow(int n) {
    for (int k = 0; k < int(std::size(kRows)); ++k)
        if (kRows[k].page == 11 && kRows[k].id == 579 + n) return k;
    return -1;
}

int RowControlId(int row) { return kRows[row].id ? kRows[row].id : 7000 + row; }

int* RowInt(const PageRow& r) { return r.app != AppVar::None ? AppSetting(r.app) : r.i; }

bool RuleHolds(Rule r) {
    const bool digisel = ModelCap(g_hasdigisel) != 0;
    switch (r) {
    case Rule::Always: return true;
    case Rule::Never: return false;
    case Rule::SubReceiver: return ModelCap(g_hassubreceiver) != 0;
    case Rule::MemBank: return ModelCap(g_hasmembanks) && !g_perseus;
    case Rule::MenuDialect: return ModelCap(g_menudialect) != 0;
    case Rule::PowerOnOff: return ModelCap(g_haspoweronoff) || g_model7610;
    case Rule::LdgTuner: return g_internaltuner == 4;
    case Rule::Alpha87: return !PortIsOff(g_alpha87acomport);
    case Rule::Acom: return !PortIsOff(g_acomcomport);
    case Rule::AmpOper: return RuleHolds(Rule::Alpha87) || RuleHolds(Rule::Acom);
    case Rule::HasLevels: return !g_perseus && ModelCap(g_haslevels) != 0;
    case Rule::TxSettings: return !g_perseus && ModelCap(g_menudialect) != 0;
    case Rule::NotPerseus: return !g_perseus;
    case Rule::Yalt: return !g_perseus && g_yaltkeyer;
    case Rule::NoYalt: return !g_perseus && !g_yaltkeyer;
    case Rule::TxLevels: return !g_perseus && ModelCap(g_haslevels) != 0 && ModelCap(g_menudialect) != 0;
    case Rule::TxFilter: return !g_perseus && ModelCap(g_hastxfilter) != 0;
    case Rule::DigiSel: return digisel;
    case Rule::Tone: return !g_perseus && ModelCap(g_hastone) != 0;
    case Rule::Vox: return !g_perseus && ModelCap(g_menudialect) != 0;
    case Rule::Client: return g_client != 0;
    case Rule::Server: return g_radioserver != 0;
    case Rule::ClientOrServer: return g_client || g_radioserver;
    case Rule::RadioPortList: return !g_client || g_mirror;
    case Rule::NotMirror: return !g_mirror;
    case Rule::NotMirrorNotServer: return !g_mirror && !g_radioserver;
    case Rule::Midi: return g_cmdmicro != 0;
    case Rule::NotMidi: return !g_cmdmicro;
    case Rule::TMate2: return g_usetmate2 && !g_cmdmicro;
    case Rule::Expert: return g_experton != 0;
    // The network switch brings its own control instead of the buttons.
    case Rule::Antennas: return !g_perseus && !g_tavnag && (g_denkovi || g_ldg1000 || g_adr2200 || g_pelx);
    case Rule::AntennasX: return RuleHolds(Rule::Antennas) && (g_adr2200 || g_pelx);
    case Rule::RfKit: return g_b26ip[0] != 0;
    case Rule::RestoreF2: return ModelCap(g_restorefilters2) != 0;
    case Rule::RestoreF3: return digisel && !ModelCap(g_restorefilters2);
    case Rule::Tavn: return !g_perseus && g_tavnag != 0;
    }
    return false;
}

std::string PageCaption(int page) {
    if (page >= 17 && page <= 19) {
        static const char* const kSurface[3][3] = {{"Aux Single", "Aux Double,Long", "Knob Clicks"},
                                                   {"Knob Settings", "Function Keys", "Knob Buttons"},
                                                   {"Remote Pod Fkeys", "Remote Pod 4-9", "Remote Pod 0-3"}};
        const int s = g_flexknob ? 0 : g_usetmate2 ? 1 : 2;
        return kSurface[s][page - 17];
    }
    if (page < 0 || page >= int(std::size(kPages))) return "";
    return kPages[page];
}

int PageCount() {
    if (!ModelCap(g_hasfilterwidth) || g_perseus) return 22;
    return ModelCap(g_hasdigisel) ? 24 : 23;
}

void ListItems(Items kind, void (*add)(void*, const char*), void* ctx) {
    auto all = [&](std::initializer_list<const char*> items) {
        for (const char* s : items) add(ctx, s);
    };
    char buf[16];
    switch (kind) {
    case Items::None:
    case Items::Ports: break;
    case Items::MuteExit: all({"Always", "Never", "Ask"}); break;
    case Items::License: all({"Extra", "Advanced", "General", "Nov/Tech", "Foreign"}); break;
    case Items::MemBank: all({"ALL", "A", "B", "C", "D", "E"}); break;
    case Items::MouseWheel:
        all({"Not Used", "Frequency Tuning", "Volume", "Pod Knob", "Frequency Tuning + Slider", "Pod Knob + Slider"});
        break;
    case Items::Agc:
        if (ModelCap(g_agctwospeed))
            all({"Do Not Use Auto AGC", "Slow", "Fast"});
        else
            all({"Do Not Use Auto AGC", "Slow", "Medium", "Fast"});
        break;
    case Items::Colours:
        for (const char* s : kColourNames) add(ctx, s);
        break;
    case Items::DragScale: all({"1", "2", "4", "8", "16", "32"}); break;
    case Items::Baud: all({"2400", "4800", "9600", "19200", "1200", "38400", "57600", "115200"}); break;
    case Items::Models:
        for (int t = 0; t < kRadioTypes; ++t) add(ctx, t == 19 ? "Perseus" : g_modelnames[t] ? g_modelnames[t] : "");
        break;
    case Items::CivAddr:
        for (int n = 1; n <= 207; ++n) {
            std::snprintf(buf, sizeof buf, "%02xh", n);
            add(ctx, buf);
        }
        add(ctx, "Default");
        break;
    case Items::TxFilter:
        for (int n = 0; n <= 19; ++n) add(ctx, std::to_string(n).c_str());
        break;
    case Items::TavnRadio: all({"1", "2"}); break;
    case Items::RttyMode: all({"LSB", "USB", "FSK"}); break;
    case Items::Roofing: all({"Auto Selection", "15 khz Fixed", "6 khz Fixed", "3 khz Fixed", "Do Not Change"}); break;
    case Items::KeyerMode: all({"Iambic B", "Iambic A", "Ultimatic"}); break;
    case Items::RestoreSsb:
    case Items::RestoreAm: {
        const bool am = kind == Items::RestoreAm;
        add(ctx, "Do Not Restore");
        for (int n = 1; n <= kFilterCount; ++n) {
            std::snprintf(buf, sizeof buf, am ? "%05d" : "%04d", FilterEntry(n, am).hz);
            add(ctx, buf);
        }
        break;
    }
    }
}

bool IsSliderRow(const PageRow& r) { return r.kind == Ctl::Slider; }
int SliderLow(const PageRow&) { return 0; }
int SliderHigh(const PageRow& r) {
    switch (r.enc) {
    case Enc::Offset: return r.hi - r.lo;
    case Enc::Vox: return 104;
    case Enc::Square: return 16;  // 16 squared passes the 250 limit
    case Enc::Comp: return r.hi;
    case Enc::AmpDelay: return 100;
    default: return 0;
    }
}
int SliderOfSetting(const PageRow& r, int v) {
    int pos = 0;
    switch (r.enc) {
    case Enc::Offset: pos = v - r.lo; break;
    case Enc::Vox: pos = v + 4; break;
    case Enc::Square: pos = int(std::lround(std::sqrt(double(v > 0 ? v : 0)))); break;
    default: pos = v; break;
    }
    return std::clamp(pos, SliderLow(r), SliderHigh(r));
}
int SettingOfSlider(const PageRow& r, int v) {
    switch (r.enc) {
    case Enc::Offset: return v + r.lo;
    case Enc::Vox: {
        int x = v - 4;
        if (x < r.lo) x = r.lo;
        return x == 13 ? 14 : x;  // 13 is stored and sent as 14
    }
    case Enc::Square: return std::min(v * v, r.hi);
    case Enc::Comp: return v < 2 ? 0 : v;
    case Enc::AmpDelay: return v < 6 ? 0 : v > 94 ? 100 : v;
    default: return v;
    }
}

namespace {
constexpr int kDragScales[] = {1, 2, 4, 8, 16, 32};
}  // namespace
int DragScaleOfIndex(int n) { return n >= 0 && n < 6 ? kDragScales[n] : 8; }
int IndexOfDragScale(int v) {
    for (int n = 0; n < 6; ++n)
        if (kDragScales[n] == v) return n;
    return -1;
}

}  // namespace settings
