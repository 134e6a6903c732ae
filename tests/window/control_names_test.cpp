// The typed control names and the control table describe the same controls:
// every table entry has a listed name with its index inside the listed count,
// and every listed name and index has exactly one table entry.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

#include "app/window/control_names.h"
#include "app/window/controls.h"

namespace vlt {
namespace {

TEST(ControlNames, ListAndTableNameTheSameControls) {
    std::map<std::string, int> listed;
    for (const ControlName& n : ctl::kAllNames) {
        EXPECT_TRUE(listed.emplace(n.text, n.count).second) << "listed twice: " << n.text;
        EXPECT_GE(n.count, 1) << n.text;
    }
    std::set<Ctl> inTable;
    for (const ControlInfo& info : MainWindowControls()) {
        const auto it = listed.find(info.ctl.name);
        ASSERT_NE(it, listed.end()) << "not listed: " << info.ctl.ToString();
        EXPECT_GE(info.ctl.index, 0) << info.ctl.ToString();
        EXPECT_LT(info.ctl.index, it->second) << info.ctl.ToString();
        EXPECT_TRUE(inTable.insert(info.ctl).second)
            << "twice in the table: " << info.ctl.ToString();
    }
    for (const auto& [name, count] : listed) {
        if (name == ctl::frmMain) continue;  // the window itself is not in its control table
        for (int i = 0; i < count; ++i) {
            EXPECT_TRUE(inTable.count(Ctl(name, i)) == 1)
                << "not in the table: " << name << "(" << i << ")";
        }
    }
}

TEST(ControlNames, ConstantsSpellTheirControls) {
    EXPECT_EQ(Ctl(ctl::cmdStart), Ctl(std::string("cmdStart"), 0));
    EXPECT_EQ(ctl::cboPlanet[1], Ctl(std::string("cboPlanet"), 1));
    EXPECT_EQ(ctl::cboOrbs.count, 4);
    EXPECT_TRUE(std::string("txbYear") == ctl::txbYear);
    EXPECT_FALSE(std::string("txbYears") == ctl::txbYear);
}

}  // namespace
}  // namespace vlt
