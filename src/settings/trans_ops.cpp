#include "settings/trans_ops.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cmath>
#include <cstring>

#include "base/band_plan.h"
#include "base/device_options.h"
#include "base/memory_options.h"
#include "base/panel_options.h"
#include "base/settings_options.h"
#include "base/settings_table.h"
#include "civ/band_table.h"
#include "civ/civ_options.h"
#include "civ/frequency_options.h"
#include "civ/radio_init.h"
#include "civ/radio_models.h"
#include "civ/reply_processing.h"
#include "devices/midi_controllers.h"
#include "devices/tuner.h"
#include "platform/event_loop.h"
#include "platform/layout_check.h"
#include "platform/message_box.h"
#include "platform/paint.h"
#include "settings/assign_pages.h"
#include "settings/band_sets.h"
#include "settings/settings_pages.h"

using namespace settings;

CTransOps* g_transops = nullptr;
int g_settingspagecount = 22;
int g_prefs3shown = 0;
void (*g_settingsreinit)() = nullptr;

namespace {
// Page area layout: rows flow down a column of kLines lines, then the next
// column. The column is at least kColumn wide and grows to the widest row.
constexpr int kPageLeft = 105, kPageTop = 5;  // the page area's frame
// 19 lines keep the window whole on a 1000-pixel screen at the default
// scale and place, and hold the longest page (37 rows) in two columns; the
// window may flow them into fewer lines (and more columns) to fit a place.
constexpr int kLeft = 110, kTop = 10, kLine = 19, kRowHeight = 17, kColumn = 265, kLines = 19;
constexpr int kFewestLines = 9;
constexpr int kCaptionWidth = 180, kFieldWidth = 78, kNarrowestField = 50;
// Edit fields end at this line of their column where their caption leaves
// room, so that the fields of a page stand in one line.
constexpr int kFieldEnd = kColumn - 10;
// The page area's surface: the column of lines, and room below it.
constexpr int SurfaceHeight(int lines) { return kTop + lines * kLine + 8; }
// The slider strip under a page's rows: caption, slider, value label.
constexpr int kSliderWidth = 28, kSliderCaption = 30, kSliderHeight = 110, kSliderValue = 16;
constexpr int kSliderStrip = kSliderCaption + kSliderHeight + 2 + kSliderValue;
// Pixels the toolkit's controls take around their text: a check box's
// mark, a list's frame and arrow, a button's frame, a label's margin.
constexpr int kCheckChrome = 26, kComboChrome = 32, kButtonChrome = 18, kLabelChrome = 6;
// The settings font is given for the default scale; it grows and shrinks
// with the window, so that every caption keeps its room at every scale.
constexpr double kFontScale = 1.4;

// Two-line slider captions carry the break as "\r\n" or "\r".
std::string DisplayCaption(const char* caption) {
    std::string out;
    for (const char* p = caption; *p; ++p) {
        if (*p == '\r') {
            out += '\n';
            if (p[1] == '\n') ++p;
        } else {
            out += *p;
        }
    }
    return out;
}

bool IsPortList(int id) {
    return id == 1317 || id == 6108 || id == 6161 || id == 6109 || id == 6122 || (id >= 6400 && id <= 6403);
}
}  // namespace

CTransOps::CTransOps() {
    // A manual antenna choice holds against the frequency the radio reports.
    g_antennaheld = [] { return g_antennaselection != 9; };
    const auto rows = PageRows();
    controls_.resize(rows.size());
    savedPorts_.resize(rows.size());
    for (std::size_t n = 0; n < rows.size(); ++n) {
        switch (rows[n].kind) {
        case Ctl::Label: controls_[n] = std::make_unique<plat::StaticText>(); break;
        case Ctl::Check: controls_[n] = std::make_unique<plat::CheckBox>(); break;
        case Ctl::Radio: controls_[n] = std::make_unique<plat::RadioButton>(); break;
        case Ctl::Edit: controls_[n] = std::make_unique<plat::Edit>(); break;
        case Ctl::Combo: controls_[n] = std::make_unique<plat::ComboBox>(); break;
        case Ctl::Button: controls_[n] = std::make_unique<plat::Button>(); break;
        case Ctl::Slider: controls_[n] = std::make_unique<CSlider>(); break;
        case Ctl::BiState: controls_[n] = std::make_unique<CBiStateButton>(); break;
        }
    }
}

