#include "base/band_plan.h"

#include "base/trace_log.h"

namespace {
constexpr std::uint8_t P = 1;  // phone: every mode
constexpr std::uint8_t C = 0;  // CW and data only

// Built-in privileges in MHz, ascending within each class. Rows left out are
// zero, so the first of them ends the class; class 4 starts empty.
constexpr BandPlan kBuiltInBandPlan = {{
    // 0 "Extra"
    {{{1.8, 2.0, P},        {3.5, 3.6, C},        {3.6, 4.0, P},        {5.25, 5.45, P},
      {7.0, 7.125, C},      {7.125, 7.3, P},      {10.1, 10.15, C},     {14.0, 14.15, C},
      {14.15, 14.35, P},    {18.068, 18.11, C},   {18.11, 18.168, P},   {21.0, 21.2, C},
      {21.2, 21.45, P},     {24.89, 24.93, C},    {24.93, 24.99, P},    {28.0, 28.3, C},
      {28.3, 29.7, P},      {50.0, 50.1, C},      {50.1, 54.0, P},      {144.0, 144.1, C},
      {144.1, 148.0, P},    {222.0, 224.0, P},    {432.0, 436.0, P},    {1296.0, 1300.1, P}}},
    // 1 "Advanced"
    {{{1.8, 2.0, P},        {3.525, 3.6, C},      {3.7, 4.0, P},        {5.25, 5.45, P},
      {7.025, 7.125, C},    {7.125, 7.3, P},      {10.1, 10.15, C},     {14.025, 14.15, C},
      {14.175, 14.35, P},   {18.068, 18.11, C},   {18.11, 18.168, P},   {21.025, 21.2, C},
      {21.225, 21.45, P},   {24.89, 24.93, C},    {24.93, 24.99, P},    {28.0, 28.3, C},
      {28.3, 29.7, P},      {50.0, 50.1, C},      {50.1, 54.0, P},      {144.0, 144.1, C},
      {144.1, 148.0, P},    {222.0, 224.0, P},    {432.0, 436.0, P},    {1296.0, 1300.0, P}}},
    // 2 "General"
    {{{1.8, 2.0, P},        {3.525, 3.6, C},      {3.8, 4.0, P},        {5.25, 5.45, P},
      {7.025, 7.125, C},    {7.175, 7.3, P},      {10.1, 10.15, C},     {14.025, 14.15, C},
      {14.225, 14.35, P},   {18.068, 18.11, C},   {18.11, 18.168, P},   {21.025, 21.2, C},
      {21.275, 21.45, P},   {24.89, 24.93, C},    {24.93, 24.99, P},    {28.0, 28.3, C},
      {28.3, 29.7, P},      {50.0, 50.1, C},      {50.1, 54.0, P},      {144.0, 144.1, C},
      {144.1, 148.0, P},    {222.0, 224.0, P},    {432.0, 436.0, P},    {1296.0, 1300.0, P}}},
    // 3 "Nov/Tech"
    {{{3.525, 3.6, C},      {7.025, 7.125, C},    {21.025, 21.2, C},    {28.0, 28.3, C},
      {28.3, 28.5, P},      {50.0, 50.1, C},      {50.1, 54.0, P},      {144.0, 144.1, C},
      {144.1, 148.0, P},    {222.0, 224.0, P},    {432.0, 436.0, P},    {1296.0, 1300.0, P}}},
    // 4 "Foreign": from "foreign.dat"
    {},
}};
}  // namespace

BandPlan g_bandplan = kBuiltInBandPlan;
int g_licenseclass = 0;

int LicenseClassIndex(int licenseclass) {
    if (licenseclass >= 0 && licenseclass < kLicenseClasses) return licenseclass;
    int clamped = licenseclass < 0 ? 0 : kLicenseClasses - 1;
    // Once per bad value: the test runs on every frequency change.
    static int reported = 0;
    static bool any = false;
    if (!any || reported != licenseclass) {
        any = true;
        reported = licenseclass;
        WriteTracef("LICENSE CLASS %d out of range, using %d", licenseclass, clamped);
    }
    return clamped;
}

bool IsCwOrDataMode(char mode) {
    switch (mode) {
        case '2': case '3': case '7': case '8': case '9': case ':':
            return true;
        default:
            return false;
    }
}

int BandPlanAllows(const BandPlanClass& rows, double mhz, char mode) {
    for (const BandPlanRow& row : rows) {
        if (row.low <= mhz && mhz <= row.high) return (row.phone == 1 || IsCwOrDataMode(mode)) ? 1 : 0;
        // Rows ascend, so past the end of the class or below this row nothing
        // further can hold the frequency.
        if (row.low == 0 || mhz < row.low) return 0;
    }
    return 0;
}

double TxFrequency(const TxTuning& t) {
    if (t.split) return t.vfob;
    if (t.xit) return t.vfoa + t.ritoffset / 1000000.0;
    return t.vfoa;
}

char TxMode(const TxTuning& t) { return t.split ? t.modeb : t.modea; }

int IsTxAllowed(const TxTuning& t) {
    if (t.bandrow >= kFirstUnrestrictedBandRow) return 1;
    return BandPlanAllows(g_bandplan[LicenseClassIndex(g_licenseclass)], TxFrequency(t), TxMode(t));
}
