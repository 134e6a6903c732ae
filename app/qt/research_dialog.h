#pragma once
// "Research…": every planet pair of the window's lists, every checked aspect
// type and orb, simulated on the chosen prices and judged as one family, on
// a worker thread behind a progress bar and Cancel.  The ranked result is a
// sortable table; a double-click on a row opens the chart of that pair and
// combination (its simulation run again for the chart alone).

#include <QWidget>

#include <memory>
#include <string>

#include "app/qt/rows_model.h"
#include "app/simulation/research.h"

class QComboBox;
class QLabel;
class QModelIndex;
class QProgressBar;
class QPushButton;
class QSortFilterProxyModel;
class QSpinBox;
class QTableView;

namespace vlt {

class BackgroundJob;
class ChartWindow;

class ResearchDialog final : public QWidget {
    Q_OBJECT
public:
    explicit ResearchDialog(QWidget* parent = nullptr);
    ~ResearchDialog() override;

    // What the next run researches: the prices, period, lists, aspects and
    // orbs of `request`, named `pricesName`; the dialog's own controls give
    // the centres, the trials and the hold-out.
    void Prepare(ResearchRequest request, const std::string& pricesName, bool heliocentric);
    // Runs with the controls' values; false while a run is under way or
    // when the request cannot run (the reason is shown in the summary).
    bool Start();
    void Cancel();
    bool Running() const;

    QTableView* Table() const { return table_; }
    QProgressBar* Progress() const { return progress_; }
    QPushButton* RunButton() const { return run_; }
    QPushButton* CancelButton() const { return cancel_; }
    QLabel* Summary() const { return summary_; }
    QSpinBox* Trials() const { return trials_; }
    QComboBox* Centres() const { return centres_; }
    const std::vector<ResearchRow>& Rows() const { return model_->Rows(); }
    // Null until a row was first double-clicked.
    ChartWindow* Chart() const { return chart_.get(); }

    // The chart of the row at `index` of the table (as sorted).
    void OpenChart(const QModelIndex& index);

signals:
    void Finished();

private:
    void Show();
    std::string ResultText() const;

    QLabel* title_;
    QComboBox* centres_;
    QSpinBox* trials_;
    QSpinBox* holdout_;
    QPushButton* run_;
    QProgressBar* progress_;
    QPushButton* cancel_;
    QTableView* table_;
    QLabel* summary_;
    RowsModel<ResearchRow>* model_;
    QSortFilterProxyModel* sorted_;
    BackgroundJob* job_;
    ResearchRequest request_;
    ResearchResult result_;
    std::string pricesName_;
    std::unique_ptr<ChartWindow> chart_;
};

}  // namespace vlt
