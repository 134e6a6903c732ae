#pragma once
// The prices the window's simulation values its days with: the index data
// the program loads at start-up ("DJIA (built in)"), or a price file the user
// chose, read by the same reader and with the same messages as vlt-report's
// --prices.  The window's simulation holds this object as its lookup, so a
// choice takes effect at the next click on "Simulate investment".

#include <cstdint>
#include <string>

#include "app/simulation/index_data.h"
#include "app/simulation/investment_simulation.h"
#include "app/simulation/price_series.h"
#include "app/support/message_box.h"

namespace vlt {

inline constexpr const char* kBuiltInPricesCaption = "DJIA (built in)";
inline constexpr const char* kPricesTitle = "Prices";

class PriceChoice final : public IndexLookup {
public:
    // `index` is the window's index data; it must outlive this object.
    explicit PriceChoice(const IndexData& index) : index_(index), builtIn_(index) {}

    // Reads `path`, taking `column` from a CSV file ("" for the default
    // column).  On success the file is the choice; on failure the reader's
    // message is shown and the previous choice stays.
    bool Choose(const std::string& path, const std::string& column, MessageBoxes& boxes);
    void ChooseBuiltIn();

    bool FileChosen() const { return fileChosen_; }
    // The file as chosen and the column asked for ("" for the default).
    const std::string& Path() const { return path_; }
    const std::string& Column() const { return column_; }
    const PriceSeries& Series() const { return series_; }
    // The chosen file's series, or the index data read as one (named after
    // the index file); empty when the index data did not load.
    PriceSeries SeriesOrIndex() const;
    // How the window names the choice: "DJIA (built in)", or the file's
    // name without its folder and the span it covers, "spx.csv, 1990-01-02
    // to 2024-12-31".
    std::string Caption() const;

    // The choice kept with the window's saved state, and brought back from
    // it; a file that can no longer be read is said so and the built-in
    // index is used.  Settings saved before prices could be chosen hold no
    // file and restore the built-in index.
    bool Save() const;
    void Restore(MessageBoxes& boxes);

    // --- IndexLookup: the chosen file's values and span, else the index's.
    bool ValueForDay(std::int32_t dayJdn, double& value) override;
    std::int32_t FirstDay() const override;
    std::int32_t LastDay() const override;
    std::string SourceName() const override;

private:
    const IndexData& index_;
    IndexDataLookup builtIn_;
    bool fileChosen_ = false;
    std::string path_;
    std::string column_;
    PriceSeries series_;
};

}  // namespace vlt
