#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "platform/resident_memory.h"

namespace {
// Written at run time: must come through the trim unchanged.
std::vector<int> g_written;
int g_counter = 0;
}  // namespace

TEST(ResidentMemory, TrimKeepsEverythingTheProgramWroteAndItsCodeRuns) {
    for (int k = 0; k < 50000; ++k) g_written.push_back(k * 7);
    g_counter = 1234;
    static const char kText[] = "constant text";
    const std::size_t before = plat::ResidentBytes();
    ASSERT_GT(before, 0u);
    const std::size_t released = plat::TrimResidentMemory();
    EXPECT_LT(released, before);
    EXPECT_LE(plat::ResidentBytes(), before);
    // Code, constants and data are all still there (code and constants come
    // back from the page cache).
    EXPECT_EQ(g_counter, 1234);
    EXPECT_EQ(g_written[49999], 49999 * 7);
    EXPECT_STREQ(kText, "constant text");
    std::vector<std::string> words{"pear", "apple", "fig"};
    std::sort(words.begin(), words.end());
    EXPECT_EQ(words.front(), "apple");
    // A second trim right after finds little left to release.
    plat::TrimResidentMemory();
    EXPECT_EQ(g_counter, 1234);
}
