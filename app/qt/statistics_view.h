#pragma once
// The statistics of the last simulation in a window of their own: the
// random-timing trials run on a worker thread behind a progress bar and
// Cancel, then one sortable row per combination with the p-values, the
// family's adjustment and the fair comparisons, the method and buy and hold
// below.

#include <QWidget>

#include "app/qt/rows_model.h"
#include "app/simulation/family_statistics.h"

class QLabel;
class QProgressBar;
class QPushButton;
class QSortFilterProxyModel;
class QTableView;

namespace vlt {

class BackgroundJob;

class StatisticsView final : public QWidget {
    Q_OBJECT
public:
    explicit StatisticsView(QWidget* parent = nullptr);
    ~StatisticsView() override;

    // Judges the family of `request` (its trials, seed and jobs as given);
    // the table is emptied until the trials end.  False while a run is
    // still under way.
    bool Start(FamilyRequest request, const std::string& title);
    void Cancel();
    bool Running() const;

    QTableView* Table() const { return table_; }
    QProgressBar* Progress() const { return progress_; }
    QPushButton* CancelButton() const { return cancel_; }
    QLabel* Summary() const { return summary_; }
    // The rows shown, in the request's order (the view may sort them).
    const std::vector<FamilyRow>& Rows() const { return model_->Rows(); }

signals:
    void Finished();

private:
    void Show();

    QLabel* title_;
    QLabel* summary_;
    QProgressBar* progress_;
    QPushButton* cancel_;
    QTableView* table_;
    RowsModel<FamilyRow>* model_;
    QSortFilterProxyModel* sorted_;
    BackgroundJob* job_;
    FamilyResult result_;
};

}  // namespace vlt