CTransOps::~CTransOps() {
    if (g_transops == this) g_transops = nullptr;
    g_antennaheld = nullptr;
}

plat::Rect CTransOps::Scaled(int l, int t, int r, int b) const {
    return {int(float(l) * ScaleX), int(float(t) * ScaleY), int(float(r) * ScaleX), int(float(b) * ScaleY)};
}

plat::Rect CTransOps::OnPage(int l, int t, int r, int b) const {
    // The surface starts inside the page area's frame line.
    const int x0 = int(float(kPageLeft) * ScaleX) + 1, y0 = int(float(kPageTop) * ScaleY) + 1;
    const plat::Rect p = Scaled(l, t, r, b);
    return {p.left - x0, p.top - y0, p.right - x0, p.bottom - y0};
}

int CTransOps::Units(const std::string& text, int chrome) const {
    // Without a display session nothing is drawn: an average character
    // width stands in for the measure.
    if (!plat::app::Started()) return int(text.size()) * 6 + chrome;
    int widest = 0;
    // Two-line captions: the longer line counts.
    std::size_t from = 0;
    while (from <= text.size()) {
        const std::size_t to = std::min(text.find('\n', from), text.size());
        widest = std::max(widest, plat::MeasureText(this, text.substr(from, to - from)).x);
        from = to + 1;
    }
    return int(std::ceil(double(widest + chrome) / ScaleX));
}

// What each row needs in the window's font: the caption beside a field,
// the field (a list as wide as its longest entry), or the whole row. The
// column takes the widest of them.
void CTransOps::MeasureRows() {
    const auto rows = PageRows();
    captionNeed_.assign(rows.size(), 0);
    fieldNeed_.assign(rows.size(), 0);
    int widest = kColumn - 10;
    for (std::size_t n = 0; n < rows.size(); ++n) {
        const PageRow& r = rows[n];
        int row = 0;
        switch (r.kind) {
        case Ctl::Edit:
        case Ctl::Combo: {
            captionNeed_[n] = Units(r.caption, kLabelChrome);
            int field = kNarrowestField;
            if (r.kind == Ctl::Combo) {
                const auto* list = static_cast<const plat::ComboBox*>(controls_[n].get());
                for (int i = 0; i < list->GetCount(); ++i) field = std::max(field, Units(list->GetItemText(i), kComboChrome));
                // The port lists are filled later: "COM100" is their longest.
                if (r.enc == Enc::Port) field = std::max(field, Units("COM100", kComboChrome));
            }
            fieldNeed_[n] = field;
            row = captionNeed_[n] + field;
            break;
        }
        case Ctl::Check:
        case Ctl::Radio: row = Units(r.caption, kCheckChrome); break;
        case Ctl::Label:
            if (r.id == kMidiFileLabelId) {
                // The caption names the file of the controller found.
                for (int m = 1; m <= kMidiModels; ++m)
                    row = std::max(row, Units(std::string("Change the functions in the ") + MidiModelInfo(m).file, kLabelChrome));
            } else {
                row = Units(r.caption, kLabelChrome);
            }
            break;
        case Ctl::Button: row = Units(r.caption, kButtonChrome); break;
        case Ctl::BiState: row = std::max(85, Units(r.caption, kButtonChrome)); break;
        case Ctl::Slider:
            sliderPitch_ = std::max(sliderPitch_, Units(DisplayCaption(r.caption), kLabelChrome) + 4);
            break;
        }
        widest = std::max(widest, row);
    }
    // The assignment rows: any surface's caption beside any surface's list.
    for (int n = 0; n < kAssignRows; ++n)
        for (Surface s : {Surface::TMate2, Surface::Flex, Surface::KeypadPod, Surface::RemotePod}) {
            assignCaptionNeed_ = std::max(assignCaptionNeed_, Units(AssignCaption(s, n), kLabelChrome));
            for (const std::string& item : AssignItems(s, n))
                assignFieldNeed_ = std::max(assignFieldNeed_, Units(item, kComboChrome));
        }
    widest = std::max(widest, assignCaptionNeed_ + assignFieldNeed_);
    column_ = widest + 10;
}

