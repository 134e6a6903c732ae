#include "app/report/event_study_formats.h"

#include <cstdio>
#include <nlohmann/json.hpp>

#include "app/support/date_processing.h"

namespace vlt {

namespace {

std::string DateText(std::int32_t day) {
    return FormatDayNumber(day, kOrderYearMonthDay, "-", "", false);
}

std::string Percent(double share) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", share * 100.0);
    return text;
}

std::string WhatLine(const EventStudyReport& report) {
    std::string line = "Event study of " + report.pair + " (" + report.centre + "), ";
    if (report.at == "entry") {
        line += "entry into the " + std::to_string(report.orbDegrees) + "\xC2\xB0 orb";
    } else {
        line += "exact aspect";
    }
    return line + ", on " + report.prices + "\n";
}

}  // namespace

std::string EventStudyText(const EventStudyReport& report) {
    const EventStudyResult& r = *report.result;
    std::string text = WhatLine(report);
    text += std::to_string(r.used.size()) + " events, " + std::to_string(r.leftOut) +
            " left out (window of " + std::to_string(r.days) +
            " trading days each side not inside the period)\n";
    text +=
        "Cumulative return in % from the close of the event day; band: " + Percent(r.confidence) +
        " % bootstrap of the mean, " + std::to_string(r.trials) + " resamples, seed " +
        std::to_string(r.seed) + "\n";
    if (r.offsets.empty()) return text + "No event inside the period.\n";
    char line[128];
    std::snprintf(line, sizeof line, "%6s %9s %9s %9s %9s\n", "Day", "Mean", "Median", "Low",
                  "High");
    text += line;
    for (const EventOffset& o : r.offsets) {
        std::snprintf(line, sizeof line, "%+6d %9.3f %9.3f %9.3f %9.3f\n", o.offset, o.mean,
                      o.median, o.lower, o.upper);
        text += line;
    }
    return text;
}

std::string EventStudyCsv(const EventStudyReport& report) {
    std::string text = "offset,mean,median,lower,upper\n";
    char line[160];
    for (const EventOffset& o : report.result->offsets) {
        std::snprintf(line, sizeof line, "%d,%.6f,%.6f,%.6f,%.6f\n", o.offset, o.mean, o.median,
                      o.lower, o.upper);
        text += line;
    }
    return text;
}

std::string EventStudyJson(const EventStudyReport& report) {
    using Json = nlohmann::ordered_json;
    const EventStudyResult& r = *report.result;
    Json doc;
    doc["prices"] = report.prices;
    doc["pair"] = report.pair;
    doc["centricity"] = report.centre;
    doc["at"] = report.at;
    if (report.at == "entry") doc["orb"] = report.orbDegrees;
    doc["days"] = r.days;
    doc["trials"] = r.trials;
    doc["seed"] = r.seed;
    doc["confidence"] = r.confidence;
    doc["events"] = Json::array();
    for (const std::int32_t day : r.used) doc["events"].push_back(DateText(day));
    doc["left_out"] = r.leftOut;
    doc["offsets"] = Json::array();
    for (const EventOffset& o : r.offsets) {
        doc["offsets"].push_back({{"offset", o.offset},
                                  {"mean", o.mean},
                                  {"median", o.median},
                                  {"lower", o.lower},
                                  {"upper", o.upper}});
    }
    return doc.dump(2) + "\n";
}

}  // namespace vlt
