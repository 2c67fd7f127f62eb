// The CW keyboard: the ring and its limits, full-words mode, memories, the
// window driven through its controls (rendered to PNG) and what it leaves in
// qarv.ini.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "app/commands.h"
#include "app/main_frame.h"
#include "app/started_app.h"
#include "base/device_options.h"
#include "base/panel_options.h"
#include "civ/civ_options.h"
#include "civ/civ_timers.h"
#include "common/test_dir.h"
#include "devices/cw_keyboard.h"
#include "devices/cw_panel.h"
#include "devices/keying.h"
#include "platform/clock.h"
#include "platform/event_loop.h"
#include "platform/keys.h"

namespace {
void Type(const char* text) {
    for (const char* p = text; *p; ++p) CwKeyboardChar(static_cast<unsigned char>(*p));
}

// The ring without the program around it.
struct Ring {
    plat::Window timers;
    std::vector<std::uint8_t> ring = std::vector<std::uint8_t>(kCwRingSize, 0);
    Ring() {
        g_timerwindow = &timers;
        g_cwring = ring.data();
        g_cwget = g_cwput = 0;
        g_keyerstate = 1;
        g_cwsendenabled = 1;
    }
    ~Ring() {
        g_timerwindow = nullptr;
        g_cwring = nullptr;
    }
};
}  // namespace

TEST(CwRing, HoldsAtMost511AndBackspaceOnEmptyDoesNothing) {
    Ring r;
    g_wordsend = 0;
    CwKeyboardChar(8);
    EXPECT_EQ(CwRingPending(), 0);
    for (int i = 0; i < 512; ++i) CwKeyboardChar('e');
    EXPECT_EQ(CwRingPending(), 511);
    CwKeyboardChar(8);
    EXPECT_EQ(CwRingPending(), 510);
    CwKeyboardChar('#');  // not a CW character
    EXPECT_EQ(CwRingPending(), 510);
}

TEST(CwRing, FullWordsWaitForTheSeparator) {
    Ring r;
    g_wordsend = 1;
    Type("cq");
    EXPECT_FALSE(r.timers.HasTimer(TIMER_CW_ELEMENT));
    EXPECT_FALSE(CwRingHasWordBreak());
    CwKeyboardChar(' ');
    EXPECT_TRUE(r.timers.HasTimer(TIMER_CW_ELEMENT));
    EXPECT_TRUE(CwRingHasWordBreak());
    // The search wraps from the end of the ring to its start.
    g_cwget = g_cwput = kCwRingSize - 1;
    Type("ab.");
    EXPECT_TRUE(CwRingHasWordBreak());
    EXPECT_EQ(CwRingText(), "ab.");
}

TEST(CwRing, MemoriesNestOnceAndPauseCodesRepeat) {
    Ring r;
    g_wordsend = 0;
    std::strcpy(g_cwmacro[0], "CQ de #2");
    std::strcpy(g_cwmacro[1], "n0call");
    std::strcpy(g_cwmacro[2], "x #3");
    memgen(0);
    EXPECT_EQ(CwRingText(), "cq de n0call  ");
    g_cwget = g_cwput;
    memgen(2);  // names itself: not expanded again
    EXPECT_EQ(CwRingText(), "x  ");
    g_cwget = g_cwput;
    std::strcpy(g_cwmacro[3], "cq%5");
    const int start = g_cwget;
    memgen(3);
    EXPECT_EQ(g_cwmemget, start);
    EXPECT_EQ(g_cwmemput, g_cwput);
    EXPECT_EQ(g_cwring[(start + 2) % kCwRingSize], 251);
    EXPECT_EQ(CwRingText(), "cqR ");
}

TEST(CwRing, FunctionKeysSendMemoriesOnlyWithTheKeyboardOn) {
    Ring r;
    std::strcpy(g_cwmacro[4], "tu");
    g_keyerstate = 0;
    RunMemoryKey(5);
    EXPECT_EQ(CwRingPending(), 0);
    g_keyerstate = 1;
    RunMemoryKey(5);
    EXPECT_EQ(CwRingText(), "tu ");
}

TEST(CwKeyboardWindow, DrivenThroughItsControls) {
    TestDir dir;
    {
        StartedApp s;
        ASSERT_NE(g_cwpanel, nullptr);
        g_vfoamode = '3';
        g_mainwin->OnCommand(ID_CW_KEYBOARD, 0, 0);  // Alt+K
        EXPECT_TRUE(g_cwpanel->IsWindowVisible());
        EXPECT_TRUE(CwKeyboardOn());
        g_cwsendenabled = 0;  // keep the text on screen
        for (char c : std::string("CQ test?")) g_cwpanel->SendMessage(plat::WM_CHAR, unsigned(c), 0);
        EXPECT_EQ(g_cwpanel->Pending(), "cq test?");
        // Space while the keyboard takes input is text, not push-to-talk.
        g_mainwin->SendMessage(plat::WM_KEYDOWN, plat::VK_SPACE, 0);
        EXPECT_EQ(g_keyedmeans, 0u);

        g_cwpanel->MemoryEdit(0).TypeText("cq de n0call k");
        g_cwpanel->MemoryEdit(0).KillFocus();
        EXPECT_STREQ(g_cwmacro[0], "cq de n0call k");
        g_cwpanel->WordSend().Click();
        EXPECT_EQ(g_wordsend, 0);
        g_cwsendenabled = 1;
        g_cwget = g_cwput;
        g_cwsendenabled = 0;
        g_mainwin->OnCommand(ID_CW_SEND_TOGGLE, 0, 0);  // F12: sending on
        EXPECT_EQ(g_cwsendenabled, 1);
        g_mainwin->OnCommand(ID_CW_MEMORY_1, 0, 0);  // F1
        EXPECT_EQ(CwRingText().substr(0, 14), "cq de n0call k");
        g_cwecholine[0] = '\0';
        AddPaddleEcho('t');
        AddPaddleEcho('u');
        EXPECT_EQ(g_cwpanel->EchoText(), "tu");
        EXPECT_TRUE(plat::SaveWindowImage(g_cwpanel, std::string(QARV_BUILD_DIR) + "/cw_keyboard.png"));

        g_cwpanel->PopOut().Click();
        EXPECT_TRUE(g_cwpanel->PoppedOut());
        EXPECT_TRUE(g_cwpanel->IsWindowVisible());
        EXPECT_EQ(g_cwpanel->MemoryEdit(0).GetText(), "cq de n0call k");
        EXPECT_TRUE(plat::SaveWindowImage(g_cwpanel, std::string(QARV_BUILD_DIR) + "/cw_keyboard_popout.png"));

        g_cwpanel->Hide().Click();
        EXPECT_FALSE(g_cwpanel->IsWindowVisible());
        EXPECT_FALSE(CwKeyboardOn());
        EXPECT_EQ(CwRingPending(), 0);

        g_mainwin->SendMessage(plat::WM_CLOSE, plat::kCloseBySignal);
        plat::manual_clock::Advance(600);
        EXPECT_TRUE(g_mainwin->Closed());
    }
    const std::string ini = dir.read("qarv.ini");
    EXPECT_NE(ini.find("MEMORY1=cq@de@n0call@k"), std::string::npos) << ini;
    EXPECT_NE(ini.find("WORD SEND=0"), std::string::npos);
    EXPECT_NE(ini.find("CW POPOUT=1"), std::string::npos);
}
