#include "panel/controls/meter.h"

#include <algorithm>
#include <functional>
#include <utility>
#include <cmath>
#include <cstdio>

#include "base/panel_options.h"
#include "civ/civ_options.h"
#include "civ/radio_models.h"

int g_meterfreeze = 0;
void (*g_tmate2smeter)(int value) = nullptr;

namespace {
using plat::RGB;
constexpr plat::Colour kFace = RGB(250, 246, 228);
constexpr plat::Colour kInk = RGB(30, 30, 30);
constexpr plat::Colour kRedZone = RGB(200, 0, 0);
constexpr plat::Colour kPointer = RGB(192, 0, 0);
constexpr plat::Colour kPeak = RGB(0, 192, 0);
constexpr plat::Colour kReading = RGB(64, 64, 255);
// The S-meter's top when its range gives none above S9: S9 + 60 dB lands
// at full scale.
constexpr int kSMeterFallbackHigh = kS9 + 2 * 6 * 256;

int InnerWidth(int width) { return width - 4 - 8; }
}  // namespace

bool IsUsablePanelScale(double s) { return s >= kMinPanelScale && s <= kMaxPanelScale; }

MeterReading MeterPointer(double value, int low, int high, int width) {
    if (high - low <= 0 || width < 5) return {0, false};
    const double x = value * InnerWidth(width) / double(high - low) + 3;
    // Kept on the face whatever the reading.
    return {int(std::clamp(x, 1.0, double(width - 3))), true};
}

int SMeterColumn(int value, int high, int width) {
    const double s = InnerWidth(width);
    const int top = high > kS9 ? high : kSMeterFallbackHigh;
    double pos;
    if (value <= kS9) pos = double(value) / kS9 * 0.667 * s;
    else pos = 0.667 * s + double(value - kS9) / double(top - kS9) * 2 * 0.333 * s;
    pos = std::clamp(pos, 0.0, 0.97 * s);
    return int(pos) + 3;
}

CMeter::CMeter() { SetAccessibleRole(plat::AccessRole::Meter); }

bool CMeter::Create(const plat::Rect& r, plat::Window* parent, int id) {
    // Stretch ratios of the face; a scale outside the usable range counts as
    // the default, so the divisor can never reach 0.
    const double sx = IsUsablePanelScale(g_scalex) ? g_scalex : 1.4;
    const double sy = IsUsablePanelScale(g_scaley) ? g_scaley : 1.4;
    ratioX_ = r.width() * 1000 / int(sx * 250);
    ratioY_ = r.height() * 1000 / int(sy * 250);
    if (ModelCap(g_txwatts) == 200) r1_.high = 300;
    const bool ok = CreateChild("", r, parent, id, true);
    ShowName();
    return ok;
}

int CMeter::OnCreate() {
    font_.Create(14, plat::FW_NORMAL, "Arial");
    return 0;
}

void CMeter::ShowName() {
    std::string name = ReadingText();
    if (name == name_) return;
    name_ = std::move(name);
    SetAccessibleName(name_);
}

std::vector<plat::Rect> MeterRepaintRects(const MeterPicture& was, const MeterPicture& now, int w, int h,
                                          int readingBottom) {
    if (now == was) return {};
    if (now.face != was.face || readingBottom <= 0) return {{0, 0, w, h}};
    std::vector<plat::Rect> rects;
    // Both pens reach from the middle down, 3 pixels wide at most.
    const auto column = [&](int x) {
        if (x >= 0) rects.push_back({x - 4, h / 2 - 2, x + 5, h});
    };
    if (now.pointer != was.pointer) {
        column(was.pointer);
        column(now.pointer);
    }
    if (now.peak != was.peak) {
        column(was.peak);
        column(now.peak);
    }
    if (now.reading != was.reading) rects.push_back({0, 0, w, readingBottom + 1});
    return rects;
}

MeterPicture CMeter::Drawn() const {
    const int w = Width();
    const bool level = type_ == 1 && levelOn_;
    char text[128];
    std::snprintf(text, sizeof text, "%d %d %d %d %d %d %d", int(type_), w, Height(), Low(type_), High(type_),
                  level ? v2_ : -1, level ? level_ : -1);
    return {text, ReadingText(), PointerColumn(), type_ == 4 ? SMeterColumn(peak4_, r4_.high, w) : -1};
}

