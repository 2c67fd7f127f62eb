// The per-model rules as columns of the model table: a few columns checked
// against the radios' published command lists, and the setters reading them.
#include <gtest/gtest.h>

#include <set>

#include "civ/civ_setters.h"
#include "civ/radio_models.h"

namespace {

std::set<int> TypesWith(const ModelTable& t) {
    std::set<int> s;
    for (int i = 0; i < kRadioTypes; ++i)
        if (ModelCap(t, i)) s.insert(i);
    return s;
}

std::set<int> Levels() { return TypesWith(g_haslevels); }

std::set<int> Minus(std::set<int> a, const std::set<int>& b) {
    for (int x : b) a.erase(x);
    return a;
}

}  // namespace

TEST(ModelRules, ReceiverColumnsMatchTheCommandLists) {
    EXPECT_EQ(TypesWith(g_hasnblevel), (std::set<int>{5, 12, 13, 16, 17, 18, 23}));
    EXPECT_EQ(TypesWith(g_hasagcvr), (std::set<int>{5, 16}));
    EXPECT_EQ(TypesWith(g_hassubreceiver), (std::set<int>{5}));
    EXPECT_EQ(TypesWith(g_dualby1659), (std::set<int>{20}));
    EXPECT_EQ(TypesWith(g_oldmainsub), (std::set<int>{8, 9}));
    // Every model with main/sub selection by 07 B0 has main/sub receivers.
    for (int t : TypesWith(g_oldmainsub)) EXPECT_TRUE(ModelCap(g_hasmainsub, t)) << t;
    EXPECT_EQ(TypesWith(g_hastwinpbt), Minus(Levels(), {11}));
    EXPECT_EQ(TypesWith(g_hasmonitor), Minus(Levels(), {17}));
}

TEST(ModelRules, TransmitColumnsMatchTheCommandLists) {
    EXPECT_EQ(TypesWith(g_hasspeechqsk), Minus(Levels(), {2, 11}));
    EXPECT_EQ(TypesWith(g_txpowerprefix), (std::set<int>{25}));
    std::set<int> all;
    for (int i = 0; i < kRadioTypes; ++i) all.insert(i);
    EXPECT_EQ(TypesWith(g_hastxread), Minus(all, {4, 7}));
    // Watts shown for a power setting: 200 W, 10 W and 100 W radios.
    EXPECT_EQ(PowerWatts(50, 5), 100);
    EXPECT_EQ(PowerWatts(50, 16), 100);
    EXPECT_EQ(PowerWatts(55, 11), 5);
    EXPECT_EQ(PowerWatts(55, 25), 5);
    EXPECT_EQ(PowerWatts(55, 23), 55);
    EXPECT_EQ(PowerWatts(55, 99), 0);  // outside the list: no radio, no watts
}

TEST(ModelRules, MenuItemsOfTheNewerRadios) {
    // The newer VOX commands go with the second menu dialect, and the IC-7300.
    for (int t = 0; t < kRadioTypes; ++t)
        EXPECT_EQ(ModelCap(g_newvox, t) != 0, ModelCap(g_menudialect, t) == 2 || t == 23) << t;
    EXPECT_EQ(ModelCap(g_voxdelayitem, 16), 0x0182);
    EXPECT_EQ(ModelCap(g_voxdelayitem, 18), 0x0167);
    EXPECT_EQ(ModelCap(g_voxdelayitem, 23), 0x0191);
    EXPECT_EQ(ModelCap(g_sidetoneitem, 5), 0x0017);
    EXPECT_EQ(ModelCap(g_sidetoneitem, 23), 0x0158);
    EXPECT_EQ(ModelCap(g_agcslowcode, 17), 0);
    EXPECT_EQ(ModelCap(g_agcslowcode, 23), 3);
    EXPECT_EQ(ModelCap(g_memorychannels, 17), 200);
    EXPECT_EQ(ModelCap(g_memorychannels, 13), 100);
}
