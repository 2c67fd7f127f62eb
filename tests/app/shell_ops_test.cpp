#include <gtest/gtest.h>

#include <cstring>
#include <set>

#include "app/keys_table.h"
#include "base/shell_ops.h"
#include "platform/keys.h"
#include "platform/window.h"

TEST(Keys, AcceleratorTableMatchesTheKeys) {
    auto t = MainAccelerators();
    EXPECT_EQ(t.size(), 69u);
    using plat::FindAccelerator;
    EXPECT_EQ(FindAccelerator(t, 'X', plat::KF_ALT, 'x'), 115u);
    EXPECT_EQ(FindAccelerator(t, 'X', 0, 'x'), 0u);  // plain letters are typed, not commands
    EXPECT_EQ(FindAccelerator(t, plat::VK_F1 + 6, plat::KF_CONTROL, 0), 40029u);
    EXPECT_EQ(FindAccelerator(t, plat::VK_F1 + 8, plat::KF_SHIFT, 0), 40128u);
    EXPECT_EQ(FindAccelerator(t, plat::VK_F1 + 3, plat::KF_SHIFT, 0), 0u);  // Shift+F4: no band button
    EXPECT_EQ(FindAccelerator(t, plat::VK_PRIOR, 0, 0), 150u);
    EXPECT_EQ(FindAccelerator(t, plat::VK_PRIOR, plat::KF_SHIFT, 0), 5083u);
    EXPECT_EQ(FindAccelerator(t, plat::VK_OEM_PLUS, plat::KF_ALT, '='), 225u);  // character entry
    EXPECT_EQ(FindAccelerator(t, plat::VK_RIGHT, plat::KF_CONTROL, 0), 223u);
    std::set<std::pair<unsigned, unsigned>> seen;
    for (const auto& a : t) EXPECT_TRUE(seen.insert({a.flags, a.key}).second) << a.id;
}

TEST(Keys, HotKeysTextHasEveryLine) {
    std::string text = HotKeysText();
    int lines = 0;
    for (char c : text) lines += c == '\n';
    EXPECT_EQ(lines, 38);
    EXPECT_EQ(text.rfind("<Up-Arrow>         Increase Step Size\n", 0), 0u);
}

namespace {
struct Child : plat::Window {};
}  // namespace

TEST(Toggles, RuleAHidesOnlyTheLastToggledWindow) {
    Child radio, settings;
    radio.Create("Radio Window", 0, {0, 0, 10, 10}, nullptr, 1213);
    settings.Create("Transceiver Settings", 0, {0, 0, 10, 10}, nullptr, 2367);
    radio.ShowWindow(plat::SW_SHOW);
    g_lasttoggled = &radio;
    ToggleWindow(ToggleRule::A, &radio);
    EXPECT_FALSE(radio.IsWindowVisible());
    ToggleWindow(ToggleRule::A, &radio);
    EXPECT_TRUE(radio.IsWindowVisible());
    ToggleWindow(ToggleRule::A, &settings);  // another window toggled since
    ToggleWindow(ToggleRule::A, &radio);
    EXPECT_TRUE(radio.IsWindowVisible());  // brought to the top, not hidden
    EXPECT_EQ(g_lasttoggled, &radio);
    ToggleWindow(ToggleRule::A, nullptr);  // unavailable window: nothing
}

TEST(Toggles, RuleCFollowsTheFlag) {
    Child sp;
    sp.Create("SP Memory", 0, {0, 0, 10, 10}, nullptr, 6133);
    int flag = 0;
    ToggleWindow(ToggleRule::C, &sp, &flag);
    EXPECT_TRUE(sp.IsWindowVisible());
    EXPECT_EQ(flag, 1);
    ToggleWindow(ToggleRule::C, &sp, &flag);
    EXPECT_FALSE(sp.IsWindowVisible());
    EXPECT_EQ(flag, 0);
}

TEST(ShellStrings, UpperCaseAndCommas) {
    char t[] = "cmd micro 1";
    EXPECT_EQ(UpperCaseString(t), 11u);
    EXPECT_STREQ(t, "CMD MICRO 1");
    char out[8];
    CopyReplacingCommas("a,b,c,d,e,f", out, sizeof out);
    EXPECT_STREQ(out, "a b c d");
}