plat::Point CTransOps::NaturalSize() const { return SizeFor(lines_); }

plat::Point CTransOps::SizeFor(int lines) const {
    // Two columns at least: the assignment rows stand in the second.
    int right = kLeft + 2 * column_;
    const auto rows = PageRows();
    for (int page = 0; page < 24; ++page) {
        int slots = 0, sliders = 0;
        for (const PageRow& r : rows)
            if (r.page == page && RuleHolds(r.rule)) ++(r.kind == Ctl::Slider ? sliders : slots);
        const int columns = (slots + lines - 1) / lines;
        right = std::max(right, kLeft + columns * column_);
        if (sliders == 0) continue;
        // The slider strip as ShowPage lays it out.
        int column = slots > 0 ? (slots - 1) / lines : 0;
        if (kTop + (slots > 0 ? (slots - 1) % lines + 1 : 0) * kLine + 8 + kSliderStrip > SurfaceHeight(lines)) ++column;
        right = std::max(right, kLeft + column * column_ + sliders * sliderPitch_);
    }
    const plat::Rect r = Scaled(0, 0, right + 2, kPageTop + SurfaceHeight(lines) + 2);
    return {r.width(), r.height()};
}

int CTransOps::FewestLines() { return kFewestLines; }
int CTransOps::MostLines() { return kLines; }

void CTransOps::Flow(int lines, int maxWidth, int maxHeight) {
    const int before = lines_;
    lines_ = std::clamp(lines, kFewestLines, kLines);
    const plat::Point want = NaturalSize();
    const plat::Rect r = GetWindowRect();
    const int h = std::min(want.y, std::max(200, maxHeight));
    const int w = std::min(want.x + (h < want.y ? pages_.BarExtent() : 0), std::max(320, maxWidth));
    MoveWindow({r.left, r.top, r.left + w, r.top + h});
    if (lines_ != before && g_settingspage >= 0) ShowPage(g_settingspage);
    PlacePageArea();
    Invalidate();
}

void CTransOps::PlacePageArea() {
    const plat::Rect client = GetClientRect();
    const int x0 = int(float(kPageLeft) * ScaleX) + 1, y0 = int(float(kPageTop) * ScaleY) + 1;
    pages_.MoveWindow({x0, y0, std::max(x0 + 1, client.right - 1), std::max(y0 + 1, client.bottom - 1)});
    pages_.SetBackground(g_settingsbackgroundcolor);
    FitSurface();
}

// The surface is as large as the page on show: a page that fits the area
// shows no scroll bars.
void CTransOps::FitSurface() {
    plat::Rect used{0, 0, 0, 0};
    auto add = [&used](const plat::Window& w) {
        if (!w.IsWindowVisible()) return;
        const plat::Rect r = w.GetWindowRect();
        used.right = std::max(used.right, r.right);
        used.bottom = std::max(used.bottom, r.bottom);
    };
    for (const auto& c : controls_) add(*c);
    for (const auto& l : labels_) add(*l);
    for (int n = 0; n < kAssignRows; ++n) {
        add(assign_[n]);
        add(assignLabel_[n]);
    }
    const plat::Rect margin = Scaled(0, 0, 5, 5);
    pages_.SetSurfaceSize(used.right + margin.right, used.bottom + margin.bottom);
}

void CTransOps::FitWithin(int maxWidth, int maxHeight) {
    // The saved place stays as it is (it is the operator's); the window ends
    // within the limits and the page area scrolls what it cannot show. A
    // window placed almost off the limits keeps a usable size.
    const plat::Point want = NaturalSize();
    const plat::Rect r = GetWindowRect();
    constexpr int kLeastWidth = 320, kLeastHeight = 200;
    const int h = std::min(want.y, std::max(kLeastHeight, maxHeight - std::max(0, r.top)));
    // A page area that scrolls down keeps its width beside the bar.
    const int wide = want.x + (h < want.y ? pages_.BarExtent() : 0);
    const int w = std::min(wide, std::max(kLeastWidth, maxWidth - std::max(0, r.left)));
    MoveWindow({r.left, r.top, r.left + w, r.top + h});
    PlacePageArea();
    Invalidate();
}

