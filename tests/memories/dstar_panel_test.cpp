// The D-STAR call-sign panel: leaving a field stores it and asks for the
// calls; the calls reach the radio as the radio takes them.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "civ/civ_options.h"
#include "civ/civ_setters.h"
#include "civ/link_fixture.h"
#include "memories/dstar_panel.h"
#include "platform/event_loop.h"

namespace {
class TestFrame : public plat::Window {
public:
    std::vector<unsigned> commands;
    bool OnCommand(unsigned id, unsigned, plat::LPARAM) override {
        commands.push_back(id);
        return true;
    }
};
}  // namespace

TEST(DstarPanel, LeavingAFieldStoresItAndAsksForTheCalls) {
    TestFrame frame;
    frame.Create("frame", 0, {0, 0, 400, 300}, nullptr, 1);
    CreateDstarPanel(&frame);
    ASSERT_NE(g_dstarpanel, nullptr);
    g_dstarpanel->ShowWindow(plat::SW_SHOW);
    g_dstarpanel->ur.TypeText("cq");
    g_dstarpanel->ur.KillFocus();
    EXPECT_STREQ(g_dstarur, "cq");
    // Leaving R2 alone still sends UR, R1 and R2 together.
    g_dstarpanel->r2.TypeText("DB0XX  B");
    g_dstarpanel->r2.KillFocus();
    EXPECT_STREQ(g_dstarrpt[1], "DB0XX  B");
    g_dstarpanel->my.TypeText("DL1ABC");
    g_dstarpanel->my.KillFocus();
    EXPECT_EQ(frame.commands, (std::vector<unsigned>{ID_SEND_DSTAR_CALLS, ID_SEND_DSTAR_CALLS, ID_SEND_DSTAR_MY}));
    // A field takes no more than the radio does.
    g_dstarpanel->ur.TypeText("ABCDEFGHIJK");
    EXPECT_LE(g_dstarpanel->ur.GetText().size(), 8u);
    EXPECT_TRUE(plat::SaveWindowImage(g_dstarpanel, std::string(QARV_BUILD_DIR) + "/dstar_panel.png"));
    DestroyDstarPanel();
}

TEST(DstarPanel, CallsReachTheRadioInTheirFields) {
    RadioLink link;
    std::strcpy(g_dstarur, "cqcqcq");
    std::strcpy(g_dstarrpt[0], "db0abc c");
    std::strcpy(g_dstarrpt[1], "");
    std::strcpy(g_dstarmy, "dl1abc");
    SendDstarUrRpt();
    SendDstarMy();
    Bytes want = Frame({0x1F, 0x01}) ;
    want.pop_back();
    for (const char* f : {"CQCQCQ  ", "DB0ABC C", "        "}) want.insert(want.end(), f, f + 8);
    want.push_back(0xFD);
    Bytes my = Frame({0x1F, 0x00});
    my.pop_back();
    const char* m = "DL1ABC      ";
    my.insert(my.end(), m, m + 12);
    my.push_back(0xFD);
    for (int i = 0; i < 6; ++i) plat::manual_clock::Advance(50);
    const Bytes got = link.written();
    EXPECT_EQ(got, want + my);
    EXPECT_STREQ(g_dstarur, "CQCQCQ");  // the stored text is upper case too
}