// The meter is fed at the meter rate with readings that mostly repeat: only
// a change of what is drawn costs a repaint, and only of the part that
// changed (a small copy to the screen where the whole face would be a large
// one each time the needle moves).
void CMeter::Repaint(int type) {
    ShowName();
    if (g_meterfreeze && type != 1) return;
    const MeterPicture was = std::exchange(painted_, Drawn());
    const std::vector<plat::Rect> rects = MeterRepaintRects(was, painted_, Width(), Height(), readingBottom_);
    if (rects.empty()) return;
    ++repaints_;
    for (const plat::Rect& r : rects) InvalidateRect(r);
}

void CMeter::SetValue(int value, int type, int value2) {
    type_ = static_cast<unsigned char>(type);
    switch (type & 0xFF) {
    case 1:
        if (value > 120) {
            v1_ = value / 10;
            mult1_ = 10;
        } else {
            v1_ = value;
            mult1_ = 1;
        }
        v2_ = value2;
        break;
    case 2: v2_ = value; break;
    case 3: v3_ = value; break;
    case 4:
        v4_ = value < 2 ? 1 : value;
        if (g_usetmate2 && g_tmate2smeter) g_tmate2smeter(g_tmate2peak ? peak4_ : v4_);
        break;
    case 5: v5_ = value; break;
    case 6: v6_ = value; break;
    default: break;
    }
    Repaint(type & 0xFF);
}

void CMeter::SetType(int value, int type) {
    type_ = static_cast<unsigned char>(type);
    if ((type & 0xFF) == 4) peak4_ = value < 2 ? 1 : value;
    Repaint(type & 0xFF);
}

void CMeter::SetRange(int low, int high, int type) {
    switch (type) {
    case 1: r1_ = {low, high}; break;
    case 2: r2_ = {low, high}; break;
    case 3: r3_ = {low, high}; break;
    case 4: r4_ = {low, high}; break;
    default: return;
    }
    Repaint(type);
}

void CMeter::SetLevelDisplay(bool on, int level) {
    levelOn_ = on;
    level_ = level;
    Repaint(1);
}

int CMeter::Value(int type) const {
    switch (type) {
    case 1: return v1_ * mult1_;
    case 2: return v2_;
    case 3: return v3_;
    case 4: return v4_;
    case 5: return v5_;
    case 6: return v6_;
    default: return 0;
    }
}

int CMeter::Low(int type) const {
    switch (type) {
    case 1: return r1_.low;
    case 2: return r2_.low;
    case 3: return r3_.low;
    case 4: return r4_.low;
    case 5: return r5_.low;
    case 6: return r6_.low;
    default: return 0;
    }
}

int CMeter::High(int type) const {
    switch (type) {
    case 1: return r1_.high;
    case 2: return r2_.high;
    case 3: return r3_.high;
    case 4: return r4_.high;
    case 5: return r5_.high;
    case 6: return r6_.high;
    default: return 0;
    }
}

std::string CMeter::ReadingText() const {
    char text[64];
    switch (type_) {
    case 1: std::snprintf(text, sizeof text, "%d", v1_ * mult1_); break;
    case 2: std::snprintf(text, sizeof text, "%d", v2_); break;
    case 3: std::snprintf(text, sizeof text, "%2.2f : 1", v3_ / 100.0); break;
    case 4: std::snprintf(text, sizeof text, "%2.2f ~ %d", v4_ / 256.0, SMeterColumn(v4_, r4_.high, Width())); break;
    case 5: std::snprintf(text, sizeof text, "%d", v5_); break;
    case 6: std::snprintf(text, sizeof text, "%d", v6_); break;
    default: return "";
    }
    return text;
}

int CMeter::PointerColumn() const {
    const int w = Width();
    MeterReading m{0, false};
    switch (type_) {
    case 1: m = MeterPointer(v1_, r1_.low, r1_.high, w); break;
    case 2: m = MeterPointer(v2_, r2_.low, r2_.high, w); break;
    case 3: m = MeterPointer(v3_ / 10.0, r3_.low, r3_.high, w); break;
    case 4: return SMeterColumn(v4_, r4_.high, w);
    case 5: m = MeterPointer(v5_, r5_.low, r5_.high, w); break;
    case 6: m = MeterPointer(v6_, r6_.low, r6_.high, w); break;
    default: break;
    }
    return m.shown ? m.x : -1;
}

