#include "app/qt/research_dialog.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QSpinBox>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>
#include <thread>

#include "app/chart/chart_band.h"
#include "app/positions/request_rules.h"
#include "app/qt/background_job.h"
#include "app/qt/chart_window.h"
#include "app/simulation/simulation_lines.h"
#include "app/simulation/simulation_service.h"
#include "app/support/date_processing.h"
#include "app/window/statistics_table.h"

namespace vlt {
namespace {

RowsModel<ResearchRow>::Columns ResearchColumns() {
    return {kResearchColumns, ResearchHeading, ResearchExplanation, ResearchCell, ResearchSortKey};
}

std::string DateText(std::int32_t day) {
    return FormatDayNumber(day, kOrderYearMonthDay, "-", "", false);
}

// The research's progress as the job's: thousandths of the whole run.
class JobObserver final : public ResearchObserver {
public:
    explicit JobObserver(const BackgroundJob::Progress& progress) : progress_(progress) {}
    void Progress(const ResearchProgress& p) override {
        progress_(static_cast<int>(p.fraction * 1000.0), 1000);
    }

private:
    const BackgroundJob::Progress& progress_;
};

// The one pair's simulation for its chart: the report is not kept, a
// message is (a day without a price, a data file failing).
class ChartRun final : public RunObserver, private OutputBox, MessageBoxes {
public:
    OutputBox& Output() override { return *this; }
    MessageBoxes& Messages() override { return *this; }
    std::string messages;

private:
    const std::string& Text() const override { return none_; }
    void Append(const std::string& /*text*/) override {}
    void Clear() override {}
    void MoveCaretToEnd() override {}
    void Refresh() override {}
    MsgResult Show(const std::string& text, const std::string& /*title*/, MsgButtons /*buttons*/,
                   MsgIcon /*icon*/) override {
        messages += text + "\n";
        return MsgResult::Ok;
    }
    const std::string none_;
};

}  // namespace

ResearchDialog::ResearchDialog(QWidget* parent)
    : QWidget(parent, Qt::Window),
      title_(new QLabel(this)),
      centres_(new QComboBox(this)),
      trials_(new QSpinBox(this)),
      holdout_(new QSpinBox(this)),
      run_(new QPushButton(tr("Run"), this)),
      progress_(new QProgressBar(this)),
      cancel_(new QPushButton(tr("Cancel"), this)),
      table_(new QTableView(this)),
      summary_(new QLabel(this)),
      model_(new RowsModel<ResearchRow>(ResearchColumns(), this)),
      sorted_(new QSortFilterProxyModel(this)),
      job_(new BackgroundJob(progress_, this)) {
    setWindowTitle(tr("Research"));
    centres_->addItems({tr("Heliocentric"), tr("Geocentric"), tr("Both")});
    trials_->setRange(1, 100000);
    trials_->setValue(1000);
    holdout_->setRange(0, kResearchMaxHoldoutPercent);
    holdout_->setSuffix(" %");
    auto* form = new QFormLayout;
    form->addRow(tr("Centres"), centres_);
    form->addRow(tr("Random-timing trials"), trials_);
    form->addRow(tr("Held out at the end"), holdout_);
    auto* running = new QHBoxLayout;
    running->addWidget(run_);
    running->addWidget(progress_, 1);
    running->addWidget(cancel_);
    sorted_->setSourceModel(model_);
    sorted_->setSortRole(kSortRole);
    table_->setModel(sorted_);
    table_->setSortingEnabled(true);
    table_->sortByColumn(-1, Qt::AscendingOrder);  // ranked as the research ranks them
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table_->verticalHeader()->setVisible(false);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    summary_->setWordWrap(true);
    summary_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(title_);
    layout->addLayout(form);
    layout->addLayout(running);
    layout->addWidget(table_, 1);
    layout->addWidget(summary_);
    progress_->setVisible(false);
    cancel_->setEnabled(false);
    connect(run_, &QPushButton::clicked, this, [this] { Start(); });
    connect(cancel_, &QPushButton::clicked, this, &ResearchDialog::Cancel);
    connect(job_, &BackgroundJob::Finished, this, &ResearchDialog::Show);
    connect(table_, &QTableView::doubleClicked, this, &ResearchDialog::OpenChart);
    resize(1150, 560);
}

ResearchDialog::~ResearchDialog() = default;

void ResearchDialog::Prepare(ResearchRequest request, const std::string& pricesName,
                             bool heliocentric) {
    if (job_->Running()) return;
    request_ = std::move(request);
    pricesName_ = pricesName;
    if (!request_.prices.days.empty()) {
        title_->setText(tr("All pairs of the window's planet lists on %1, %2 to %3")
                            .arg(QString::fromStdString(pricesName_),
                                 QString::fromStdString(DateText(request_.prices.FirstDay())),
                                 QString::fromStdString(DateText(request_.prices.LastDay()))));
    }
    centres_->setCurrentIndex(heliocentric ? 0 : 1);
    trials_->setValue(request_.trials);
    summary_->setText(
        tr("Run judges every pair and combination as one family; "
           "double-click a row for its chart."));
}

bool ResearchDialog::Start() {
    if (job_->Running()) return false;
    ResearchRequest request = request_;
    request.centres = static_cast<ResearchCentres>(centres_->currentIndex());
    request.trials = trials_->value();
    request.holdoutPercent = holdout_->value();
    request.jobs = std::max(1, static_cast<int>(std::thread::hardware_concurrency()));
    if (const auto problem = ResearchRequestProblem(request)) {
        summary_->setText(QString::fromStdString(*problem));
        return false;
    }
    model_->SetRows({});
    run_->setEnabled(false);
    cancel_->setEnabled(true);
    summary_->setText(tr("Researching\u2026"));
    auto shared = std::make_shared<ResearchRequest>(std::move(request));
    return job_->Start(
        [this, shared](const BackgroundJob::Progress& progress, std::stop_token stop) {
            JobObserver observer(progress);
            result_ = RunResearch(*shared, observer, std::move(stop));
        });
}

void ResearchDialog::Cancel() { job_->Cancel(); }

bool ResearchDialog::Running() const { return job_->Running(); }

std::string ResearchDialog::ResultText() const {
    std::string text = result_.method + "\n" + std::to_string(result_.combinations) +
                       " combinations tried from " + DateText(result_.startDay) + " to " +
                       DateText(result_.endDay);
    if (result_.haveHoldout) {
        text += "; the ten best valued again from " + DateText(result_.holdoutStartDay) + " to " +
                DateText(result_.holdoutEndDay);
    }
    if (result_.haveBuyAndHold) {
        char line[96];
        std::snprintf(line, sizeof line, "\nBuy and hold over the period: %+.2f %%",
                      result_.buyAndHold);
        text += line;
    }
    return text;
}

void ResearchDialog::Show() {
    run_->setEnabled(true);
    cancel_->setEnabled(false);
    if (job_->Cancelled() || result_.status == ResearchStatus::Stopped) {
        summary_->setText(tr("Cancelled: the research was not finished."));
    } else if (result_.status != ResearchStatus::Completed) {
        summary_->setText(QString::fromStdString(result_.error));
    } else {
        model_->SetRows(result_.rows);
        summary_->setText(QString::fromStdString(ResultText()));
    }
    emit Finished();
}

void ResearchDialog::OpenChart(const QModelIndex& index) {
    const QModelIndex source = sorted_->mapToSource(index);
    if (!source.isValid()) return;
    const FamilyRow& row = model_->Rows()[static_cast<std::size_t>(source.row())].row;
    SimulationRequest request;
    request.firstPlanetIndex = FirstListIndexOfPlanet(row.first);
    request.secondPlanetIndex = SecondListIndexOfPlanet(row.second);
    request.aspectChecked[static_cast<std::size_t>(row.aspect - 1)] = true;
    for (std::size_t k = 0; k < 3; ++k) request.orbIndex[k] = request_.orbs[k] - 1;
    request.startDay = result_.startDay;
    request.endDay = result_.endDay;
    request.heliocentric = row.helio;
    CentredEphemerisPositions positions(row.helio);
    PriceSeriesLookup prices(request_.prices);
    const SeparatorAmountFormatter amounts = UserLocaleAmountFormatter();
    SimulationService service(positions, prices, amounts);
    ChartRun run;
    service.Run(request, run, std::stop_token());
    if (!run.messages.empty()) {
        QMessageBox::information(this, tr("Research"), QString::fromStdString(run.messages));
    }
    std::vector<SimulationEvent> events;
    for (const SimulationEvent& e : service.Simulation().Events()) {
        if (e.orbDegrees == row.orbDegrees) events.push_back(e);
    }
    const std::string title =
        PairLabel(static_cast<std::int16_t>(row.first), static_cast<std::int16_t>(row.second),
                  row.aspect, row.orbDegrees, row.helio) +
        (row.helio ? " (heliocentric)" : " (geocentric)") + " on " + pricesName_;
    ChartModel model = SimulationChart(events, request.startDay, request.endDay, title);
    model.priceName = pricesName_;
    model.prices = SeriesPrices(request_.prices, model.firstDay, model.lastDay);
    AddSimulationComparisons(model, events, prices);
    if (!chart_) chart_ = std::make_unique<ChartWindow>();
    chart_->Show(model);
}

}  // namespace vlt
