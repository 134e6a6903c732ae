#include "app/window/price_choice.h"

#include <filesystem>
#include <utility>

#include "app/support/date_processing.h"
#include "app/window/state_keys.h"

namespace vlt {
namespace {

std::string DateText(std::int32_t day) {
    return FormatDayNumber(day, kOrderYearMonthDay, "-", "", false);
}

}  // namespace

bool PriceChoice::Choose(const std::string& path, const std::string& column, MessageBoxes& boxes) {
    PriceSeries series;
    std::string error;
    const std::string asked = column.empty() ? std::string(kDefaultPriceColumn) : column;
    if (!LoadPriceSeries(path, asked, series, error)) {
        boxes.Show(error, kPricesTitle, MsgButtons::Ok, MsgIcon::Exclamation);
        return false;
    }
    series_ = std::move(series);
    path_ = path;
    column_ = column;
    fileChosen_ = true;
    return true;
}

void PriceChoice::ChooseBuiltIn() {
    fileChosen_ = false;
    path_.clear();
    column_.clear();
    series_ = PriceSeries{};
}

std::string PriceChoice::Caption() const {
    if (!fileChosen_) return kBuiltInPricesCaption;
    return std::filesystem::path(path_).filename().string() + ", " + DateText(series_.FirstDay()) +
           " to " + DateText(series_.LastDay());
}

PriceSeries PriceChoice::SeriesOrIndex() const {
    if (fileChosen_) return series_;
    // The index file has the price file's own layout.
    std::string text;
    for (std::size_t i = 1; i < index_.lines.size(); ++i) text += index_.lines[i] + "\n";
    PriceSeries series;
    std::string error;
    if (!ParsePriceSeries(text, kIndexFileName, kDefaultPriceColumn, series, error)) return {};
    return series;
}

bool PriceChoice::Save() const {
    const bool file = StoreStateValue(StateKey::PriceFile, 0, path_);
    const bool column = StoreStateValue(StateKey::PriceColumn, 0, column_);
    return file && column;
}

void PriceChoice::Restore(MessageBoxes& boxes) {
    const std::string path = StoredStateValue(StateKey::PriceFile, 0, "");
    const std::string column = StoredStateValue(StateKey::PriceColumn, 0, "");
    if (path.empty() || !Choose(path, column, boxes)) ChooseBuiltIn();
}

bool PriceChoice::ValueForDay(std::int32_t dayJdn, double& value) {
    if (!fileChosen_) return builtIn_.ValueForDay(dayJdn, value);
    return PriceValueForDay(series_, dayJdn, value);
}

std::int32_t PriceChoice::FirstDay() const {
    return fileChosen_ ? series_.FirstDay() : builtIn_.FirstDay();
}

std::int32_t PriceChoice::LastDay() const {
    return fileChosen_ ? series_.LastDay() : builtIn_.LastDay();
}

std::string PriceChoice::SourceName() const {
    return fileChosen_ ? series_.name : builtIn_.SourceName();
}

}  // namespace vlt
