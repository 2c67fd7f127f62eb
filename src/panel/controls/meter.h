// CMeter: the radio panel's meter. One control shows one of six kinds at a
// time: 1 power (with the type 2 reading beside it), 2 a plain reading,
// 3 SWR, 4 S units (with a held peak), 5 speech compression, 6 ALC. The
// owner feeds it with SetValue / SetType / SetRange; it notifies nobody.
// The faces are drawn in code: a scale line with its marks and numbers, the
// pointer in dark red, the reading as text in the band at the top.
#pragma once
#include <string>
#include <vector>

#include "panel/controls/owner_drawn.h"
#include "platform/font.h"

// While set, only type 1 updates repaint.
extern int g_meterfreeze;
// Called with each type 4 reading (or the held peak with "TMate2 S meter
// shows Peak") while the TMate2 is in use; the control-surface code sets it.
extern void (*g_tmate2smeter)(int value);

constexpr int kS9 = 2304;  // S9 in 1/256 S-unit steps

// A panel scale factor outside 0.5..4.0 is not used.
constexpr double kMinPanelScale = 0.5, kMaxPanelScale = 4.0;
bool IsUsablePanelScale(double scale);

// The meter's arithmetic, apart from the window.
struct MeterReading {
    int x;              // pointer column, clamped to the face
    bool shown;         // false when the range gives no pointer
};
// Pointer column of `value` on a face `width` pixels wide for range low..high.
MeterReading MeterPointer(double value, int low, int high, int width);
// Pointer column of an S-meter value (1/256 S units, S9 = 2304) whose range
// ends at `high`; at most 0.97 of the inner width.
int SMeterColumn(int value, int high, int width);

// What a meter's face shows: the scale and the rest as one comparable text,
// and apart from it what moves with the readings (-1: not drawn).
struct MeterPicture {
    std::string face, reading;
    int pointer = -1, peak = -1;
    bool operator==(const MeterPicture&) const = default;
};
// The parts of a `w` x `h` meter to paint again when what it shows goes from
// `was` to `now`: none when nothing changed; the whole face when the face
// changed or the reading's band (rows above `readingBottom`) is not known
// yet; else the columns of the pointer and the peak that moved and the
// reading's band when its text changed.
std::vector<plat::Rect> MeterRepaintRects(const MeterPicture& was, const MeterPicture& now, int w, int h,
                                          int readingBottom);

class CMeter : public COwnerDrawn {
public:
    CMeter();
    bool Create(const plat::Rect& r, plat::Window* parent, int id);
    void SetValue(int value, int type, int value2);
    void SetType(int value, int type);
    void SetRange(int low, int high, int type);
    // The panel's level display: the second readings of type 1.
    void SetLevelDisplay(bool on, int level);
    int GetType() const { return type_; }
    // The stored value of `type` (type 1: as shown, times its multiplier).
    int Value(int type) const;
    int Peak() const { return peak4_; }
    int Low(int type) const;
    int High(int type) const;
    // The reading text shown for the current type.
    std::string ReadingText() const;
    // The pointer column for the current type; -1 when none is drawn.
    int PointerColumn() const;
    int RatioX() const { return ratioX_; }
    int RatioY() const { return ratioY_; }
    // Paint requests so far (tests check the freeze rule with it). An update
    // that leaves the face as it is drawn asks for none.
    int Repaints() const { return repaints_; }

protected:
    int OnCreate() override;
    void OnPaint(plat::PaintContext& pc) override;

private:
    void Repaint(int type);
    void DrawFace(plat::PaintContext& pc, int w, int h);
    void ShowName();
    MeterPicture Drawn() const;
    struct Range {
        int low, high;
    };
    int v1_ = 0, mult1_ = 1, v2_ = 0, v3_ = 0, v4_ = 10, peak4_ = 10, v5_ = 0, v6_ = 0;
    Range r1_{0, 120}, r2_{0, 120}, r3_{0, 120}, r4_{1, 120}, r5_{0, 30}, r6_{0, 100};
    unsigned char type_ = 4;
    int ratioX_ = 0, ratioY_ = 0;
    bool levelOn_ = false;
    int level_ = 0;
    int repaints_ = 0;
    MeterPicture painted_;  // Drawn() when the last repaint was asked
    int readingBottom_ = 0;  // lower edge of the reading's band, once painted
    std::string name_;     // the accessible name last given
    plat::Font font_;
};
