// An assignment picked in the settings window acts at once on each surface:
// the key or knob then moves the RF gain (14 02) on the simulated radio.
#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QMouseEvent>

#include "devices/control_surfaces.h"
#include "panel/swl_panel.h"
#include "platform/window_impl.h"
#include "settings/trans_ops.h"
#include "sim/sim_surfaces.h"
#include "surface_app.h"
#include "surface_ends.h"

namespace {
// Row n's list opened and `entry` clicked in it (the arrow keys are the
// main window's tuning keys).
void Choose(int n, const char* entry) {
    auto* combo = static_cast<QComboBox*>(g_transops->AssignList(n)->impl()->widget.data());
    combo->showPopup();
    QAbstractItemView* view = combo->view();
    const QModelIndex index = view->model()->index(combo->findText(entry), 0);
    view->scrollTo(index);
    const QPoint at = view->visualRect(index).center(), global = view->viewport()->mapToGlobal(at);
    QMouseEvent press(QEvent::MouseButtonPress, at, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, at, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(view->viewport(), &press);
    QApplication::sendEvent(view->viewport(), &release);
    ASSERT_EQ(combo->currentText(), entry);
}

int LevelFrames(const sim::SimRadio& radio, std::uint8_t sub) {
    int n = 0;
    for (const auto& f : radio.frames()) n += f.size() > 6 && f[4] == 0x14 && f[5] == sub;
    return n;
}
}  // namespace

// Pod key 9: the volume as loaded, the RF gain once picked.
TEST(AssignmentChange, PodKeyNine) {
    sim::SimPod pod;
    PodEnd podIn(pod);
    SurfaceApp qarv;
    ASSERT_TRUE(pod.link(qarv.dir.file("ports/com2")));
    qarv.start("PEGASUS COMPORT=COM2\n");
    for (const char* entry : {"VOL", "RF Gain"}) {
        Choose(8, entry);  // "Numeric Key 9"
        podIn.press('9');
        podIn.release('9');
        qarv.run(100);
        qarv.radio.clearLog();
        podIn.knob(-1);
        qarv.run(300);
        EXPECT_EQ(LevelFrames(qarv.radio, 0x02) > 0, entry[0] == 'R') << entry;
        EXPECT_EQ(LevelFrames(qarv.radio, 0x01) > 0, entry[0] == 'V') << entry;
    }
}

// FlexControl Aux2 Single: "RIT" lights its LED with RIT on; "RF Gain" does not.
TEST(AssignmentChange, FlexAuxTwo) {
    sim::SimFlexKnob knob;
    SurfaceApp qarv;
    ASSERT_TRUE(knob.link(qarv.dir.file("ports/com5")));
    KnobEnd knobIn(knob, qarv.dir.file("ports/com5"));
    qarv.start("", "Flex Knob=1\n");
    EXPECT_EQ(knob.written(5, realwait::kBoundMs), "I000;");
    g_swlpanel->rit = 1;
    qarv.run(1100);
    EXPECT_EQ(knob.written(5, realwait::kBoundMs), "I010;");
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

// TMate2 main knob: the RF gain moves and VFO A stays.
TEST(AssignmentChange, TMate2MainKnob) {
    FakeTMate2Lib fake;
    fake.set(1000, 1000, 1000);
    SurfaceApp qarv;
    qarv.start("", FakeTMate2Lib::Status());
    ASSERT_EQ(g_tmate2open, 1);
    Choose(0, "RF Gain");  // "Main Knob"
    const long long f0 = qarv.radio.frequency(0);
    qarv.radio.clearLog();
    fake.set(1001, 1000, 1000);
    qarv.run(300);
    EXPECT_GT(LevelFrames(qarv.radio, 0x02), 0);
    EXPECT_EQ(qarv.radio.frequency(0), f0);
}
