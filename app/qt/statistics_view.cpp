#include "app/qt/statistics_view.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QVBoxLayout>

#include <memory>
#include <sstream>

#include "app/qt/background_job.h"
#include "app/window/statistics_table.h"

namespace vlt {
namespace {

RowsModel<FamilyRow>::Columns StatisticsColumns() {
    RowsModel<FamilyRow>::Columns c;
    c.count = kStatisticsColumns;
    c.heading = [](int k) { return StatisticsHeading(static_cast<StatisticsColumn>(k)); };
    c.explanation = [](int k) { return StatisticsExplanation(static_cast<StatisticsColumn>(k)); };
    c.cell = [](const FamilyRow& row, int k) {
        return StatisticsCell(row, static_cast<StatisticsColumn>(k));
    };
    c.key = [](const FamilyRow& row, int k) {
        return StatisticsSortKey(row, static_cast<StatisticsColumn>(k));
    };
    return c;
}

// The lines of the text report around the table: the method, and buy and
// hold over the period.
QString SummaryText(const FamilyResult& result) {
    std::istringstream lines(FamilyStatisticsText(result));
    QStringList kept;
    std::string line;
    for (int n = 0; std::getline(lines, line); ++n) {
        if (n == 1 || line.rfind("Buy and hold", 0) == 0) kept << QString::fromStdString(line);
    }
    return kept.join('\n');
}

}  // namespace

StatisticsView::StatisticsView(QWidget* parent)
    : QWidget(parent, Qt::Window),
      title_(new QLabel(this)),
      summary_(new QLabel(this)),
      progress_(new QProgressBar(this)),
      cancel_(new QPushButton(tr("Cancel"), this)),
      table_(new QTableView(this)),
      model_(new RowsModel<FamilyRow>(StatisticsColumns(), this)),
      sorted_(new QSortFilterProxyModel(this)),
      job_(new BackgroundJob(progress_, this)) {
    setWindowTitle(tr("Statistics"));
    sorted_->setSourceModel(model_);
    sorted_->setSortRole(kSortRole);
    table_->setModel(sorted_);
    table_->setSortingEnabled(true);
    table_->sortByColumn(-1, Qt::AscendingOrder);  // the report's order until a heading is clicked
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table_->verticalHeader()->setVisible(false);
    summary_->setWordWrap(true);
    summary_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* running = new QHBoxLayout;
    running->addWidget(progress_, 1);
    running->addWidget(cancel_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(title_);
    layout->addLayout(running);
    layout->addWidget(table_, 1);
    layout->addWidget(summary_);
    progress_->setVisible(false);
    cancel_->setEnabled(false);
    connect(cancel_, &QPushButton::clicked, this, &StatisticsView::Cancel);
    connect(job_, &BackgroundJob::Finished, this, &StatisticsView::Show);
    resize(1000, 420);
}

StatisticsView::~StatisticsView() = default;

bool StatisticsView::Start(FamilyRequest request, const std::string& title) {
    if (job_->Running()) return false;
    title_->setText(QString::fromStdString(title));
    summary_->setText(tr("Running the random-timing trials\u2026"));
    model_->SetRows({});
    cancel_->setEnabled(true);
    // The request moves to the worker; the result is read after Finished.
    auto shared = std::make_shared<FamilyRequest>(std::move(request));
    return job_->Start([this, shared](const BackgroundJob::Progress& progress, std::stop_token) {
        shared->progress = progress;
        result_ = ComputeFamilyStatistics(*shared);
    });
}

void StatisticsView::Cancel() { job_->Cancel(); }

bool StatisticsView::Running() const { return job_->Running(); }

void StatisticsView::Show() {
    cancel_->setEnabled(false);
    if (result_.cancelled || job_->Cancelled()) {
        summary_->setText(tr("Cancelled: the trials were not finished."));
    } else {
        model_->SetRows(result_.rows);
        summary_->setText(SummaryText(result_));
    }
    emit Finished();
}

}  // namespace vlt