int CTransOps::OnCreate() {
    ScaleX = float(g_settingsscalex);
    ScaleY = float(g_settingsscaley);
    const int* configured = AppSetting(AppVar::SettingsSmallFont);
    const int size = configured && *configured > 0 ? *configured : 16;
    font_.Create(std::max(6, int(std::lround(size * double(ScaleY) / kFontScale))), plat::FW_NORMAL, "Arial");
    SetFont(&font_);
    pages_.Create("", plat::WS_CHILD | plat::WS_VISIBLE, {}, this, 0);
    const auto rows = PageRows();
    labelOf_.assign(rows.size(), -1);
    valueOf_.assign(rows.size(), -1);
    for (std::size_t n = 0; n < rows.size(); ++n) {
        const PageRow& r = rows[n];
        if (r.kind == Ctl::Edit || r.kind == Ctl::Combo || r.kind == Ctl::Slider) {
            auto label = std::make_unique<plat::StaticText>();
            label->CreateControl(DisplayCaption(r.caption), {}, this, 0, false);
            pages_.Adopt(label.get());
            labelOf_[n] = int(labels_.size());
            labels_.push_back(std::move(label));
        }
        if (r.kind == Ctl::Slider) {
            auto value = std::make_unique<plat::StaticText>();
            value->CreateControl("", {}, this, 0, false);
            pages_.Adopt(value.get());
            valueOf_[n] = int(labels_.size());
            labels_.push_back(std::move(value));
            auto* slider = static_cast<CSlider*>(controls_[n].get());
            slider->Create({}, this, RowControlId(int(n)), false);
            slider->SetRange(SliderLow(r), SliderHigh(r));
        } else if (r.kind == Ctl::BiState) {
            auto* button = static_cast<CBiStateButton*>(controls_[n].get());
            button->CreateChild(r.caption, {}, this, RowControlId(int(n)), false);
            button->SetOnColor(g_buttonselectedtextcolor);
            button->SetOffColor(g_buttontextcolor);
        } else {
            static_cast<plat::Control*>(controls_[n].get())
                ->CreateControl(labelOf_[n] >= 0 ? "" : r.caption, {}, this, RowControlId(int(n)), false);
        }
        pages_.Adopt(controls_[n].get());
        if (r.kind == Ctl::Edit && r.enc == Enc::Text) static_cast<plat::Edit*>(controls_[n].get())->SetLimitText(r.size - 1);
        if (r.kind == Ctl::Edit && r.id == 4514) static_cast<plat::Edit*>(controls_[n].get())->SetLimitText(63);
        if (r.kind == Ctl::Edit && r.id == 2525) static_cast<plat::Edit*>(controls_[n].get())->SetLimitText(3);
        if (r.kind == Ctl::Combo)
            ListItems(r.items, [](void* c, const char* s) { static_cast<plat::ComboBox*>(c)->AddString(s); },
                      controls_[n].get());
    }
    MeasureRows();
    for (std::size_t n = 0; n < rows.size(); ++n) Place(int(n), 0);
    for (int n = 0; n < kAssignRows; ++n) {
        const AssignSlot slot = AssignSlotOf(n);
        const int x = kLeft + column_, y = kTop + (slot.row - 1) * kLine;
        const int field = std::max(kFieldWidth, assignFieldNeed_);
        const int caption = std::max(assignCaptionNeed_, std::min(kCaptionWidth, column_ - 10 - field));
        assignLabel_[n].CreateControl("", OnPage(x, y, x + caption, y + kRowHeight), this, 0, false);
        // Row 3 of the knob page is also the TMate2's multi-knob list.
        assign_[n].CreateControl("", OnPage(x + caption, y, x + caption + field, y + kRowHeight), this,
                                 n == 2 ? int(kTmate2MultiId) : 7900 + n, false);
        pages_.Adopt(&assignLabel_[n]);
        pages_.Adopt(&assign_[n]);
    }
    RefillAssignments();
    for (CBiStateButton* b : {&menuUp_, &menuDown_}) {
        b->SetOnColor(g_buttonselectedtextcolor);
        b->SetOffColor(g_buttontextcolor);
    }
    menuUp_.CreateChild("Menu Up", Scaled(10, 40, 95, 55), this, IDC_MENU_UP);
    menuDown_.CreateChild("Menu Down", Scaled(10, 60, 95, 75), this, IDC_MENU_DOWN);
    // The page list is filled last; its selection is the saved page.
    pageList_.CreateControl("", Scaled(1, 10, 105, 26), this, IDC_PAGE_LIST);
    g_settingspagecount = PageCount();
    for (int p = 0; p < g_settingspagecount; ++p) pageList_.AddString(PageCaption(p));
    // The list stands left of the pages in its given width: its font is the
    // largest (up to 10 design units) in which the longest page name fits
    // beside the drop-down arrow.
    // (The list's own frame and arrow take 25 pixels; 27 leaves a margin.)
    const int room = pageList_.GetWindowRect().width() - 27;
    for (int px = std::max(6, int(10 * ScaleY));; --px) {
        pageListFont_.Create(px, plat::FW_NORMAL, "Arial");
        pageList_.SetFont(&pageListFont_);
        if (!plat::app::Started()) break;
        int widest = 0;
        for (int p = 0; p < g_settingspagecount; ++p)
            widest = std::max(widest, plat::MeasureText(&pageList_, PageCaption(p)).x);
        if (widest <= room || px <= 6) break;
    }
    pageList_.SetCurSel(g_settingspage);
    PlacePageArea();
    return 0;
}

