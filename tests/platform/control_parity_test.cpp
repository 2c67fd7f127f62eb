// Every kind of control tells the program of a change the same way, once,
// whether the operator made it with the mouse, with the keyboard, or through
// a screen reader or switch access (the toolkit's accessibility actions and
// value interface, what the accessibility bus calls).
#include <gtest/gtest.h>

#include <QAccessible>
#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QListWidget>
#include <QMouseEvent>
#include <QTabBar>
#include <QWidget>

#include <functional>
#include <vector>

#include "civ/radio_port.h"
#include "civ/radio_search.h"
#include "panel/controls/bistate_button.h"
#include "panel/controls/slider.h"
#include "platform/controls.h"
#include "platform/input_synth.h"
#include "platform/keys.h"
#include "platform/menu.h"
#include "platform/window_impl.h"
#include "settings/settings_fixture.h"

namespace {
using plat::synth::Button;

// The program's side: every WM_COMMAND and every slider message.
struct Parent : plat::Window {
    std::vector<std::pair<unsigned, unsigned>> commands;  // id, code
    std::vector<std::pair<unsigned, long>> slider;        // message, value
    bool OnCommand(unsigned id, unsigned code, plat::LPARAM) override {
        commands.emplace_back(id, code);
        return true;
    }
    plat::LRESULT OnMessage(unsigned msg, plat::WPARAM wParam, plat::LPARAM lParam) override {
        if (msg == wParam) slider.emplace_back(msg, long(lParam));
        return 0;
    }
    void clear() {
        commands.clear();
        slider.clear();
    }
};

struct Shown {
    Parent parent;
    Shown() {
        parent.Create("controls", plat::WS_VISIBLE, {0, 0, 400, 400}, nullptr, 0);
        parent.impl()->widget->show();
    }
};

QAccessibleInterface* Accessible(plat::Window& w) {
    return QAccessible::queryAccessibleInterface(w.impl()->widget.data());
}
void DoAction(plat::Window& w, const QString& action) {
    QAccessibleInterface* a = Accessible(w);
    ASSERT_NE(a, nullptr);
    ASSERT_NE(a->actionInterface(), nullptr);
    ASSERT_TRUE(a->actionInterface()->actionNames().contains(action)) << a->actionInterface()->actionNames().join(",").toStdString();
    a->actionInterface()->doAction(action);
}
// The toolkit plays some presses out on its own timer (the button is shown
// down for a moment first): wait for the program to hear of it, bounded,
// then let anything else pending run.
void Until(const std::function<bool()>& done) {
    QElapsedTimer t;
    t.start();
    while (!done() && t.elapsed() < 2000) QApplication::processEvents(QEventLoop::AllEvents, 20);
    QApplication::processEvents();
}

// The mouse's click on a row of a list (a list box, or a combo box's open list).
void ClickRow(QAbstractItemView* view, int row) {
    const QPoint at = view->visualRect(view->model()->index(row, 0)).center();
    const QPoint global = view->viewport()->mapToGlobal(at);
    QMouseEvent press(QEvent::MouseButtonPress, at, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, at, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(view->viewport(), &press);
    QApplication::sendEvent(view->viewport(), &release);
    QApplication::processEvents();
}

using Commands = std::vector<std::pair<unsigned, unsigned>>;

// A list-like control (list box, tab strip): the key `vk` moves it to
// `keyRow`, then the screen reader's `action` on the item `item` gives (a
// row, a tab; looked up when needed, the rows are made anew) moves it to
// `itemRow`; each is told once.
void KeyThenItemAction(Parent& p, plat::ListControl& c, unsigned vk, int keyRow,
                       const std::function<QAccessibleInterface*()>& item, const QString& action, int itemRow,
                       const Commands& once) {
    p.clear();
    plat::synth::Key(&c, vk);
    EXPECT_EQ(c.GetCurSel(), keyRow);
    EXPECT_EQ(p.commands, once);
    p.clear();
    QAccessibleInterface* a = item();
    ASSERT_NE(a, nullptr);
    a->actionInterface()->doAction(action);
    QApplication::processEvents();
    EXPECT_EQ(c.GetCurSel(), itemRow);
    EXPECT_EQ(p.commands, once);
}
}  // namespace

TEST(ControlParity, PushButton) {
    Shown s;
    plat::Button b;
    b.CreateControl("Sweep", {10, 10, 90, 40}, &s.parent, 40010);
    const Commands once{{40010, plat::BN_CLICKED}};
    plat::synth::Click(&b, Button::Left, {5, 5});
    EXPECT_EQ(s.parent.commands, once);
    s.parent.clear();
    plat::synth::Key(&b, plat::VK_SPACE);
    EXPECT_EQ(s.parent.commands, once);
    s.parent.clear();
    DoAction(b, QAccessibleActionInterface::pressAction());
    Until([&] { return !s.parent.commands.empty(); });
    EXPECT_EQ(s.parent.commands, once);
}

TEST(ControlParity, CheckBoxAndRadioButton) {
    Shown s;
    plat::CheckBox c;
    c.CreateControl("Search for Radio Automatically", {10, 10, 250, 30}, &s.parent, 2492);
    plat::RadioButton r;
    r.CreateControl("Auto", {10, 40, 250, 60}, &s.parent, 1552);
    for (plat::CheckBox* box : {&c, static_cast<plat::CheckBox*>(&r)}) {
        SCOPED_TRACE(box->GetWindowText());
        const unsigned id = unsigned(box->GetDlgCtrlID());
        const Commands once{{id, plat::BN_CLICKED}};
        s.parent.clear();
        plat::synth::Click(box, Button::Left, {5, 5});
        EXPECT_EQ(box->GetCheck(), 1);
        EXPECT_EQ(s.parent.commands, once);
        s.parent.clear();
        plat::synth::Key(box, plat::VK_SPACE);
        EXPECT_EQ(box->GetCheck(), 0);
        EXPECT_EQ(s.parent.commands, once);
        // The screen reader's toggle: ticked on screen, and the program knows.
        s.parent.clear();
        DoAction(*box, QAccessibleActionInterface::toggleAction());
        QApplication::processEvents();
        EXPECT_EQ(box->GetCheck(), 1);
        EXPECT_EQ(s.parent.commands, once);
        // The program's own change is no operator's.
        s.parent.clear();
        box->SetCheck(0);
        EXPECT_TRUE(s.parent.commands.empty());
    }
}

TEST(ControlParity, ComboBox) {
    Shown s;
    plat::ComboBox c;
    c.CreateControl("", {10, 10, 150, 30}, &s.parent, 2475);
    for (const char* b : {"2400", "4800", "9600", "19200"}) c.AddString(b);
    c.SetCurSel(1);
    auto* q = qobject_cast<QComboBox*>(c.impl()->widget.data());
    ASSERT_NE(q, nullptr);
    const Commands once{{2475, plat::CBN_SELCHANGE}};
    // The mouse's pick in the open list.
    q->showPopup();
    QAbstractItemView* view = q->view();
    ClickRow(view, 2);
    EXPECT_EQ(c.GetCurSel(), 2);
    EXPECT_EQ(s.parent.commands, once);
    // Picking the entry already chosen is told as well, once.
    s.parent.clear();
    q->showPopup();
    ClickRow(view, 2);
    EXPECT_EQ(s.parent.commands, once);
    // The arrow keys and the wheel on the closed box.
    s.parent.clear();
    plat::synth::Key(&c, plat::VK_DOWN);
    EXPECT_EQ(c.GetCurSel(), 3);
    EXPECT_EQ(s.parent.commands, once);
    s.parent.clear();
    plat::synth::Wheel(&c, {5, 5}, 120);
    EXPECT_EQ(c.GetCurSel(), 2);
    EXPECT_EQ(s.parent.commands, once);
    // The screen reader opens the list with its action; the operator moves
    // through it and picks with Return.
    s.parent.clear();
    QApplication::processEvents();
    DoAction(c, QAccessibleActionInterface::showMenuAction());
    QApplication::processEvents();
    ASSERT_TRUE(view->isVisible());
    for (int key : {int(Qt::Key_Up), int(Qt::Key_Return)}) {
        QKeyEvent down(QEvent::KeyPress, key, Qt::NoModifier);
        QKeyEvent up(QEvent::KeyRelease, key, Qt::NoModifier);
        QApplication::sendEvent(view, &down);
        QApplication::sendEvent(view, &up);
    }
    QApplication::processEvents();
    EXPECT_EQ(c.GetCurSel(), 1);
    EXPECT_EQ(s.parent.commands, once);
}

TEST(ControlParity, ListBox) {
    Shown s;
    plat::ListBox l;
    l.CreateControl("", {10, 10, 200, 200}, &s.parent, 2370);
    for (const char* p : {"Interface", "Keyer", "Scan", "Bands"}) l.AddString(p);
    auto* q = qobject_cast<QListWidget*>(l.impl()->widget.data());
    ASSERT_NE(q, nullptr);
    const Commands once{{2370, plat::LBN_SELCHANGE}};
    ClickRow(q, 1);
    EXPECT_EQ(l.GetCurSel(), 1);
    EXPECT_EQ(s.parent.commands, once);
    // The screen reader selects a row (it does not make it current).
    KeyThenItemAction(
        s.parent, l, plat::VK_DOWN, 2, [&] { return Accessible(l)->tableInterface()->cellAt(3, 0); },
        QAccessibleActionInterface::toggleAction(), 3, once);
}

TEST(ControlParity, TabStrip) {
    Shown s;
    plat::TabStrip t;
    t.CreateControl("", {10, 10, 300, 40}, &s.parent, 300);
    for (const char* p : {"Main", "Sub", "Both"}) t.AddString(p);
    t.SetCurSel(0);
    auto* q = qobject_cast<QTabBar*>(t.impl()->widget.data());
    ASSERT_NE(q, nullptr);
    const Commands once{{300, plat::TCN_SELCHANGE}};
    const QPoint at = q->tabRect(1).center();
    plat::synth::Click(&t, Button::Left, {at.x(), at.y()});
    EXPECT_EQ(t.GetCurSel(), 1);
    EXPECT_EQ(s.parent.commands, once);
    KeyThenItemAction(
        s.parent, t, plat::VK_RIGHT, 2, [&] { return Accessible(t)->child(0); },
        QAccessibleActionInterface::pressAction(), 0, once);
}

TEST(ControlParity, Edit) {
    Shown s;
    plat::Edit e;
    e.CreateControl("", {10, 10, 150, 30}, &s.parent, 2536);
    const Commands once{{2536, plat::EN_CHANGE}};
    plat::synth::Type(&e, "7");
    EXPECT_EQ(e.GetText(), "7");
    EXPECT_EQ(s.parent.commands, once);
    // The screen reader writes the text, or adds to it.
    s.parent.clear();
    Accessible(e)->setText(QAccessible::Value, "14");
    EXPECT_EQ(e.GetText(), "14");
    EXPECT_EQ(s.parent.commands, once);
    s.parent.clear();
    ASSERT_NE(Accessible(e)->editableTextInterface(), nullptr);
    Accessible(e)->editableTextInterface()->insertText(2, "0");
    EXPECT_EQ(e.GetText(), "140");
    EXPECT_EQ(s.parent.commands, once);
    // The program's own text is no operator's change to read back twice.
    s.parent.clear();
    e.SetText("3");
    EXPECT_EQ(s.parent.commands, once);  // SetText says EN_CHANGE itself, as typing does
}

TEST(ControlParity, OwnerDrawnButtons) {
    Shown s;
    CBiStateButton b;
    b.CreateChild("USB", {10, 10, 60, 30}, &s.parent, 100);
    CPHButton hold;
    hold.CreateChild("TUNE", {70, 10, 120, 30}, &s.parent, 108);
    const Commands click{{100, 0}};
    const Commands held{{IDC_HOLD_PRESS, 0}, {108, 0}, {IDC_HOLD_RELEASE, 0}};
    struct Case {
        COwnerDrawn* button;
        Commands expected;
    };
    for (const Case& c : {Case{&b, click}, Case{&hold, held}}) {
        SCOPED_TRACE(c.button->GetWindowText());
        s.parent.clear();
        plat::synth::Click(c.button, Button::Left, {5, 5});
        EXPECT_EQ(s.parent.commands, c.expected);
        s.parent.clear();
        plat::synth::Key(c.button, plat::VK_SPACE);
        EXPECT_EQ(s.parent.commands, c.expected);
        s.parent.clear();
        EXPECT_EQ(plat::AccessibleRoleOf(c.button), plat::AccessRole::PushButton);
        DoAction(*c.button, QAccessibleActionInterface::pressAction());
        EXPECT_EQ(s.parent.commands, c.expected);
    }
}

TEST(ControlParity, OwnerDrawnMenuButton) {
    Shown s;
    plat::popup_menu_script::Enable();
    CMenuBtn m;
    m.CreateChild("Mode", {10, 10, 90, 30}, &s.parent, 2489);
    m.SetMenu({plat::MenuItem{"LSB", 5031, {}}, plat::MenuItem{"USB", 5032, {}}});
    plat::popup_menu_script::PushChoice(5032);
    plat::synth::Click(&m, Button::Left, {5, 5});
    plat::popup_menu_script::PushChoice(5031);
    plat::synth::Key(&m, plat::VK_SPACE);
    plat::popup_menu_script::PushChoice(5032);
    DoAction(m, QAccessibleActionInterface::showMenuAction());
    EXPECT_EQ(plat::popup_menu_script::History().size(), 3u);
    EXPECT_EQ(s.parent.commands, (Commands{{5032, 0}, {5031, 0}, {5032, 0}}));
}

TEST(ControlParity, OwnerDrawnSlider) {
    Shown s;
    CSlider sl;
    sl.Create({10, 10, 40, 210}, &s.parent, 4100);
    sl.SetRange(0, 255);
    sl.SetValue(100);
    plat::synth::Click(&sl, Button::Left, {15, 2});
    EXPECT_EQ(s.parent.slider, (std::vector<std::pair<unsigned, long>>{{4100, 255}}));
    s.parent.clear();
    plat::synth::Key(&sl, plat::VK_DOWN);
    EXPECT_EQ(s.parent.slider, (std::vector<std::pair<unsigned, long>>{{4100, 254}}));
    s.parent.clear();
    QAccessibleInterface* a = Accessible(sl);
    ASSERT_NE(a->valueInterface(), nullptr);
    EXPECT_EQ(a->valueInterface()->currentValue().toInt(), 254);
    EXPECT_EQ(a->valueInterface()->maximumValue().toInt(), 255);
    a->valueInterface()->setCurrentValue(40);
    EXPECT_EQ(sl.GetValue(), 40);
    EXPECT_EQ(s.parent.slider, (std::vector<std::pair<unsigned, long>>{{4100, 40}}));
    s.parent.clear();
    DoAction(sl, QAccessibleActionInterface::increaseAction());
    EXPECT_EQ(s.parent.slider, (std::vector<std::pair<unsigned, long>>{{4100, 41}}));
    // At the top a key has nothing to move.
    sl.SetValue(255);
    s.parent.clear();
    plat::synth::Key(&sl, plat::VK_UP);
    EXPECT_TRUE(s.parent.slider.empty());
}

// The settings window's search box ticked by a screen reader starts the
// radio search as the mouse's tick does, and unticked stops it.
TEST(ControlParity, TheSearchBoxTickedByAScreenReaderStartsTheSearch) {
    SettingsWindow s(23, 21);
    PtyPair port;
    s.w().EnumerateComPorts({port.slavePath()});
    plat::CheckBox* box = s.w().CheckOf(2492);
    DoAction(*box, QAccessibleActionInterface::toggleAction());
    EXPECT_EQ(box->GetCheck(), 1);
    EXPECT_EQ(g_autobaud, 2);
    EXPECT_STREQ(g_comport, port.slavePath().c_str());
    DoAction(*box, QAccessibleActionInterface::toggleAction());
    EXPECT_EQ(g_autobaud, 0);
}
