#include "app/chart/chart_legend.h"

#include <algorithm>
#include <set>

namespace vlt {
namespace {

constexpr const char* kLevelNames[kOrbLevels] = {"outer orb", "middle orb", "inner orb"};

void AddAspects(std::set<int> aspects, LegendEntry::Swatch swatch,
                std::vector<LegendEntry>& entries) {
    aspects.erase(0);
    for (int a : aspects) entries.push_back({swatch, a, 0, ChartAspectName(a)});
}

void AddTransitEntries(const ChartModel& m, std::vector<LegendEntry>& entries) {
    std::set<int> aspects;
    for (const ChartInterval& iv : m.intervals) aspects.insert(iv.aspect);
    for (const ChartMinimum& mn : m.minima) aspects.insert(mn.aspect);
    AddAspects(aspects, LegendEntry::Swatch::AspectColour, entries);
    for (int level = 0; level < kOrbLevels; ++level) {
        std::string label = kLevelNames[level];
        const auto iv = std::find_if(m.intervals.begin(), m.intervals.end(),
                                     [level](const ChartInterval& i) { return i.level == level; });
        if (iv != m.intervals.end())
            label.append(" ").append(std::to_string(iv->orb)).append("\u00b0");
        entries.push_back({LegendEntry::Swatch::OrbShade, 0, level, label});
    }
    entries.push_back({LegendEntry::Swatch::ExactMinimum, 0, 0, "exact"});
    entries.push_back(
        {LegendEntry::Swatch::RetrogradeMinimum, 0, 0, "exact, first planet retrograde"});
    entries.push_back({LegendEntry::Swatch::ApproximateMinimum, 0, 0, "closest, not exact"});
}

void AddSimulationEntries(const ChartModel& m, std::vector<LegendEntry>& entries) {
    std::set<int> aspects;
    for (const EquityCurve& c : m.curves) aspects.insert(c.aspect);
    AddAspects(aspects, LegendEntry::Swatch::GainLine, entries);
    entries.push_back({LegendEntry::Swatch::InvestmentOpens, 0, 0, "investment opens"});
    entries.push_back({LegendEntry::Swatch::InvestmentCloses, 0, 0, "investment closes"});
    if (!m.buyAndHold.empty()) {
        entries.push_back({LegendEntry::Swatch::BuyAndHold, 0, 0, "buy and hold"});
    }
    if (!m.bandLow.empty()) {
        entries.push_back(
            {LegendEntry::Swatch::RandomBand, 0, 0, "random timing, 5th to 95th percentile"});
    }
}

std::string Capitalised(std::string s) {
    if (!s.empty() && s[0] >= 'a' && s[0] <= 'z') s[0] = static_cast<char>(s[0] - 'a' + 'A');
    return s;
}

}  // namespace

std::vector<LegendEntry> ChartLegend(const ChartModel& model) {
    std::vector<LegendEntry> entries;
    if (model.kind == ChartModel::Kind::Transits) AddTransitEntries(model, entries);
    if (model.kind == ChartModel::Kind::Simulation) AddSimulationEntries(model, entries);
    if (!model.prices.empty()) {
        entries.push_back({LegendEntry::Swatch::PriceLine, 0, 0, model.priceName});
    }
    return entries;
}

std::string SeriesTitle(const std::vector<TransitRecord>& rows, std::int32_t firstDay,
                        std::int32_t lastDay) {
    if (rows.empty()) return "";
    // The kept planet is in every pair; of the first pair's two, the one
    // that is.
    std::string kept;
    for (const std::string* candidate : {&rows.front().firstPlanet, &rows.front().secondPlanet}) {
        const bool inEvery = std::all_of(rows.begin(), rows.end(), [&](const TransitRecord& r) {
            return r.firstPlanet == *candidate || r.secondPlanet == *candidate;
        });
        if (inEvery && kept.empty()) kept = *candidate;
    }
    std::vector<std::string> others;
    for (const TransitRecord& r : rows) {
        const std::string& other = r.firstPlanet == kept ? r.secondPlanet : r.firstPlanet;
        if (std::find(others.begin(), others.end(), other) == others.end()) {
            others.push_back(other);
        }
    }
    if (kept.empty() || others.size() < 2) return "";
    std::string title = Capitalised(rows.front().centricity);
    title.append(" transits of ").append(kept).append(" with ").append(others.front());
    for (std::size_t i = 1; i < others.size(); ++i) {
        title.append(i + 1 == others.size() ? " and " : ", ").append(others[i]);
    }
    return title.append(", ")
        .append(ChartDateText(firstDay))
        .append(" to ")
        .append(ChartDateText(lastDay));
}

}  // namespace vlt
