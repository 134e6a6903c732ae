#pragma once
// The window's services bound to the program's own modules: the date
// processing, the calendar component, the position dispatch, the vocabulary,
// the Pluto tables and the index data (which the window owns for the
// program's lifetime and the investment simulation reads).

#include "app/simulation/index_data.h"
#include "app/window/window_services.h"

namespace vlt {

class ProgramServices : public WindowServices {
public:
    void InitPositions() override;
    void LoadIndexData(MessageBoxes& boxes) override;
    bool ReadPlutoData(MessageBoxes& boxes) override;
    std::string PlutoTableProblem(bool heliocentric) override;
    int32_t DateToDayNumber(int32_t year, int32_t month, int32_t day, bool& valid) override;
    void DayNumberToDate(int32_t dayNumber, int32_t& year, int32_t& month, int32_t& day) override;
    std::string FormatNumericDate(int32_t year, int32_t month, int32_t day) override;
    std::string MonthName(int month) override;
    int32_t TimezoneSeconds() override;
    int CurrentYear() override;
    std::string PlanetName(int planet, bool heliocentric) override;
    std::string AspectName(int aspect) override;
    std::string ProgramFolder() override;

    const IndexData& Index() const { return index_; }
    // The window reads the index file beside the program when the working
    // folder has none; vlt-report reads the working folder's only.
    void SetIndexBesideProgram(bool on) { indexBesideProgram_ = on; }

private:
    IndexData index_;
    bool indexBesideProgram_ = false;
};

}  // namespace vlt
