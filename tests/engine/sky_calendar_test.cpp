// The calendar's merge of the finders: only the chosen kinds and aspects,
// in time order, inside the period, nothing lost or doubled; refusals of a
// bad period and a search stopped early.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <stop_token>

#include "app/engine/sky_calendar.h"
#include "app/positions/pluto_tables.h"
#include "app/positions/positions.h"
#include "tests/common/data_folder.h"
#include "tests/common/fake_run_host.h"

namespace vlt {
namespace {

class SkyCalendar : public ::testing::Test {
protected:
    void SetUp() override {
        const std::string folder = testing::DataFolderWithFiles();
        if (folder.empty()) GTEST_SKIP() << "data files not built";
        InitPositionsWithFolder(folder);
        testing::SilentBoxes boxes;
        ReadPlutoData(boxes);
    }
    static CalendarRequest Request(CalendarKinds kinds, std::vector<Aspect> aspects,
                                   CalendarDay last = {2027, 2, 28}) {
        CalendarRequest r;
        r.first = {2027, 1, 1};
        r.last = last;
        r.kinds = kinds;
        r.aspects = std::move(aspects);
        return r;
    }
};

TEST_F(SkyCalendar, KeepsTheChosenKindsAndAspectsInTimeOrder) {
    using K = SkyEventKind;
    const std::vector<Aspect> major = DefaultCalendarAspects();
    const struct {
        const char* name;
        CalendarRequest request;
        std::set<K> kinds;
        std::size_t atLeast;
        bool part;  // of the whole: phases, aspects, stations and ingresses
    } cases[] = {
        {"phases", Request({false, true, false, false}, major), {K::Phase}, 7, true},
        {"aspects", Request({true, false, false, false}, major), {K::Aspect}, 10, true},
        {"oppositions",
         Request({true, false, false, false}, {Aspect::Opposition}),
         {K::Aspect},
         1,
         false},
        {"stations and ingresses",
         Request({false, false, true, true}, major),
         {K::Station, K::Ingress},
         20,
         true},
        {"all", Request({}, major), {K::Aspect, K::Phase, K::Station, K::Ingress}, 40, false},
    };
    std::size_t parts = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const SkyEventList list = FindCalendar(c.request);
        ASSERT_TRUE(list.failure.empty()) << list.failure;
        EXPECT_GE(list.events.size(), c.atLeast);
        const EventSpan span = CalendarSpan(c.request);
        std::set<K> seen;
        for (std::size_t k = 0; k < list.events.size(); ++k) {
            const SkyEvent& e = list.events[k];
            seen.insert(e.kind);
            EXPECT_TRUE(e.jd >= span.from && e.jd < span.to) << e.jd;
            if (k > 0) {
                EXPECT_LE(list.events[k - 1].jd, e.jd);
            }
            if (e.aspect) {
                EXPECT_NE(std::find(c.request.aspects.begin(), c.request.aspects.end(), *e.aspect),
                          c.request.aspects.end());
            }
        }
        EXPECT_EQ(seen, c.kinds);
        if (c.part) parts += list.events.size();
    }
    // The whole is its parts, each event once.
    EXPECT_EQ(FindCalendar(Request({}, major)).events.size(), parts);
}

TEST_F(SkyCalendar, RefusesBadPeriodsAndStops) {
    std::stop_source stopped;
    stopped.request_stop();
    int calls = 0;
    const auto stopAtFirst = [&calls](int done, int total) {
        ++calls;
        return done < 1 || total < 1;
    };
    const struct {
        const char* name;
        SkyEventList list;
        const char* failure;
        bool stopped;
    } cases[] = {
        {"end before start", FindCalendar(Request({}, {}, {2026, 12, 31})),
         "The end date is before the start date.", false},
        {"past Pluto's table", FindCalendar(Request({}, {Aspect::Trine}, {2100, 3, 1})),
         "End date is too late for Pluto.", false},
        {"stop token", FindCalendar(Request({}, {Aspect::Trine}), stopped.get_token()), "", true},
        {"progress says stop", FindCalendar(Request({}, {Aspect::Trine}), {}, stopAtFirst), "",
         true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.list.failure, c.failure);
        EXPECT_EQ(c.list.stopped, c.stopped);
        EXPECT_TRUE(c.list.events.empty());
    }
    EXPECT_EQ(calls, 1);
}

}  // namespace
}  // namespace vlt