plat::Control* CTransOps::Control(int id) const {
    const int row = RowOfId(id);
    if (row < 0) return nullptr;
    const Ctl k = PageRows()[row].kind;
    return k == Ctl::Slider || k == Ctl::BiState ? nullptr : static_cast<plat::Control*>(RowControl(row));
}
CSlider* CTransOps::SliderOf(int id) const {
    const int row = RowOfId(id);
    return row >= 0 && PageRows()[row].kind == Ctl::Slider ? static_cast<CSlider*>(RowControl(row)) : nullptr;
}
CBiStateButton* CTransOps::BiStateOf(int id) const {
    const int row = RowOfId(id);
    return row >= 0 && PageRows()[row].kind == Ctl::BiState ? static_cast<CBiStateButton*>(RowControl(row)) : nullptr;
}
plat::StaticText* CTransOps::ValueLabel(int row) const {
    return row >= 0 && row < int(valueOf_.size()) && valueOf_[row] >= 0 ? labels_[valueOf_[row]].get() : nullptr;
}
void CTransOps::ShowSliderValue(int row) {
    plat::StaticText* label = ValueLabel(row);
    if (!label) return;
    const PageRow& r = PageRows()[row];
    label->SetWindowText(std::to_string(SettingOfSlider(r, static_cast<CSlider*>(RowControl(row))->GetValue())));
}
plat::Edit* CTransOps::EditOf(int id) const {
    const int row = RowOfId(id);
    return row >= 0 && PageRows()[row].kind == Ctl::Edit ? static_cast<plat::Edit*>(RowControl(row)) : nullptr;
}
plat::CheckBox* CTransOps::CheckOf(int id) const {
    const int row = RowOfId(id);
    if (row < 0) return nullptr;
    const Ctl k = PageRows()[row].kind;
    return k == Ctl::Check || k == Ctl::Radio ? static_cast<plat::CheckBox*>(RowControl(row)) : nullptr;
}
plat::ComboBox* CTransOps::ComboOf(int id) const {
    const int row = RowOfId(id);
    return row >= 0 && PageRows()[row].kind == Ctl::Combo ? static_cast<plat::ComboBox*>(RowControl(row)) : nullptr;
}

