// What the serial amplifiers report reaches the screen, with the whole
// program running: the Alpha 87A's answer to the power query on the
// amplifier's settings page, and an IC-PW1 or OM4 port that would not open
// on the main window's status bar.
#include <string>

#include "app/app.h"
#include "base/shell_ops.h"
#include "devices/amplifiers.h"
#include "devices/station_fixture.h"
#include "platform/layout_check.h"
#include "settings/device_status.h"
#include "settings/settings_pages.h"
#include "settings/trans_ops.h"
#include "sim/sim_radio.h"

TEST(AmplifierStatus, TheAlphaAnswerShowsOnItsPageAndAFailedPortOnTheStatusBar) {
    TestDir dir;
    SettledRadio radio(0x94, 19200);
    ASSERT_TRUE(radio.link(dir.file("ports/com1")));
    radio.start();
    SettledDevice alpha(sim::Alpha87Responder(1234));
    ASSERT_TRUE(alpha.link(dir.file("ports/com3")));
    // COM8 has no device behind it.
    dir.write("qarv.ini",
              "[INTERFACE]\nCOMPORT=COM1\nBAUD=19200\nALPHA 87A COMPORT=COM3\nOM4 COMPORT=COM8\n"
              "[OPERATING STATUS]\nQARV=23\nSELECTION=6\n");
    CApp app;
    ASSERT_TRUE(app.InitInstance());
    EXPECT_EQ(StatusBarText(), "OM4 open failed");
    g_transops->ShowWindow(plat::SW_SHOW);
    g_transops->PageList()->Choose(6);
    plat::Window* label = g_transops->RowControl(settings::RowOfId(kAmpStatusLabelId));
    ASSERT_NE(label, nullptr);
    EXPECT_TRUE(label->IsWindowVisible());
    EXPECT_EQ(label->GetWindowText(), "");
    // The power query each second is answered; the answer is shown.
    EXPECT_TRUE(RunUntil([&] { return label->GetWindowText() == "1234"; }, 4000));
    EXPECT_NE(alpha.text().find("PWR\r"), std::string::npos);
    // The page still holds its amplifier controls without overlaps.
    EXPECT_TRUE(g_transops->BiStateOf(1531)->IsWindowVisible());
    for (const plat::LayoutFault& f : plat::CheckLayout(g_transops)) EXPECT_NE(f.window, label) << f.what;
    app.ExitInstance();
    radio.stop();
}