namespace {
struct Mark {
    double at;          // the value the mark stands for, in the pointer's units
    const char* label;  // null: a small mark without a number
    bool red;
};

// One face: its marks along a scale line, the red part from `redFrom` on.
using LabelSink = std::function<void(const std::string&, const plat::Rect&)>;
using Measure = std::function<plat::Point(const std::string&)>;

void DrawScale(plat::PaintContext& pc, const LabelSink& label, const Measure& measure, int w, int h, const char* title, const Mark* marks,
               int n, int (*column)(double, int, const void*), const void* ctx, int redFrom) {
    const int line = h / 2 + 1;
    const int left = 3, right = w - 9;
    pc.Line(left, line, std::min(redFrom, right), line, kInk, 2);
    if (redFrom < right) pc.Line(redFrom, line, right, line, kRedZone, 3);
    for (int i = 0; i < n; ++i) {
        const int x = column(marks[i].at, w, ctx);
        const plat::Colour ink = marks[i].red ? kRedZone : kInk;
        const int len = marks[i].label ? std::max(4, h / 8) : std::max(2, h / 14);
        pc.Line(x, line, x, line + len, ink, marks[i].label ? 2 : 1);
        if (marks[i].label) {
            const plat::Point ext = measure(marks[i].label);
            pc.SetTextColour(ink);
            // Numbers at the ends stay whole on the face.
            const int lx = std::clamp(x - ext.x / 2, 1, std::max(1, w - ext.x - 2));
            label(marks[i].label, {lx, line + len, lx + ext.x, line + len + ext.y});
        }
    }
    pc.SetTextColour(RGB(110, 110, 110));
    const plat::Point ext = measure(title);
    label(title, {5, line - ext.y - 1, 5 + ext.x, line - 1});
}

struct LinearCtx {
    int low, high;
};
int LinearColumn(double v, int w, const void* ctx) {
    const auto* c = static_cast<const LinearCtx*>(ctx);
    return MeterPointer(v, c->low, c->high, w).x;
}
int SColumn(double v, int w, const void* ctx) {
    return SMeterColumn(int(v), *static_cast<const int*>(ctx), w);
}
}  // namespace

void CMeter::DrawFace(plat::PaintContext& pc, int w, int h) {
    const LabelSink label = [this, &pc](const std::string& text, const plat::Rect& box) {
        DrawLabel(pc, text, box, plat::DT_LEFT | plat::DT_SINGLELINE);
    };
    const Measure measure = [this, &pc](const std::string& text) { return LabelSize(pc, text); };
    pc.FillRect({0, 0, w, h}, kFace);
    switch (type_) {
    case 1: {
        const LinearCtx c{r1_.low, r1_.high};
        if (r1_.high >= 300) {
            const Mark m[] = {{0, "0", false}, {50, nullptr, false}, {100, "100", false}, {150, nullptr, false},
                              {200, "200", false}, {250, nullptr, true}, {300, "300", true}};
            DrawScale(pc, label, measure, w, h, "PO", m, 7, LinearColumn, &c, LinearColumn(250, w, &c));
        } else {
            const Mark m[] = {{0, "0", false}, {12.5, nullptr, false}, {25, "25", false}, {37.5, nullptr, false},
                              {50, "50", false}, {62.5, nullptr, false}, {75, "75", false}, {87.5, nullptr, false},
                              {100, "100", false}, {110, nullptr, true}, {120, nullptr, true}};
            DrawScale(pc, label, measure, w, h, "PO", m, 11, LinearColumn, &c, LinearColumn(100, w, &c));
        }
        break;
    }
    case 3: {
        const LinearCtx c{r3_.low, r3_.high};
        const Mark m[] = {{10, "1", false}, {15, nullptr, false}, {20, "2", false}, {30, "3", true},
                          {50, "5", true}, {100, "10", true}};
        DrawScale(pc, label, measure, w, h, "SWR", m, 6, LinearColumn, &c, LinearColumn(20, w, &c));
        break;
    }
    case 4: {
        const int high = r4_.high;
        const Mark m[] = {{256, "1", false}, {512, nullptr, false}, {768, "3", false}, {1024, nullptr, false},
                          {1280, "5", false}, {1536, nullptr, false}, {1792, "7", false}, {2048, nullptr, false},
                          {kS9, "9", false}, {kS9 + 512, nullptr, true}, {kS9 + 1024, "+40", true},
                          {kS9 + 1536, nullptr, true}};
        DrawScale(pc, label, measure, w, h, "S", m, 12, SColumn, &high, SMeterColumn(kS9, high, w));
        break;
    }
    case 5: {
        const LinearCtx c{r5_.low, r5_.high};
        const Mark m[] = {{0, "0", false}, {5, nullptr, false}, {10, "10", false}, {15, nullptr, false},
                          {20, "20", false}, {25, nullptr, true}, {30, "30", true}};
        DrawScale(pc, label, measure, w, h, "COMP", m, 7, LinearColumn, &c, LinearColumn(20, w, &c));
        break;
    }
    case 6: {
        const LinearCtx c{r6_.low, r6_.high};
        const Mark m[] = {{0, "0", false}, {25, nullptr, false}, {50, "50", false}, {75, nullptr, true},
                          {100, "100", true}};
        DrawScale(pc, label, measure, w, h, "ALC", m, 5, LinearColumn, &c, LinearColumn(50, w, &c));
        break;
    }
    default: break;  // type 2 has no face of its own
    }
}