// Row n in line k of the page area: a caption and its field, or a check box,
// button or label across the column.
void CTransOps::Place(int n, int k) {
    const int x = kLeft + (k / lines_) * column_, y = kTop + (k % lines_) * kLine;
    const int usable = column_ - 10;
    if (labelOf_[n] >= 0) {
        // Captions line up at the usual width where the row leaves room;
        // edit fields end on one line, lists take what their entries need.
        const int caption = std::max(captionNeed_[n], std::min(kCaptionWidth, usable - fieldNeed_[n]));
        const bool list = PageRows()[n].kind == Ctl::Combo;
        const int room = (list ? usable : std::max(kFieldEnd, caption + fieldNeed_[n])) - caption;
        const int field = std::max(fieldNeed_[n], std::min(list ? std::max(kFieldWidth, fieldNeed_[n]) : kFieldWidth, room));
        labels_[labelOf_[n]]->MoveWindow(OnPage(x, y, x + caption, y + kRowHeight));
        controls_[n]->MoveWindow(OnPage(x + caption, y, x + caption + field, y + kRowHeight));
    } else if (PageRows()[n].kind == Ctl::BiState) {
        controls_[n]->MoveWindow(OnPage(x, y, x + 85, y + kRowHeight));  // as wide as "Menu Up"
    } else {
        controls_[n]->MoveWindow(OnPage(x, y, x + usable, y + kRowHeight));
    }
}

void CTransOps::PlaceSlider(int n, int x, int top) {
    if (labelOf_[n] >= 0) labels_[labelOf_[n]]->MoveWindow(OnPage(x - 2, top, x + sliderPitch_ - 4, top + kSliderCaption));
    const int st = top + kSliderCaption;
    controls_[n]->MoveWindow(OnPage(x, st, x + kSliderWidth, st + kSliderHeight));
    const int vt = st + kSliderHeight + 2;
    if (valueOf_[n] >= 0) labels_[valueOf_[n]]->MoveWindow(OnPage(x, vt, x + sliderPitch_ - 6, vt + kSliderValue));
}

void CTransOps::HidePages() {
    for (auto& c : controls_) c->ShowWindow(plat::SW_HIDE);
    for (auto& l : labels_) l->ShowWindow(plat::SW_HIDE);
    for (int n = 0; n < kAssignRows; ++n) {
        assign_[n].ShowWindow(plat::SW_HIDE);
        assignLabel_[n].ShowWindow(plat::SW_HIDE);
    }
}

void CTransOps::RefillAssignments() {
    const Surface surface = SurfaceInUse();
    for (int n = 0; n < kAssignRows; ++n) {
        assignLabel_[n].SetWindowText(AssignCaption(surface, n));
        assign_[n].ResetContent();
        for (const std::string& item : AssignItems(surface, n)) assign_[n].AddString(item);
        // A saved text the list does not hold leaves the row unselected (and
        // the text as it is).
        const char* text = AssignText(surface, n);
        assign_[n].SetCurSel(text ? assign_[n].FindStringExact(text) : -1);
    }
}

void CTransOps::ApplyAssignments() {
    const Surface surface = SurfaceInUse();
    for (int n = 0; n < kAssignRows; ++n) {
        char* text = AssignText(surface, n);
        const int sel = assign_[n].GetCurSel();
        if (sel < 0) continue;
        // The key runs the entry on show from now on, not after a restart.
        SelectAssignedEntry(surface, n, assign_[n].GetSelectedText());
        if (!text || sel == assign_[n].FindStringExact(text)) continue;
        std::snprintf(text, 128, "%s", assign_[n].GetSelectedText().c_str());
    }
}

