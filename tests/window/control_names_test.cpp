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

// Controls other than frames never cover one another: a button added to a
// full row must find room of its own.
TEST(ControlNames, NoControlCoversAnother) {
    std::vector<const ControlInfo*> placed;
    for (const ControlInfo& info : MainWindowControls()) {
        if (info.kind != CtlKind::Frame) placed.push_back(&info);
    }
    for (std::size_t a = 0; a < placed.size(); ++a) {
        for (std::size_t b = a + 1; b < placed.size(); ++b) {
            const Rect& r = placed[a]->design;
            const Rect& s = placed[b]->design;
            const bool apart = r.Right() <= s.left || s.Right() <= r.left || r.Bottom() <= s.top ||
                               s.Bottom() <= r.top;
            EXPECT_TRUE(apart) << placed[a]->ctl.ToString() << " and " << placed[b]->ctl.ToString();
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
