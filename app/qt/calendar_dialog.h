#pragma once
// "Calendar…": the events of the sky in a period (exact aspects of every
// pair, lunar phases, stations, sign ingresses) found on a worker thread
// behind a progress bar and Cancel, in a table sorted by any column, and
// exported to an iCalendar or CSV file.  The kinds, aspects and zone are
// kept in the settings when a search starts.

#include <QWidget>

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "app/qt/rows_model.h"
#include "app/window/calendar_table.h"

class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QProgressBar;
class QPushButton;
class QSortFilterProxyModel;
class QTableView;

namespace vlt {

class BackgroundJob;

class CalendarDialog final : public QWidget {
    Q_OBJECT
public:
    explicit CalendarDialog(QWidget* parent = nullptr);
    ~CalendarDialog() override;

    // The window's zone, taken when no other was kept.
    void Prepare(const std::string& windowZone);
    // The request of the controls; nothing, with the reason shown, for a
    // zone that names none.
    std::optional<CalendarRequest> Request();
    // Searches with the controls' values; false while a search is under
    // way or when the request cannot run.
    bool Start();
    void Cancel();
    bool Running() const;
    // Writes the events found to `path`; "" or the message shown.
    std::string ExportTo(const std::string& path, CalendarFile format);

    QDateEdit* StartDate() const { return start_; }
    QDateEdit* EndDate() const { return end_; }
    QComboBox* Zone() const { return zone_; }
    QCheckBox* Kind(int k) const { return kinds_[static_cast<std::size_t>(k)]; }
    QCheckBox* AspectBox(int k) const { return aspects_[static_cast<std::size_t>(k)]; }
    QPushButton* FindButton() const { return find_; }
    QPushButton* CancelButton() const { return cancel_; }
    QTableView* Table() const { return table_; }
    QLabel* Summary() const { return summary_; }
    const std::vector<CalendarRow>& Rows() const { return model_->Rows(); }

signals:
    void Finished();

private:
    QWidget* ChoiceRows();
    void Show();
    void Choose(CalendarFile format);
    CalendarChoices Choices() const;

    QDateEdit* start_;
    QDateEdit* end_;
    QComboBox* zone_;
    std::array<QCheckBox*, 4> kinds_{};
    std::array<QCheckBox*, 7> aspects_{};
    QPushButton* find_;
    QProgressBar* progress_;
    QPushButton* cancel_;
    QPushButton* exportIcs_;
    QPushButton* exportCsv_;
    QTableView* table_;
    QLabel* summary_;
    RowsModel<CalendarRow>* model_;
    QSortFilterProxyModel* sorted_;
    BackgroundJob* job_;
    CalendarRequest request_;  // of the last search
    SkyEventList found_;
};

}  // namespace vlt
