// The function tables and the assignment slots the surfaces load.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "civ/accessory_ports.h"
#include "devices/function_table.h"
#include "devices/surface_keys.h"
#include "surface_fixture.h"

namespace {
std::string Name(int slot, int entry) { return g_slots[slot].entries[std::size_t(entry)].name; }
}  // namespace

TEST(FunctionTable, RowsAndLookups) {
    EXPECT_EQ(std::size(g_functions), 46u);
    EXPECT_EQ(std::size(g_knobfunctions), 10u);
    EXPECT_STREQ(g_functions[42].name, "Dual Receive");
    EXPECT_EQ(OfferedFunctions().size(), 43u);
    // Exact after upper-casing: the profile files write names in any case.
    EXPECT_EQ(FindFunctionExact(g_knobfunctions, "keyer speed"), 5011);
    EXPECT_EQ(FindFunctionExact(g_knobfunctions, "NOOP"), -1);
    EXPECT_EQ(FindFunctionExact(g_functions, "RIT "), -1);
    // The scratch-pad rows are not offered unless the pod is configured.
    EXPECT_EQ(FindFunctionExact(OfferedFunctions(), "Rcl Sp2"), -1);
}

TEST(AssignmentSlots, PodListsStartWithTheirOwnEntries) {
    DefaultSurfaceTexts();
    std::strcpy(g_pegasuscomport, "COM4");
    SetupPodSlots();
    EXPECT_EQ(g_functioncount, 46);
    EXPECT_EQ(g_slotsurface, Surface::KeypadPod);
    EXPECT_EQ(Name(0, 0), "UP B+1");
    EXPECT_EQ(Name(6, 0), "4");
    EXPECT_EQ(Name(6, 1), "UP 4");
    EXPECT_EQ(Name(13, 1), "UP 10");
    EXPECT_EQ(Name(12, 0), "Period");
    EXPECT_EQ(g_slots[0].entries.size(), 47u);
    // The defaults: "Preamp" finds "PreAmp" by its beginning, any case.
    EXPECT_EQ(SlotAction(13), 6181);
    EXPECT_EQ(SlotAction(3), 5007);
    EXPECT_EQ(SlotAction(12), 5002);
    EXPECT_STREQ(SlotCaptionFor(g_slotsurface, 13), "Numeric Key 0");
}

TEST(AssignmentSlots, UnknownTextSelectsTheFirstEntry) {
    SetupPodSlots();
    EXPECT_EQ(g_slotsurface, Surface::RemotePod);
    EXPECT_STREQ(SlotCaptionFor(g_slotsurface, 0), "Function Key 11");
    EXPECT_EQ(SelectSlotText(0, "Warp Drive"), 0);
    EXPECT_EQ(SlotAction(0), 5085);
    EXPECT_EQ(SlotForKey('5' | 0x80), 7);
    EXPECT_EQ(SlotForKey(13), -1);
}

TEST(AssignmentSlots, TMate2KnobListsHoldOnlyTheKnobFunctions) {
    DefaultSurfaceTexts();
    SetupTMate2Slots();
    for (int slot = 0; slot < 3; ++slot) {
        ASSERT_EQ(g_slots[slot].entries.size(), 10u);
        EXPECT_EQ(Name(slot, 0), "VFOA");
    }
    EXPECT_EQ(SlotAction(0), 240);
    EXPECT_EQ(SlotAction(1), 245);
    EXPECT_EQ(SlotAction(2), 242);
    EXPECT_EQ(SlotAction(3), 234);  // "TM2 LEFT BUTTON"
    EXPECT_EQ(SlotAction(6), 5006);
    EXPECT_TRUE(g_slots[4].entries.empty());
}

TEST(AssignmentSlots, FlexRowsLeadWithTheirPressKind) {
    DefaultSurfaceTexts();
    SetupFlexSlots();
    EXPECT_EQ(Name(9, 0), "UP B+5");  // "Aux1 Long"
    EXPECT_EQ(Name(6, 0), "UP B+2");
    EXPECT_EQ(Name(0, 0), "UP B+1");
    EXPECT_STREQ(SlotCaptionFor(Surface::FlexControl, 9), "Aux1 Long");
    // "UP B+2" names the leading entry of the double-press rows.
    EXPECT_EQ(SlotAction(8), 5086);
    EXPECT_EQ(SlotAction(1), 243);
    EXPECT_EQ(SlotAction(3), 241);  // "FLX KNOB LONG"
}
