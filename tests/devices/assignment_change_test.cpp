// A key or knob assignment changed in the settings window acts at once, on
// each surface: the list is changed with the keys as an operator changes
// it, then the surface's key or knob is used and the radio's frames show
// which level moved.
#include <gtest/gtest.h>

#include <dlfcn.h>
#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QMouseEvent>
#include "platform/window_impl.h"

#include "devices/control_surfaces.h"
#include "devices/surface_keys.h"
#include "panel/swl_panel.h"
#include "platform/input_synth.h"
#include "settings/trans_ops.h"
#include "sim/sim_surfaces.h"
#include "surface_app.h"
#include "surface_ends.h"

namespace {
// Row n of the assignment pages set to `entry` as the operator does it: the
// list opened, a click on the entry. (The arrow keys are the main window's
// tuning keys; the list ignores a release that comes right after the click
// that opened it, so it is opened directly.)
void Choose(int n, const std::string& entry) {
    plat::ComboBox* list = g_transops->AssignList(n);
    const int row = list->FindStringExact(entry);
    ASSERT_GE(row, 0) << entry;
    auto* combo = static_cast<QComboBox*>(list->impl()->widget.data());
    combo->showPopup();
    QAbstractItemView* view = combo->view();
    ASSERT_TRUE(view->isVisible());
    const QModelIndex index = view->model()->index(row, 0);
    view->scrollTo(index);
    const QPoint at = view->visualRect(index).center();
    const QPoint global = view->viewport()->mapToGlobal(at);
    QMouseEvent press(QEvent::MouseButtonPress, at, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, at, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(view->viewport(), &press);
    QApplication::sendEvent(view->viewport(), &release);
    QApplication::processEvents();
    ASSERT_EQ(list->GetCurSel(), row);
}

// Level frames (14 sub ...) the radio got since the log was cleared.
int LevelFrames(const sim::SimRadio& radio, std::uint8_t sub) {
    int n = 0;
    for (const auto& f : radio.frames())
        if (f.size() > 6 && f[4] == 0x14 && f[5] == sub) ++n;
    return n;
}
}  // namespace

TEST(AssignmentChange, PodKeyNineRunsTheNewFunctionAtOnce) {
    sim::SimPod pod;
    PodEnd podIn(pod);
    SurfaceApp qarv;
    ASSERT_TRUE(pod.link(qarv.dir.file("ports/com2")));
    qarv.start("PEGASUS COMPORT=COM2\n");
    g_transops->ShowWindow(plat::SW_SHOW);
    g_transops->ShowPage(18);
    ASSERT_EQ(g_transops->AssignLabel(8), "Numeric Key 9");
    const auto keyNineThenKnob = [&] {
        podIn.press('9');
        podIn.release('9');
        qarv.run(100);
        qarv.radio.clearLog();
        podIn.knob(-1);
        qarv.run(300);
    };
    keyNineThenKnob();
    EXPECT_GT(LevelFrames(qarv.radio, 0x01), 0);  // the volume, as loaded
    Choose(8, "RF Gain");
    keyNineThenKnob();
    EXPECT_GT(LevelFrames(qarv.radio, 0x02), 0);
    EXPECT_EQ(LevelFrames(qarv.radio, 0x01), 0);
    g_mainwin->SendMessage(plat::WM_CLOSE);
    qarv.run(3000);
    EXPECT_NE(qarv.dir.read("qarv.ini").find("302 NUMERIC KEY 9=RF Gain\n"), std::string::npos);
}

TEST(AssignmentChange, FlexButtonAndItsLedFollowTheNewFunction) {
    sim::SimFlexKnob knob;
    SurfaceApp qarv;
    ASSERT_TRUE(knob.link(qarv.dir.file("ports/com5")));
    KnobEnd knobIn(knob, qarv.dir.file("ports/com5"));
    qarv.start("", "Flex Knob=1\n");
    ASSERT_EQ(g_flexopen, 1);
    EXPECT_EQ(knob.written(5, realwait::kBoundMs), "I000;");
    // RIT on: the LED of Aux2 Single ("RIT") lights.
    g_swlpanel->rit = 1;
    qarv.run(1100);
    EXPECT_EQ(knob.written(5, realwait::kBoundMs), "I010;");
    g_transops->ShowPage(17);
    Choose(1, "RF Gain");
    qarv.run(1100);
    EXPECT_EQ(knob.written(5, realwait::kBoundMs), "I000;");
    qarv.radio.clearLog();
    knobIn.send("X2S;");
    qarv.run(100);
    knobIn.send("D;");
    qarv.run(300);
    EXPECT_GT(LevelFrames(qarv.radio, 0x02), 0);
}

TEST(AssignmentChange, TMate2MainKnobTakesTheNewFunction) {
    void* fake = dlopen(QARV_FAKE_TMATE2, RTLD_NOW);
    ASSERT_NE(fake, nullptr);
    auto set = reinterpret_cast<void (*)(int, int, int, int)>(dlsym(fake, "FakeTMate2Set"));
    set(1000, 1000, 1000, 0x1FF);
    {
        SurfaceApp qarv;
        qarv.start("", std::string("TMATE2=1\n[PREFERENCE]\nTMATE2 LIBRARY=") + QARV_FAKE_TMATE2 + "\n");
        ASSERT_EQ(g_tmate2open, 1);
        g_transops->ShowPage(17);
        ASSERT_EQ(g_transops->AssignLabel(0), "Main Knob");
        Choose(0, "RF Gain");
        const long long f0 = qarv.radio.frequency(0);
        qarv.radio.clearLog();
        set(1001, 1000, 1000, 0x1FF);
        qarv.run(300);
        EXPECT_GT(LevelFrames(qarv.radio, 0x02), 0);
        EXPECT_EQ(qarv.radio.frequency(0), f0);
    }
    dlclose(fake);
}