void CTransOps::ShowPage(int page) {
    g_prefs3shown = 0;
    HidePages();
    // Only the pages of the list are shown: any other number (a saved page
    // this radio type does not have) shows none and leaves the list
    // without selection until a page is chosen.
    if (page < 0 || page >= g_settingspagecount) {
        g_settingspage = -1;
        pageList_.SetCurSel(-1);
        FitSurface();
        Invalidate();
        return;
    }
    g_settingspage = page;
    pageList_.SetCurSel(page);
    // The controller found may have changed since the last showing.
    if (plat::Window* label = RowControl(RowOfId(kMidiFileLabelId))) label->SetWindowText(MidiFileCaption());
    if (page == 2) g_prefs3shown = 1;
    const auto rows = PageRows();
    // The rows on show close up, so hidden rows leave no gaps; the sliders
    // stand side by side under them.
    int slot = 0;
    for (std::size_t n = 0; n < rows.size(); ++n) {
        if (rows[n].page != page || !RuleHolds(rows[n].rule) || rows[n].kind == Ctl::Slider) continue;
        Place(int(n), slot++);
        controls_[n]->ShowWindow(plat::SW_SHOW);
        if (labelOf_[n] >= 0) labels_[labelOf_[n]]->ShowWindow(plat::SW_SHOW);
    }
    // The strip starts under the last row of the last column in use, or at
    // the top of the next column when it would run past the page's foot.
    int column = slot > 0 ? (slot - 1) / lines_ : 0;
    int top = kTop + (slot > 0 ? (slot - 1) % lines_ + 1 : 0) * kLine + 8;
    if (top + kSliderStrip > SurfaceHeight(lines_)) {
        ++column;
        top = kTop;
    }
    const int left = kLeft + column * column_;
    int strip = 0;
    for (std::size_t n = 0; n < rows.size(); ++n) {
        if (rows[n].page != page || !RuleHolds(rows[n].rule) || rows[n].kind != Ctl::Slider) continue;
        PlaceSlider(int(n), left + strip++ * sliderPitch_, top);
        controls_[n]->ShowWindow(plat::SW_SHOW);
        labels_[labelOf_[n]]->ShowWindow(plat::SW_SHOW);
        labels_[valueOf_[n]]->ShowWindow(plat::SW_SHOW);
    }
    const Surface surface = SurfaceInUse();
    for (int n = 0; n < kAssignRows; ++n) {
        const bool on = AssignSlotOf(n).page == page && AssignShown(surface, n) && AssignCaption(surface, n)[0];
        assign_[n].ShowWindow(on ? plat::SW_SHOW : plat::SW_HIDE);
        assignLabel_[n].ShowWindow(on ? plat::SW_SHOW : plat::SW_HIDE);
    }
    FitSurface();
    Invalidate();
}

void CTransOps::EnumerateComPorts(const std::vector<std::string>& ports) {
    const auto rows = PageRows();
    for (std::size_t n = 0; n < rows.size(); ++n) {
        if (rows[n].enc != Enc::Port) continue;
        auto* list = static_cast<plat::ComboBox*>(controls_[n].get());
        list->ResetContent();
        list->AddString(rows[n].id == 1317 ? "COM0" : "NONE");
        for (const std::string& p : ports) list->AddString(p);
    }
}

void CTransOps::SelectPort(int listId, const char* name) {
    const int row = RowOfId(listId);
    if (row < 0 || PageRows()[row].enc != Enc::Port) return;
    savedPorts_[row] = name;
    auto* list = static_cast<plat::ComboBox*>(controls_[row].get());
    // A whole name: "COM1" must not select "COM10".
    list->SetCurSel(list->FindStringExact(name));
}

const std::string& CTransOps::SavedPort(int listId) const {
    static const std::string none;
    const int row = RowOfId(listId);
    return row >= 0 ? savedPorts_[row] : none;
}

plat::LRESULT CTransOps::OnMessage(unsigned msg, plat::WPARAM wParam, plat::LPARAM) {
    const int row = RowOfId(int(msg));
    if (row < 0 || PageRows()[row].kind != Ctl::Slider || wParam != msg) return 0;
    ShowSliderValue(row);
    if (int(msg) == kTunerPowerId) {
        // The tuner takes its power from the setting itself; nothing to apply.
        *PageRows()[row].i = SettingOfSlider(PageRows()[row], SliderOf(kTunerPowerId)->GetValue());
        return 0;
    }
    NotifyChanged();
    return 0;
}

void CTransOps::NotifyChanged() {
    if (GetParent()) GetParent()->SendMessage(plat::WM_COMMAND, kSettingsChangedId, 0);
}

