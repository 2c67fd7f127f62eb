// CNumericEdit: the edit field of the frequency display and of the panel's
// digit boxes. In a VFO A digit box (5155-5162) or VFO B digit box
// (5164-5171) a typed keypad key (digit, '.', Return, Esc) is not shown: it
// goes to the owner as WM_COMMAND 5163 / 5172 with the key in g_keyentry;
// other keys go on to the owner window. In any other numeric edit Return,
// and a 'k' or 'm' multiplier (which rewrites the text), end the entry: the
// focus goes to the parent and the parent gets WM_COMMAND with the edit's id.
//
// CSpecialEdit: a plain edit whose Return sends the parent WM_COMMAND with
// the edit's id (the key still reaches the field).
#pragma once
#include <string>

#include "platform/controls.h"

constexpr unsigned IDC_VFOA_DIGIT_FIRST = 5155, IDC_VFOA_DIGIT_LAST = 5162, IDC_VFOA_KEY = 5163;
constexpr unsigned IDC_VFOB_DIGIT_FIRST = 5164, IDC_VFOB_DIGIT_LAST = 5171, IDC_VFOB_KEY = 5172;

// Set when the last text a numeric edit read back began with '.'.
extern int g_leadingpoint;

// The text SetValue shows: "%01.0f", or from 1000 up "%01.3f K" of value/1000.
std::string NumericEditText(double value);
// The number a numeric edit's text stands for: digits and one '.', then an
// optional 'k'/'K' (x 1000) or 'm'/'M' (x 1000000), blanks around them
// allowed. Anything else reads as 0.
double ParseNumericText(const std::string& text);

class CNumericEdit : public plat::Edit {
public:
    CNumericEdit() { SetAccessibleRole(plat::AccessRole::EditableText); }
    void SetValue(double value);
    double GetValue();
    bool FilterChar(unsigned ch) override;

protected:
    int OnCreate() override;
    // A character given to the field by the program (a posted WM_CHAR).
    void OnChar(unsigned ch) override;
    void OnSetFocus(plat::Window* lost) override;
    void OnKillFocus(plat::Window* gets) override;

private:
    void EndWith(double value);
};

class CSpecialEdit : public plat::Edit {
public:
    bool FilterChar(unsigned ch) override;
};
