// Standard controls: push button, check box, radio button, static text,
// edit, combo box, list box, group box and tab strip. Each keeps its state
// in the object (so the program runs and is tested headless) and mirrors it
// to its toolkit widget when one exists. User actions reach the parent as
// WM_COMMAND with the control id in the low word and the notification code
// in the high word, lParam the control.
#pragma once
#include <string>
#include <vector>

#include "platform/paint.h"
#include "platform/window.h"

namespace plat {

// Notification codes.
constexpr unsigned BN_CLICKED = 0;
constexpr unsigned CBN_SELCHANGE = 1;
constexpr unsigned LBN_SELCHANGE = 1;
constexpr unsigned LBN_DBLCLK = 2;
constexpr unsigned EN_SETFOCUS = 0x0100;
constexpr unsigned EN_KILLFOCUS = 0x0200;
constexpr unsigned EN_CHANGE = 0x0300;
constexpr unsigned TCN_SELCHANGE = 0x0701;
constexpr int CB_ERR = -1;
constexpr int LB_ERR = -1;

class Control : public Window {
public:
    // Creates the control as a child of `parent` at `r` (pixels) with `id`.
    bool CreateControl(const std::string& text, const Rect& r, Window* parent, int id, bool visible = true);
    // Text and background colours of this control (0x00BBGGRR), as the
    // program's control-colour handlers give them.
    void SetColours(Colour text, Colour background);

protected:
    // Sends WM_COMMAND with `code` to the parent.
    void Notify(unsigned code);
    void NativeCreated() override { ApplyColours(); }
    void ApplyColours();
    bool coloured_ = false;
    Colour textColour_ = 0, backColour_ = 0;
};

class Button : public Control {
public:
    // Runs the click as if the operator had pressed it.
    void Click() { Notify(BN_CLICKED); }

protected:
    QWidget* CreateNative(QWidget* parent) override;
    void NativeSetText(const std::string& text) override;
};

class CheckBox : public Control {
public:
    int GetCheck() const { return checked_; }
    void SetCheck(int on);
    void Click();

protected:
    QWidget* CreateNative(QWidget* parent) override;
    void NativeCreated() override;
    void NativeSetText(const std::string& text) override;
    void Toggled(bool on);
    int checked_ = 0;
};

class RadioButton : public CheckBox {
protected:
    QWidget* CreateNative(QWidget* parent) override;
};

class StaticText : public Control {
protected:
    QWidget* CreateNative(QWidget* parent) override;
    void NativeSetText(const std::string& text) override;
};

class GroupBox : public Control {
protected:
    QWidget* CreateNative(QWidget* parent) override;
    void NativeSetText(const std::string& text) override;
};

class Edit : public Control {
public:
    std::string GetText() const { return GetWindowText(); }
    // Sets the text; EN_CHANGE follows, as for typing.
    void SetText(const std::string& text);
    void SetLimitText(int chars) { limit_ = chars; }
    // Typed text (tests and the toolkit's editing both come here).
    void TypeText(const std::string& text);
    // The operator leaves the edit (the toolkit's end of editing comes here).
    void KillFocus() { Notify(EN_KILLFOCUS); }
    // Selects characters start..end (end -1: to the end of the text; start
    // -1: nothing, the caret at the end).
    void SetSel(int start, int end);
    // A character typed into the field, before the field takes it: true
    // keeps it out of the text. Every typed character passes here.
    virtual bool FilterChar(unsigned ch) { (void)ch; return false; }
    // A readout rather than a text field: a key the filter does not take
    // goes on to the window the field sits in, not into the text.
    void SetPassOnKeys(bool on) { passOnKeys_ = on; }
    bool PassOnKeys() const { return passOnKeys_; }

protected:
    QWidget* CreateNative(QWidget* parent) override;
    void NativeSetText(const std::string& text) override;
    int limit_ = 0;
    bool passOnKeys_ = false;
};

// A multi-line edit (notes, result boxes). Lines end in CR LF in the text,
// as the program writes them.
class MultiLineEdit : public Edit {
public:
    void SetReadOnly(bool on);
    // Adds text at the end.
    void AppendText(const std::string& text);

protected:
    QWidget* CreateNative(QWidget* parent) override;
    void NativeSetText(const std::string& text) override;
    bool readOnly_ = false;
};

// Shared list model of combo boxes and list boxes.
class ListControl : public Control {
public:
    int AddString(const std::string& item);
    int InsertString(int index, const std::string& item);
    int DeleteString(int index);
    void ResetContent();
    int GetCount() const { return int(items_.size()); }
    std::string GetItemText(int index) const;
    int FindStringExact(const std::string& item) const;
    int GetCurSel() const { return sel_; }
    // Selects without notifying, like the platform's selection call.
    int SetCurSel(int index);
    // Selects as the operator does: the parent is notified.
    void Choose(int index);

protected:
    // The whole list to the widget (creation, reset).
    virtual void NativeSync() = 0;
    // One row added at or removed from `index`, and the selection: the
    // widget changes that row only, so filling a list grows linearly.
    virtual void NativeInsertRow(int index) = 0;
    virtual void NativeRemoveRow(int index) = 0;
    virtual void NativeSelect() = 0;
    std::vector<std::string> items_;
    int sel_ = -1;
};

class ComboBox : public ListControl {
public:
    std::string GetSelectedText() const { return GetItemText(sel_); }

private:
    bool reported_ = false;  // a change was told; its activation may follow

protected:
    QWidget* CreateNative(QWidget* parent) override;
    void NativeCreated() override {
        ApplyColours();
        NativeSync();
    }
    void NativeSync() override;
    void NativeInsertRow(int index) override;
    void NativeRemoveRow(int index) override;
    void NativeSelect() override;
};

class ListBox : public ListControl {
public:
    void DoubleClick(int index);
    // Tab characters in the rows move the text to the next multiple of
    // `dialogUnits` (a quarter of the font's average character width each).
    void SetTabStops(int dialogUnits);
    int TabStops() const { return tabStops_; }

protected:
    QWidget* CreateNative(QWidget* parent) override;
    void NativeCreated() override {
        ApplyColours();
        NativeSync();
    }
    void NativeSync() override;
    void NativeInsertRow(int index) override;
    void NativeRemoveRow(int index) override;
    void NativeSelect() override;
    int tabStops_ = 32;
};

class TabStrip : public ListControl {
protected:
    QWidget* CreateNative(QWidget* parent) override;
    void NativeCreated() override {
        ApplyColours();
        NativeSync();
    }
    void NativeSync() override;
    void NativeInsertRow(int index) override;
    void NativeRemoveRow(int index) override;
    void NativeSelect() override;
};

}  // namespace plat