void CMeter::OnPaint(plat::PaintContext& target) {
    const int w = Width(), h = Height();
    plat::BufferedPaint buf(target, w, h);
    plat::PaintContext& pc = buf.pc();
    ForgetDrawnTexts();
    pc.SetFont(GetFont() ? GetFont() : &font_);
    pc.SetBkMode(plat::TRANSPARENT);
    DrawFace(pc, w, h);
    if (type_ == 4) {
        const int x = SMeterColumn(v4_, r4_.high, w);
        const int px = SMeterColumn(peak4_, r4_.high, w);
        pc.Line(px, h / 2, px, h * 60 / 100, kPeak, 3);
        pc.Line(x, h / 2, x, h * 75 / 100, kRedZone, 1);
        pc.Line(x + 1, h / 2, x + 1, h * 75 / 100, kRedZone, 1);
    } else {
        const int x = PointerColumn();
        if (x > 0) pc.Line(x, h - 5, x, h / 2 + 3, kPointer, 3);
    }
    pc.SetTextColour(kReading);
    // The reading's band, from 5 pixels below the top, as tall as the font.
    const std::string reading = ReadingText();
    const plat::Point ext = LabelSize(pc, reading.empty() ? std::string("0") : reading);
    const int left = (w - ext.x) / 2;
    const plat::Rect band{left, 5, left + ext.x, 5 + ext.y};
    DrawLabel(pc, reading, band, plat::DT_CENTER | plat::DT_VCENTER | plat::DT_SINGLELINE);
    readingBottom_ = band.bottom;
    if (type_ == 1 && levelOn_) {
        char text[32];
        std::snprintf(text, sizeof text, "%d", v2_);
        const plat::Point e2 = LabelSize(pc, text);
        DrawLabel(pc, text, {band.right + 24 - e2.x, band.top, band.right + 24, band.top + e2.y},
                  plat::DT_CENTER | plat::DT_VCENTER | plat::DT_SINGLELINE);
        std::snprintf(text, sizeof text, "%2.2f", level_ / 100.0);
        const plat::Point e3 = LabelSize(pc, text);
        DrawLabel(pc, text, {band.left - 30, band.top, band.left - 30 + e3.x, band.top + e3.y},
                  plat::DT_CENTER | plat::DT_VCENTER | plat::DT_SINGLELINE);
    }
    pc.Line(0, 0, w, 0, RGB(128, 128, 128));
    pc.Line(0, 1, w, 1, RGB(63, 63, 63));
    pc.Line(0, 0, 0, h, RGB(128, 128, 128));
    pc.Line(0, h - 1, w, h - 1, RGB(192, 192, 192));
    pc.Line(w - 1, 0, w - 1, h, RGB(192, 192, 192));
    target.Blit(0, 0, buf);
}
