#include "app/qt/calendar_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFileDialog>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QVBoxLayout>

#include <ctime>

#include "app/positions/timezone_list.h"
#include "app/qt/background_job.h"

namespace vlt {
namespace {

RowsModel<CalendarRow>::Columns CalendarColumns() {
    return {kCalendarColumns, CalendarHeading, CalendarExplanation,
            CalendarCell,     CalendarSortKey, kCalendarColumns};
}

// Zones with daylight saving that traders ask for most; any other name of
// the time-zone database can be typed.
const char* const kDatabaseZones[] = {"America/New_York", "America/Chicago", "America/Los_Angeles",
                                      "Europe/London",    "Europe/Berlin",   "Asia/Tokyo",
                                      "Asia/Hong_Kong",   "Australia/Sydney"};

CalendarDay DayOf(const QDate& d) { return {d.year(), d.month(), d.day()}; }

}  // namespace

CalendarDialog::CalendarDialog(QWidget* parent)
    : QWidget(parent, Qt::Window),
      start_(new QDateEdit(QDate::currentDate(), this)),
      end_(new QDateEdit(QDate::currentDate().addDays(90), this)),
      zone_(new QComboBox(this)),
      find_(new QPushButton(tr("Find"), this)),
      progress_(new QProgressBar(this)),
      cancel_(new QPushButton(tr("Cancel"), this)),
      exportIcs_(new QPushButton(tr("Export ICS\u2026"), this)),
      exportCsv_(new QPushButton(tr("Export CSV\u2026"), this)),
      table_(new QTableView(this)),
      summary_(new QLabel(this)),
      model_(new RowsModel<CalendarRow>(CalendarColumns(), this)),
      sorted_(new QSortFilterProxyModel(this)),
      job_(new BackgroundJob(progress_, this)) {
    setWindowTitle(tr("Calendar"));
    auto* running = new QHBoxLayout;
    running->addWidget(find_);
    running->addWidget(progress_, 1);
    running->addWidget(cancel_);
    running->addWidget(exportIcs_);
    running->addWidget(exportCsv_);
    sorted_->setSourceModel(model_);
    sorted_->setSortRole(kSortRole);
    table_->setModel(sorted_);
    table_->setSortingEnabled(true);
    table_->sortByColumn(-1, Qt::AscendingOrder);  // in time order as found
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table_->horizontalHeader()->setStretchLastSection(true);
    table_->verticalHeader()->setVisible(false);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    summary_->setWordWrap(true);
    summary_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(ChoiceRows());
    layout->addLayout(running);
    layout->addWidget(table_, 1);
    layout->addWidget(summary_);
    progress_->setVisible(false);
    cancel_->setEnabled(false);
    exportIcs_->setEnabled(false);
    exportCsv_->setEnabled(false);
    connect(find_, &QPushButton::clicked, this, [this] { Start(); });
    connect(cancel_, &QPushButton::clicked, this, &CalendarDialog::Cancel);
    connect(exportIcs_, &QPushButton::clicked, this, [this] { Choose(CalendarFile::Ics); });
    connect(exportCsv_, &QPushButton::clicked, this, [this] { Choose(CalendarFile::Csv); });
    connect(job_, &BackgroundJob::Finished, this, &CalendarDialog::Show);
    resize(760, 600);
}

CalendarDialog::~CalendarDialog() = default;

// The period, the zone, the kinds and the aspects, in a form.
QWidget* CalendarDialog::ChoiceRows() {
    auto* box = new QWidget(this);
    for (QDateEdit* d : {start_, end_}) {
        d->setCalendarPopup(true);
        d->setDisplayFormat("yyyy-MM-dd");
    }
    zone_->setEditable(true);
    const std::vector<std::string> zones = TimezoneEntryTexts(false);
    for (std::size_t k = 1; k < zones.size(); ++k) zone_->addItem(QString::fromStdString(zones[k]));
    for (const char* name : kDatabaseZones) zone_->addItem(name);
    auto* kinds = new QHBoxLayout;
    const char* const kindNames[4] = {"Aspects", "Lunar phases", "Stations", "Sign ingresses"};
    for (std::size_t k = 0; k < kinds_.size(); ++k) {
        kinds_[k] = new QCheckBox(tr(kindNames[k]), box);
        kinds->addWidget(kinds_[k]);
    }
    auto* aspects = new QGridLayout;
    for (std::size_t k = 0; k < aspects_.size(); ++k) {
        const AspectInfo& info = Info(*AspectOfNumber(static_cast<int>(k) + 1));
        aspects_[k] = new QCheckBox(
            QString::fromUtf8(info.label.data(), static_cast<qsizetype>(info.label.size())), box);
        aspects->addWidget(aspects_[k], static_cast<int>(k / 4), static_cast<int>(k % 4));
    }
    connect(kinds_[0], &QCheckBox::toggled, this, [this](bool on) {
        for (QCheckBox* a : aspects_) a->setEnabled(on);
    });
    auto* form = new QFormLayout(box);
    form->setContentsMargins(0, 0, 0, 0);
    form->addRow(tr("From"), start_);
    form->addRow(tr("To (whole day)"), end_);
    form->addRow(tr("Time zone"), zone_);
    form->addRow(tr("Events"), kinds);
    form->addRow(tr("Aspects"), aspects);
    return box;
}

void CalendarDialog::Prepare(const std::string& windowZone) {
    if (job_->Running()) return;
    const CalendarChoices kept = StoredCalendarChoices();
    const bool on[4] = {kept.kinds.aspects, kept.kinds.phases, kept.kinds.stations,
                        kept.kinds.ingresses};
    for (std::size_t k = 0; k < kinds_.size(); ++k) kinds_[k]->setChecked(on[k]);
    for (std::size_t k = 0; k < aspects_.size(); ++k) aspects_[k]->setChecked(kept.aspects[k]);
    for (QCheckBox* a : aspects_) a->setEnabled(kinds_[0]->isChecked());
    zone_->setCurrentText(QString::fromStdString(kept.zone.empty() ? windowZone : kept.zone));
    if (model_->Rows().empty()) {
        summary_->setText(
            tr("Find lists the events of the period in time order; a click on a "
               "heading sorts by that column."));
    }
}

CalendarChoices CalendarDialog::Choices() const {
    CalendarChoices c;
    c.kinds = {kinds_[0]->isChecked(), kinds_[1]->isChecked(), kinds_[2]->isChecked(),
               kinds_[3]->isChecked()};
    for (std::size_t k = 0; k < aspects_.size(); ++k) c.aspects[k] = aspects_[k]->isChecked();
    c.zone = zone_->currentText().trimmed().toStdString();
    return c;
}

std::optional<CalendarRequest> CalendarDialog::Request() {
    const CalendarChoices c = Choices();
    std::string problem;
    const std::optional<EventZone> zone = EventZone::Read(c.zone, problem);
    CalendarRequest r;
    r.kinds = c.kinds;
    r.aspects = AspectsOf(c.aspects);
    if (!(c.kinds.aspects || c.kinds.phases || c.kinds.stations || c.kinds.ingresses)) {
        problem = "Check at least one kind of event.";
    } else if (c.kinds.aspects && r.aspects.empty()) {
        problem = "Check at least one aspect, or uncheck Aspects.";
    } else if (end_->date() < start_->date()) {
        problem = "The end date is before the start date.";
    }
    if (!zone || !problem.empty()) {
        summary_->setText(QString::fromStdString(problem));
        return std::nullopt;
    }
    r.zone = *zone;
    r.first = DayOf(start_->date());
    r.last = DayOf(end_->date());
    return r;
}

bool CalendarDialog::Start() {
    if (job_->Running()) return false;
    std::optional<CalendarRequest> request = Request();
    if (!request) return false;
    StoreCalendarChoices(Choices());
    request_ = std::move(*request);
    model_->SetRows({});
    find_->setEnabled(false);
    cancel_->setEnabled(true);
    exportIcs_->setEnabled(false);
    exportCsv_->setEnabled(false);
    summary_->setText(tr("Finding the events\u2026"));
    return job_->Start([this](const BackgroundJob::Progress& progress, std::stop_token stop) {
        found_ = FindCalendar(request_, std::move(stop), progress);
    });
}

void CalendarDialog::Cancel() { job_->Cancel(); }

bool CalendarDialog::Running() const { return job_->Running(); }

void CalendarDialog::Show() {
    find_->setEnabled(true);
    cancel_->setEnabled(false);
    if (job_->Cancelled() || found_.stopped) {
        summary_->setText(tr("Cancelled: the search was not finished."));
    } else if (!found_.failure.empty()) {
        summary_->setText(QString::fromStdString(found_.failure));
    } else {
        model_->SetRows(CalendarRows(found_.events, request_.zone));
        exportIcs_->setEnabled(!found_.events.empty());
        exportCsv_->setEnabled(!found_.events.empty());
        const std::size_t n = found_.events.size();
        summary_->setText(tr("%1 %2 from %3 to %4, times in %5")
                              .arg(QString::number(n), n == 1 ? tr("event") : tr("events"),
                                   start_->date().toString(Qt::ISODate),
                                   end_->date().toString(Qt::ISODate),
                                   QString::fromStdString(request_.zone.Name())));
    }
    emit Finished();
}

std::string CalendarDialog::ExportTo(const std::string& path, CalendarFile format) {
    return ExportCalendar(path, found_.events, request_.zone, format, std::time(nullptr));
}

void CalendarDialog::Choose(CalendarFile format) {
    const bool ics = format == CalendarFile::Ics;
    const QString path =
        QFileDialog::getSaveFileName(this, ics ? tr("Export ICS") : tr("Export CSV"),
                                     ics ? "veltaro-calendar.ics" : "veltaro-calendar.csv",
                                     ics ? tr("iCalendar files (*.ics)") : tr("CSV files (*.csv)"));
    if (path.isEmpty()) return;
    const std::string problem = ExportTo(path.toStdString(), format);
    if (!problem.empty()) {
        QMessageBox::warning(this, tr("Calendar"), QString::fromStdString(problem));
    }
}

}  // namespace vlt
