// The filter controls: CFilterControl, the passband picture whose shift the
// operator drags (message 352 posted to the owner, wParam the id; the owner
// reads GetShift); CFilterButton, a panel filter button captioned with the
// width it stands for, whose right click assigns another width through
// CFilterDlg; CFilterPanel, the pop-out window with a larger passband picture.
#pragma once
#include <string>

#include "panel/controls/bistate_button.h"
#include "panel/controls/scale.h"
#include "platform/controls.h"
#include "platform/font.h"

constexpr int IDC_FILTER_PANEL_CONTROL = 166;
constexpr int IDD_FILTER_ASSIGN = 2127;
constexpr int IDC_FILTER_ASSIGN_LIST = 3059;
constexpr int IDC_FILTER_ASSIGN_TEXT = 3235;

// The caption of a filter button for filter `index`: with a filter table the
// entry's width ("2.40" for "2.4 kHz ", "700" for "700 Hz "; blank for an
// index outside the table); without one by the old-radio dialect; null when
// the caption stays as it is.
const char* FilterButtonCaption(int index, bool hasFilterTable, int oldradio, bool amTable, char (&buf)[16]);

class CFilterControl : public COwnerDrawn {
public:
    CFilterControl();
    bool Create(const plat::Rect& r, plat::Window* parent, int id);
    // Hz; 3600 on a radio type without a filter table; drawn at most 9000 wide.
    void SetWidth(int hz);
    void SetShift(int hz);
    double GetShift() const { return shift_; }
    int DrawnWidth() const { return width_; }
    int WidthText() const { return widthText_; }
    bool ShowsWidthText() const;
    // Hz per pixel across the shift range; current for the present size.
    double HzPerPixel() const;

protected:
    int OnCreate() override;
    void OnLButtonDown(unsigned flags, plat::Point p) override;
    void OnLButtonUp(unsigned flags, plat::Point p) override;
    void OnMouseMove(unsigned flags, plat::Point p) override;
    void OnCaptureChanged() override { dragging_ = false; }
    void OnPaint(plat::PaintContext& pc) override;

private:
    int XOf(double hz) const;
    void ShowName();
    plat::Font font_;
    int low_ = -6000, high_ = 6000;
    int width_ = 0, widthText_ = 0, shift_ = 0;
    int lastX_ = 0;
    bool dragging_ = false;
};

class CFilterDlg : public plat::Window {
public:
    std::string m_text;
    int m_index = -1;  // preselected entry on entry (1-based), the chosen list position on OK
    bool m_amTable = false;
    // Shows the dialog over `parent`; IDOK or IDCANCEL.
    int DoModal(plat::Window* parent);
    plat::ListBox& List() { return list_; }
    plat::Button& OkButton() { return ok_; }
    plat::Button& CancelButton() { return cancel_; }

protected:
    int OnCreate() override;
    bool OnCommand(unsigned id, unsigned code, plat::LPARAM control) override;
    void OnClose() override;

private:
    plat::ListBox list_;
    plat::StaticText label_;
    plat::Button ok_, cancel_;
};

class CFilterButton : public CBiStateButton {
public:
    void SetFilter(int index);
    int GetFilter() const { return index_; }
    // Which width table the captions read (AM/FM on two-table models).
    void SetAmTable(bool am) { am_ = am; }

protected:
    void OnRButtonDown(unsigned flags, plat::Point p) override;

private:
    int index_ = 0;
    bool am_ = false;
};

class CFilterPanel : public plat::Window {
public:
    CFilterControl& Control() { return control_; }

protected:
    int OnCreate() override;
    void OnPaint(plat::PaintContext& pc) override;

private:
    CFilterControl control_;
};