bool CTransOps::OnCommand(unsigned id, unsigned code, plat::LPARAM) {
    const int iid = int(id);
    if (iid == IDC_PAGE_LIST) {
        if (code == plat::CBN_SELCHANGE) ShowPage(pageList_.GetCurSel());
        return true;
    }
    if (iid == IDC_MENU_UP || iid == IDC_MENU_DOWN) {
        const int next = g_settingspage + (iid == IDC_MENU_UP ? -1 : 1);
        if (next >= 0 && next < g_settingspagecount) {
            pageList_.SetCurSel(next);
            ShowPage(next);
        }
        return true;
    }
    if (iid == int(kTmate2MultiId) || (iid >= 7900 && iid < 7900 + kAssignRows)) {
        if (code != plat::CBN_SELCHANGE) return true;
        ApplyAssignments();
        if (GetParent()) GetParent()->SendMessage(plat::WM_COMMAND, iid == int(kTmate2MultiId) ? kTmate2MultiId : kSettingsChangedId, 0);
        return true;
    }
    const int row = RowOfId(iid);
    if (row < 0) return false;
    const PageRow& r = PageRows()[row];
    if (r.kind == Ctl::Edit) {
        if (code == plat::EN_KILLFOCUS) OnEditKillFocus(iid);
        return true;
    }
    if (r.kind == Ctl::Combo && code != plat::CBN_SELCHANGE) return true;
    if (r.kind == Ctl::Slider) return true;
    auto* list = r.kind == Ctl::Combo ? static_cast<plat::ComboBox*>(controls_[row].get()) : nullptr;
    switch (iid) {
    case 1500:  // these take effect at once and are no settings change
        if (list->GetCurSel() >= 0) g_licenseclass = list->GetCurSel();
        return true;
    case 1521:
        if (list->GetCurSel() >= 0) g_membank = list->GetCurSel();
        return true;
    case 5066:
        if (list->GetCurSel() >= 0) g_mousewheel = list->GetCurSel();
        return true;
    case 2383:
        if (list->GetCurSel() >= 0) txFilterData = list->GetCurSel();
        break;
    case 5175:
        if (GetParent()) GetParent()->SendMessage(plat::WM_COMMAND, kMidiReopenId, 0);
        return true;
    case 1552:
    case 1553:
        CheckOf(1552)->SetCheck(iid == 1552);
        CheckOf(1553)->SetCheck(iid == 1553);
        g_swlbandset = iid == 1552 ? 1 : 0;
        RefillSwlBands(g_swlbandset);
        return true;
    case 1531:
        g_ampoperate = !g_ampoperate;
        BiStateOf(1531)->SetState(g_ampoperate ? 1 : 0);
        operChange = 1;
        break;
    case 1532:
        g_amppower = !g_amppower;
        BiStateOf(1532)->SetWindowText(g_amppower ? "ON" : "Off");
        powerChange = 1;
        break;
    case 2535: {
        char buf[16];
        std::snprintf(buf, sizeof buf, "%d", ShownAmpDrive(CheckOf(2535)->GetCheck() != 0));
        EditOf(2536)->SetText(buf);
        break;
    }
    case 5062:
        if (g_tunerstate == 0 &&
            plat::MessageBox(this,
                             "This will completely clear out the AT-200PC memories.\nThis takes about 14 seconds.\n"
                             "Do you want to clear the AT-200PC memories?",
                             "AT-200PC Mem Clear", plat::MB_YESNO) == plat::IDYES)
            g_ldgmemclear = 2;
        return true;
    default: break;
    }
    if (IsPortList(iid) && list && list->GetCurSel() >= 0) {
        savedPorts_[row] = list->GetSelectedText();
        // Ports 2..5 are in use when chosen; "NONE" (the first entry) is none.
        if (iid >= 6400 && iid <= 6403) g_thpchosen[iid - 6400] = list->GetCurSel() > 0 ? 1 : 0;
    }
    NotifyChanged();
    return true;
}

void CTransOps::OnPaint(plat::PaintContext& pc) {
    const plat::Rect client = GetWindowRect();
    pc.FillRect({0, 0, client.width(), client.height()}, 0x808080);
    pc.FillRect({int(105 * ScaleX), int(5 * ScaleY), client.width(), client.height()}, g_settingsbackgroundcolor);
    pc.FrameRect({int(105 * ScaleX), int(5 * ScaleY), client.width(), client.height()}, 0x000000);
}
