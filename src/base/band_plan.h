// The band plan of amateur transmit privileges: four built-in licence classes
// and a fifth ("Foreign") filled from "foreign.dat", and the transmit test the
// radio engine asks while "TX ENABLE" and "FOLLOW LICENSE" are both on.
#pragma once
#include <array>
#include <cstdint>

constexpr int kLicenseClasses = 5;
constexpr int kBandPlanRows = 30;
// The class filled from "foreign.dat".
constexpr int kForeignClass = 4;
// Band-stack rows from here on (transverters and after) are never restricted.
constexpr int kFirstUnrestrictedBandRow = 33;

// One segment of a class. A row with low edge 0 ends its class.
struct BandPlanRow {
    double low;            // MHz
    double high;           // MHz
    std::uint8_t phone;    // 1: every mode may transmit; 0: only CW and data modes
};

using BandPlanClass = std::array<BandPlanRow, kBandPlanRows>;
using BandPlan = std::array<BandPlanClass, kLicenseClasses>;

// The plan in use: classes 0..3 as built in, class 4 as "foreign.dat" left it.
extern BandPlan g_bandplan;
// The operator's licence class, [PREFERENCE] "LICENSE CLASS" (0..4).
extern int g_licenseclass;

// Names shown to the operator, in class order.
inline constexpr const char* kLicenseClassNames[kLicenseClasses] = {"Extra", "Advanced", "General", "Nov/Tech",
                                                                    "Foreign"};

// The class to index the plan with: a stored value outside 0..4 is clamped
// (and traced) so a damaged settings file cannot read past the table.
int LicenseClassIndex(int licenseclass);

// True for the modes every segment allows: CW, CW-R, RTTY, RTTY-R, PSK, PSK-R.
bool IsCwOrDataMode(char mode);

// The plan test proper: 1 when `mhz` in `mode` may be transmitted under the
// class, else 0. The first row that holds the frequency decides, so a shared
// edge belongs to the lower row.
int BandPlanAllows(const BandPlanClass& rows, double mhz, char mode);

// What the transmitter would use, gathered from the radio state by the caller.
struct TxTuning {
    int bandrow = 0;        // current band-stack row (g_bandrow)
    double vfoa = 0.0;      // MHz
    char modea = '0';
    double vfob = 0.0;      // MHz
    char modeb = '0';
    bool xit = false;       // XIT on: VFO A plus the offset transmits
    int ritoffset = 0;      // RIT/XIT offset, Hz
    bool split = false;     // split on: VFO B transmits
};

// The transmit frequency (MHz) and mode of `t`.
double TxFrequency(const TxTuning& t);
char TxMode(const TxTuning& t);

// 1 when transmitting is allowed at the transmit frequency and mode of `t`
// for the operator's class g_licenseclass, else 0.
int IsTxAllowed(const TxTuning& t);
