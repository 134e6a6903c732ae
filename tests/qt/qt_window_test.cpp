// The real window on Qt's offscreen platform: the whole start-up with the data
// files present and with each one missing, clicks on real widgets, Help, the
// close box, and a picture of the started window.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDateEdit>
#include <QFocusEvent>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QToolTip>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "app/positions/pluto_tables.h"
#include "app/positions/positions.h"
#include "app/qt/qt_popup.h"
#include "tests/engine/golden_scan.h"
#ifdef VLT_HAVE_CHARTS
#include "app/chart/chart_legend.h"
#include "app/engine/event_formats.h"
#include "app/qt/calendar_dialog.h"
#include "app/qt/chart_link.h"
#include "app/qt/chart_window.h"
#endif
#include "app/qt/price_dialog.h"
#include "app/qt/qt_screen.h"
#include "app/qt/qt_viewer.h"
#include "app/qt/research_dialog.h"
#include "app/qt/statistics_view.h"
#include "app/qt/window_tools.h"
#include "app/simulation/simulation_service.h"
#include "app/support/settings_store.h"
#include "app/window/control_names.h"
#include "app/window/main_window.h"
#include "app/window/price_choice.h"
#include "app/window/program_commands.h"
#include "app/window/program_services.h"
#include "app/window/statistics_table.h"
#include "app/window/window_requests.h"

namespace vlt {
namespace {

namespace fs = std::filesystem;

QApplication& App() {
    static int argc = 1;
    static char name[] = "qt_window_test";
    static char* argv[] = {name, nullptr};
    static QApplication* app = [] {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        return new QApplication(argc, argv);
    }();
    return *app;
}

// The program's services with the data folder of the test.
class FolderServices : public ProgramServices {
public:
    explicit FolderServices(std::string folder) : folder_(std::move(folder)) {}
    void InitPositions() override { InitPositionsWithFolder(folder_); }

private:
    std::string folder_;
};

// Answers every modal window that comes up (message boxes with a scripted
// button, the pop-up notice at once) and records what each said.
class ModalAnswerer {
public:
    ModalAnswerer() {
        timer_.setInterval(10);
        QObject::connect(&timer_, &QTimer::timeout, [this] { Poll(); });
        timer_.start();
    }
    std::vector<std::string> texts;
    std::vector<std::string> titles;
    std::vector<QRect> popupPlaces;  // each notice's frame where it was shown
    QMessageBox::StandardButton answer = QMessageBox::Ok;

private:
    void Poll() {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr) return;
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            texts.push_back(box->text().toStdString());
            titles.push_back(box->windowTitle().toStdString());
            QAbstractButton* b = box->button(answer);
            if (b == nullptr) b = box->defaultButton();
            b->click();
        } else if (auto* popup = qobject_cast<QtPopUp*>(modal)) {
            texts.push_back("popup: " + popup->findChild<QLabel*>()->text().toStdString());
            popupPlaces.push_back(popup->frameGeometry());
            popup->accept();
        }
    }
    QTimer timer_;
};

// A copy of the program's folder (data files beside the program) without
// the files a test leaves out; the working folder holds the index file.
class ProgramFolder {
public:
    explicit ProgramFolder(const std::vector<std::string>& leaveOut) {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        root_ = fs::temp_directory_path() /
                ("vlt-qt-" + std::string(info->name()) + "-" + std::to_string(::getpid()));
        fs::remove_all(root_);
        fs::create_directories(root_ / "config");
        const fs::path bin = VLT_BIN_DIR;
        for (const char* f : {"jupiter.dac", "saturn.dac", "uranus.dac", "neptune.dac", "pluto.slx",
                              "hpluto.2199.slx", "DJIA_data.txt", "VLT_help.txt"}) {
            if (std::find(leaveOut.begin(), leaveOut.end(), f) != leaveOut.end()) continue;
            if (fs::exists(bin / f)) fs::copy_file(bin / f, root_ / f);
        }
        old_ = fs::current_path();
        fs::current_path(root_);
        SetSettingsFolder((root_ / "config").string());
    }
    ~ProgramFolder() {
        SetSettingsFolder("");
        fs::current_path(old_);
        fs::remove_all(root_);
    }
    std::string Folder() const { return root_.string() + "/"; }

private:
    fs::path root_;
    fs::path old_;
};

// The window on its screen with the program's services, wired as main()
// wires them once the program's commands (and prices) are made.
struct ScreenedWindow {
    explicit ScreenedWindow(const std::string& folder)
        : services(folder), window(screen, services) {}
    void Wire(CommandHandlers& commands, PriceChoice* prices = nullptr) {
        services.SetIndexBesideProgram(true);  // as main() does
        window.SetCommandHandlers(&commands);
        if (prices) window.UsePrices(prices);
        screen.Attach(&window);
        screen.SetBusyProbe([this] { return window.Running(); });
    }
    void Start() {
        window.StartUp();
        screen.show();
        QCoreApplication::processEvents();
        window.LoadPlutoTables();
    }
    template <class W>
    W* Find(const Ctl& c) {
        return qobject_cast<W*>(screen.Widget(c));
    }
    FolderServices services;
    QtScreen screen;
    MainWindow window;
};

// The program as main() puts it together.
struct Program : ScreenedWindow {
    explicit Program(const std::string& folder)
        : ScreenedWindow(folder), commands(window, services.Index()) {
        Wire(commands);
    }
    ProgramCommands commands;
};

// Types a date into the date boxes of row `date` and leaves each box, as a
// user does.
template <class P>
void SetDate(P& p, int date, const char* y, const char* m, const char* d) {
    for (const auto& [box, text] :
         {std::pair{ctl::txbYear, y}, {ctl::txbMonth, m}, {ctl::txbDay, d}}) {
        QLineEdit* edit = p.template Find<QLineEdit>(Ctl(box, date));
        edit->setText(text);
        QFocusEvent leave(QEvent::FocusOut, Qt::TabFocusReason);
        QApplication::sendEvent(edit, &leave);
    }
}

class QtWindowTest : public ::testing::Test {
protected:
    void SetUp() override { App(); }
};

TEST_F(QtWindowTest, StartsWithEveryDataFile) {
    ProgramFolder folder({});
    ModalAnswerer answers;
    Program p(folder.Folder());
    p.Start();
    EXPECT_EQ(answers.texts, std::vector<std::string>{"popup: Loading Pluto data ..."});
    EXPECT_TRUE(p.window.Loaded());
    EXPECT_TRUE(p.window.PlutoLoaded());
    EXPECT_TRUE(p.screen.isVisible());
    EXPECT_EQ(p.screen.windowTitle().left(8), "Veltaro ");
    EXPECT_EQ(p.Find<QPushButton>(ctl::cmdStart)->text(), "Mars and Jupiter");
    EXPECT_TRUE(p.Find<QPushButton>(ctl::cmdStart)->isEnabled());
    EXPECT_TRUE(p.Find<QLabel>(Ctl(ctl::lblDate, 0))->text().startsWith("January 1, "));
    EXPECT_EQ(p.Find<QComboBox>(Ctl(ctl::cboTimezone, 0))->count(), 48);
    // The output box reaches the right edge of Quit.
    const QRect out = p.Find<QPlainTextEdit>(ctl::txbOutput)->geometry();
    const QRect quit = p.Find<QPushButton>(ctl::cmdQuit)->geometry();
    EXPECT_NEAR(out.right(), quit.right(), 1);
    EXPECT_EQ(p.Find<QPlainTextEdit>(ctl::txbOutput)->font().family(), "Courier New");
    EXPECT_EQ(p.Find<QPushButton>(ctl::cmdStart)->font().family(), "Arial");
    EXPECT_EQ(QFontInfo(p.Find<QPlainTextEdit>(ctl::txbOutput)->font()).fixedPitch(), true);
}

TEST_F(QtWindowTest, StartsWhenADataFileIsMissing) {
    struct Case {
        const char* missing;
        const char* message;  // start of the one box shown, "" for none
        bool plutoLoaded;
    } cases[] = {
        {"DJIA_data.txt", "Error reading DJIA data file", true},
        {"pluto.slx", "Error when reading geocentric Pluto data.", false},
        {"hpluto.2199.slx", "", false},
        {"jupiter.dac", "", true},  // the library reports when asked for Jupiter
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.missing);
        ProgramFolder folder({c.missing});
        ResetPlutoTables();
        ModalAnswerer answers;
        Program p(folder.Folder());
        p.Start();
        std::vector<std::string> boxes;
        for (const std::string& t : answers.texts) {
            if (t.rfind("popup: ", 0) != 0) boxes.push_back(t);
        }
        if (*c.message == '\0') {
            EXPECT_TRUE(boxes.empty()) << (boxes.empty() ? "" : boxes[0]);
        } else {
            ASSERT_EQ(boxes.size(), 1u);
            EXPECT_EQ(boxes[0].rfind(c.message, 0), 0u) << boxes[0];
        }
        EXPECT_EQ(p.window.PlutoLoaded(), c.plutoLoaded);
        EXPECT_TRUE(p.window.Loaded());
        EXPECT_TRUE(p.screen.isVisible());
        EXPECT_TRUE(p.Find<QPushButton>(ctl::cmdStart)->isEnabled());
    }
}

TEST_F(QtWindowTest, ClicksReachTheLogic) {
    ProgramFolder folder({});
    ModalAnswerer answers;
    Program p(folder.Folder());
    p.Start();
    // Centricity.
    // The Moon ends both lists; choosing it recaptions the pair button.
    for (int list = 0; list < 2; ++list) {
        QComboBox* planets = p.Find<QComboBox>(Ctl(ctl::cboPlanet, list));
        ASSERT_EQ(planets->count(), 9);
        EXPECT_EQ(planets->itemText(8), "Moon");
    }
    p.Find<QComboBox>(Ctl(ctl::cboPlanet, 0))->setCurrentIndex(8);
    emit p.Find<QComboBox>(Ctl(ctl::cboPlanet, 0))->activated(8);
    EXPECT_EQ(p.Find<QPushButton>(ctl::cmdStart)->text(), "Moon and Jupiter");
    EXPECT_FALSE(p.Find<QCheckBox>(ctl::chkShowAllWithMoon)->isChecked());
    p.Find<QComboBox>(Ctl(ctl::cboPlanet, 0))->setCurrentIndex(0);
    emit p.Find<QComboBox>(Ctl(ctl::cboPlanet, 0))->activated(0);
    EXPECT_EQ(p.Find<QPushButton>(ctl::cmdStart)->text(), "Sun and Jupiter");
    EXPECT_FALSE(p.Find<QPushButton>(ctl::cmdSimulateInvestment)->isEnabled());
    p.Find<QRadioButton>(ctl::optHeliocentric)->click();
    EXPECT_EQ(p.Find<QComboBox>(Ctl(ctl::cboPlanet, 0))->itemText(0), "Earth");
    EXPECT_EQ(p.Find<QPushButton>(ctl::cmdStart)->text(), "Earth and Jupiter");
    EXPECT_TRUE(p.Find<QPushButton>(ctl::cmdSimulateInvestment)->isEnabled());
    EXPECT_TRUE(p.Find<QRadioButton>(ctl::optHeliocentric)->font().bold());
    EXPECT_FALSE(p.Find<QRadioButton>(ctl::optGeocentric)->isChecked());
    // Aspect types: Clear warns once.
    p.Find<QPushButton>(ctl::cmdClear)->click();
    EXPECT_EQ(std::count(answers.texts.begin(), answers.texts.end(),
                         "At least one aspect type must be checked."),
              1);
    EXPECT_FALSE(p.Find<QCheckBox>(Ctl(ctl::chkAspectType, 3))->isChecked());
    p.Find<QPushButton>(ctl::cmdAll)->click();
    EXPECT_TRUE(p.Find<QCheckBox>(Ctl(ctl::chkAspectType, 3))->isChecked());
    // A date box losing the focus cleans it and shows the date.
    QLineEdit* month = p.Find<QLineEdit>(Ctl(ctl::txbMonth, 0));
    month->setText("2a");
    QLineEdit* day = p.Find<QLineEdit>(Ctl(ctl::txbDay, 0));
    day->setText("29");
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(day, &out);
    EXPECT_EQ(month->text(), "2");
    const QString label = p.Find<QLabel>(Ctl(ctl::lblDate, 0))->text();
    const int year = p.Find<QLineEdit>(Ctl(ctl::txbYear, 0))->text().toInt();
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    EXPECT_EQ(label, leap ? QString("February 29, %1 CE").arg(year) : QString("invalid date"));
    // Focus leaving for a message box is not leaving the box.
    QFocusEvent toBox(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
    month->setText("7x");
    QApplication::sendEvent(month, &toBox);
    EXPECT_EQ(month->text(), "7x");
    // The abbreviations keep the selected zone.
    QComboBox* tz = p.Find<QComboBox>(Ctl(ctl::cboTimezone, 0));
    tz->setCurrentIndex(14);
    emit tz->activated(14);
    QCheckBox* natz = p.Find<QCheckBox>(ctl::chkDisplayNATZabbr);
    const bool before = natz->isChecked();
    natz->click();
    EXPECT_EQ(tz->currentIndex(), 14);
    EXPECT_EQ(tz->itemText(14), before ? "GMT-5:00" : "EST/CDT");
}

TEST_F(QtWindowTest, CloseBoxCancelKeepsTheWindow) {
    ProgramFolder folder({});
    ModalAnswerer answers;
    Program p(folder.Folder());
    p.Start();
    for (int i = 0; i < 12; ++i) p.window.OnTick();  // past the recent-save time
    answers.answer = QMessageBox::Cancel;
    EXPECT_FALSE(p.screen.close());
    EXPECT_TRUE(p.screen.isVisible());
    EXPECT_EQ(answers.texts.back(), "Save program state for next run?");
    EXPECT_EQ(answers.titles.back(), "Quit");
    answers.answer = QMessageBox::No;
    EXPECT_TRUE(p.screen.close());
    EXPECT_TRUE(p.screen.Ended());
}

TEST_F(QtWindowTest, HelpShowsTheHelpFile) {
    ProgramFolder folder({});
    ModalAnswerer answers;
    Program p(folder.Folder());
    p.Start();
    p.Find<QPushButton>(ctl::cmdHelp)->click();
    QtViewer* viewer = p.screen.Viewer();
    ASSERT_NE(viewer, nullptr);
    EXPECT_TRUE(viewer->isVisible());
    EXPECT_EQ(viewer->windowTitle(), "Help");
    EXPECT_FALSE(viewer->CopyButton()->isVisible());
    std::ifstream help(folder.Folder() + "VLT_help.txt", std::ios::binary);
    std::string first;
    std::getline(help, first);
    if (!first.empty() && first.back() == '\r') first.pop_back();
    ASSERT_FALSE(first.empty()) << "the help file is missing or empty";
    EXPECT_TRUE(viewer->TextBox()->toPlainText().startsWith(QString::fromStdString(first)));
    EXPECT_TRUE(viewer->TextBox()->isReadOnly());
    // Placed over the main window, 100 right and 380 below its corner.
    EXPECT_NEAR(viewer->x(), p.screen.x() + p.screen.TwipsToPixels(100), 1);
    EXPECT_NEAR(viewer->width(), p.screen.width() - p.screen.TwipsToPixels(200), 1);
    viewer->grab().save(QString(VLT_BIN_DIR) + "/vlt1056-help.png");
}

TEST_F(QtWindowTest, ViewerCopiesTheSelectionOrEverything) {
    const fs::path file = fs::temp_directory_path() / ("vlt-qt-view-" + std::to_string(::getpid()));
    std::ofstream(file, std::ios::binary) << "first line\r\nsecond line\r\nthird\r\n";
    QWidget owner;
    QtViewer viewer(&owner, {[](int t) { return t / 15; }, [](int p) { return p * 15; }});
    viewer.Logic().SetFile(file.string());
    viewer.show();
    viewer.Logic().Activate();
    EXPECT_EQ(viewer.TextBox()->toPlainText(), "first line\nsecond line\nthird\n");
    EXPECT_TRUE(viewer.CopyButton()->isVisible());
    EXPECT_EQ(viewer.CopyButton()->text(), "Copy to clipboard");
    // Select from inside the first line into the second.
    QTextCursor c = viewer.TextBox()->textCursor();
    c.setPosition(6);
    c.setPosition(17, QTextCursor::KeepAnchor);
    viewer.TextBox()->setTextCursor(c);
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(5, 5), QPointF(5, 5), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(viewer.TextBox()->viewport(), &release);
    EXPECT_EQ(viewer.CopyButton()->text(), "Copy selected text to clipboard");
    EXPECT_EQ(viewer.CopyButton()->width(), 4425 / 15);
    viewer.CopyButton()->click();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "line\nsecond");
    EXPECT_EQ(viewer.CopyButton()->text(), "Copy to clipboard");
    c.clearSelection();
    viewer.TextBox()->setTextCursor(c);
    viewer.CopyButton()->click();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "first line\nsecond line\nthird\n");
    viewer.close();
    EXPECT_FALSE(viewer.Logic().Loaded());
    fs::remove(file);
}

TEST_F(QtWindowTest, PictureOfAWindowThatRanACommand) {
    ProgramFolder folder({});
    ModalAnswerer answers;
    Program p(folder.Folder());
    p.Start();
    // Geocentric Mars and Jupiter over 2024: the button runs the engine and
    // the report lands in the output box.
    for (int date = 0; date < 2; ++date) {
        QLineEdit* year = p.Find<QLineEdit>(Ctl(ctl::txbYear, date));
        year->setText("2024");
        QFocusEvent leave(QEvent::FocusOut, Qt::TabFocusReason);
        QApplication::sendEvent(year, &leave);
    }
    EXPECT_EQ(p.Find<QLabel>(ctl::lblConstructTransitTables)->text(),
              "Construct transit tables for the period 2024-01-01 to 2024-12-31 for:");
    QComboBox* tz = p.Find<QComboBox>(Ctl(ctl::cboTimezone, 0));
    tz->setCurrentIndex(24);
    p.Find<QPushButton>(ctl::cmdStart)->click();
    EXPECT_FALSE(p.window.Running());
    EXPECT_EQ(p.Find<QPushButton>(ctl::cmdStart)->text(), "Mars and Jupiter");
    EXPECT_FALSE(p.window.OutputText().empty());
    EXPECT_EQ(p.Find<QPlainTextEdit>(ctl::txbOutput)->toPlainText().toStdString().size() +
                  std::count(p.window.OutputText().begin(), p.window.OutputText().end(), '\r'),
              QString::fromStdString(p.window.OutputText()).toStdString().size());
    p.window.OnTick();
    EXPECT_TRUE(p.Find<QPushButton>(Ctl(ctl::cmdFile, 0))->isVisible());
    QCoreApplication::processEvents();
    const QImage image = p.screen.grab().toImage();
    ASSERT_FALSE(image.isNull());
    // The background colour shows around the controls.
    const QRect label = p.Find<QLabel>(ctl::lblYear)->geometry();
    EXPECT_EQ(image.pixelColor(label.left() + 1, label.top() + 1).rgb() & 0xFFFFFF,
              QColor(252, 253, 120).rgb() & 0xFFFFFF);
    image.save(QString(VLT_BIN_DIR) + "/vlt1056-window.png");
}

// Started from a folder without the index file, the window reads the copy
// beside the program and simulates on it without a word; a damaged index
// file in the working folder still wins and its message names it.
TEST_F(QtWindowTest, IndexFileBesideTheProgramServesAnyFolder) {
    const struct {
        const char* what;
        const char* workingCopy;  // nullptr: none
        bool message;
    } cases[] = {
        {"empty working folder", nullptr, false},
        {"damaged copy in the working folder", "2007-01-03,12474.52\n2007-01-04,x\n", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ProgramFolder folder({});
        const fs::path elsewhere = fs::path(folder.Folder()) / "elsewhere";
        fs::create_directories(elsewhere);
        fs::current_path(elsewhere);
        if (c.workingCopy != nullptr) {
            std::ofstream(elsewhere / "DJIA_data.txt", std::ios::binary) << c.workingCopy;
        }
        ModalAnswerer answers;
        Program p(folder.Folder());
        p.Start();
        std::vector<std::string> boxes;
        for (const std::string& t : answers.texts) {
            if (t.rfind("popup: ", 0) != 0) boxes.push_back(t);
        }
        if (!c.message) {
            EXPECT_TRUE(boxes.empty()) << boxes.front();
            EXPECT_EQ(p.services.Index().count, kIndexLineCount);
            p.Find<QRadioButton>(ctl::optHeliocentric)->click();
            p.Find<QComboBox>(Ctl(ctl::cboPlanet, 0))->setCurrentIndex(0);  // Earth
            p.Find<QComboBox>(Ctl(ctl::cboPlanet, 1))->setCurrentIndex(2);  // Mars
            SetDate(p, 0, "2010", "1", "1");
            SetDate(p, 1, "2010", "12", "31");
            p.Find<QPushButton>(ctl::cmdSimulateInvestment)->click();
            EXPECT_NE(p.window.OutputText().find("Total number of investments = "),
                      std::string::npos);
            boxes.clear();
            for (const std::string& t : answers.texts) {
                if (t.rfind("popup: ", 0) != 0) boxes.push_back(t);
            }
            EXPECT_TRUE(boxes.empty()) << boxes.front();
        } else {
            ASSERT_EQ(boxes.size(), 1u);
            const std::string path = (fs::current_path() / "DJIA_data.txt").string();
            EXPECT_EQ(boxes[0].rfind("Error reading DJIA data file " + path + "\n", 0), 0u)
                << boxes[0];
        }
    }
}

// The "Done" notice, beside the status line at the window's bottom, is moved
// up into the part of the screen windows may use when the window reaches
// below it; where it fits it stays beside the status line.
TEST_F(QtWindowTest, DoneNoticeStaysOnTheScreen) {
    ProgramFolder folder({});
    ModalAnswerer answers;
    Program p(folder.Folder());
    p.Start();
    const QRect area = p.screen.screen()->availableGeometry();
    const QLabel* status = p.Find<QLabel>(ctl::lblStatus);
    for (int top : {area.top() + 10, area.bottom() - 60}) {
        p.screen.move(area.left() + 10, top);
        QCoreApplication::processEvents();
        ASSERT_EQ(p.screen.y(), top);
        answers.popupPlaces.clear();
        p.window.PopUpNotice("Done");
        ASSERT_EQ(answers.popupPlaces.size(), 1u);
        EXPECT_EQ(answers.texts.back(), "popup: Done");
        const QRect place = answers.popupPlaces.front();
        EXPECT_TRUE(area.contains(place)) << top << ": " << place.x() << "," << place.y();
        const int statusTop = status->mapToGlobal(QPoint(0, 0)).y();
        if (statusTop + place.height() <= area.bottom()) {
            EXPECT_NEAR(place.y(), statusTop, 1) << top;
        }
    }
}

// Each show-all button is captioned with the planet its series keeps: every
// table it writes names that planet, and so does the chart's title, which
// also names the planets it is paired with.
TEST_F(QtWindowTest, ShowAllButtonsNameThePlanetTheyKeep) {
    ProgramFolder folder({});
    ModalAnswerer answers;
    Program p(folder.Folder());
#ifdef VLT_HAVE_CHARTS
    ChartLink link(p.window, p.commands, p.services);
#endif
    p.Start();
    SetDate(p, 0, "2024", "1", "1");
    SetDate(p, 1, "2024", "3", "31");
    p.Find<QComboBox>(Ctl(ctl::cboTimezone, 0))->setCurrentIndex(24);
    for (int item : {0, 1}) {
        QPushButton* button = p.Find<QPushButton>(Ctl(ctl::cmdShowAll, item));
        const std::string caption = button->text().toStdString();
        const std::string kept = caption.substr(0, caption.find(' '));
        EXPECT_EQ(kept, item == 0 ? "Jupiter" : "Mars");
        EXPECT_EQ(caption, kept + " and the other planets.");
        p.Find<QCheckBox>(ctl::chkAppendToOutput)->setChecked(false);
        button->click();
        std::istringstream lines(p.window.OutputText());
        int tables = 0;
        for (std::string line; std::getline(lines, line);) {
            if (line.find(" transits for ") == std::string::npos) continue;
            ++tables;
            const std::string pair = line.substr(line.find(" for ") + 5);
            EXPECT_TRUE(pair.rfind(kept + " and ", 0) == 0 ||
                        pair.find(" and " + kept + " ") != std::string::npos)
                << caption << ": " << line;
        }
        EXPECT_GE(tables, 5) << caption;
#ifdef VLT_HAVE_CHARTS
        p.window.OnTick();
        p.Find<QPushButton>(ctl::cmdChart)->click();
        ASSERT_NE(link.Window(), nullptr);
        const std::string title = link.Window()->View()->Model().title;
        EXPECT_EQ(title.rfind("Geocentric transits of " + kept + " with ", 0), 0u) << title;
        EXPECT_NE(title.find(item == 0 ? "Mars" : "Jupiter"), std::string::npos) << title;
        EXPECT_NE(title.find("2024-01-01 to 2024-03-31"), std::string::npos) << title;
        EXPECT_EQ(link.Window()->View()->chart()->title().toStdString(), title);
        if (item == 1) {
            link.Window()->resize(1200, 700);
            QCoreApplication::processEvents();
            EXPECT_TRUE(link.Window()->grab().save(QString(VLT_BIN_DIR) + "/chart-showall.png"));
        }
#endif
    }
}

#ifdef VLT_HAVE_CHARTS
// The legend as drawn: the model's entries in order, and each aspect's
// swatch in the aspect's inner-orb colour where the view shows it.
void ExpectLegendDrawn(ChartView& view) {
    const std::vector<LegendEntry> entries = ChartLegend(view.Model());
    const std::vector<DrawnLegendEntry> drawn = DrawnLegend(view.chart());
    ASSERT_EQ(drawn.size(), entries.size());
    ASSERT_FALSE(drawn.empty());
    const QImage image = view.grab().toImage();
    int checked = 0;
    for (std::size_t i = 0; i < drawn.size(); ++i) {
        EXPECT_EQ(drawn[i].label.toStdString(), entries[i].label);
        const QPoint at = view.mapFromScene(view.chart()->mapToScene(drawn[i].swatch.center())) *
                          image.devicePixelRatio();
        EXPECT_TRUE(image.rect().contains(at)) << entries[i].label;
        if (entries[i].swatch != LegendEntry::Swatch::AspectColour) continue;
        EXPECT_EQ(image.pixelColor(at).rgb(), IntervalColour(entries[i].aspect, 2).rgb())
            << entries[i].label;
        ++checked;
    }
    if (view.Model().kind == ChartModel::Kind::Transits) {
        EXPECT_GT(checked, 0);
    }
}

// Moving the pointer itself over a bar shows the bar's dates and aspect in a
// tooltip: QCursor::setPos makes the window system report a move without a
// button, as a real mouse does (under X the server's own motion event).
// Under a real X server the picture of the screen is left in the program
// folder.
TEST_F(QtWindowTest, HoverOverABarShowsItsTooltip) {
    const ChartModel model =
        TransitChartOfResults(testing::ScanResults(testing::kGeocentricMercuryVenus2024),
                              ChartDay("2024-01-01"), ChartDay("2024-12-31"));
    ASSERT_FALSE(model.intervals.empty());
    ChartWindow w;
    w.resize(1200, 700);
    w.Show(model);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    ChartView* view = w.View();
    // The inner bar of the first transit that has one, at its middle day.
    const auto inner = std::find_if(model.intervals.begin(), model.intervals.end(),
                                    [](const ChartInterval& iv) { return iv.level == 2; });
    ASSERT_NE(inner, model.intervals.end());
    const ChartLayout l = LayoutOf(view->chart(), model);
    const QPointF onBar(l.XOfDay((inner->startDay + inner->endDay + 1) / 2.0),
                        l.LaneCentre(inner->lane));
    const QPoint at = view->mapFromScene(view->chart()->mapToScene(onBar));
    QToolTip::hideText();
    QCursor::setPos(view->viewport()->mapToGlobal(at));
    QTest::qWait(50);
    const std::string tip = QToolTip::text().toStdString();
    EXPECT_TRUE(QToolTip::isVisible());
    EXPECT_NE(tip.find(std::string("Mercury\u2013Venus ") + ChartAspectName(inner->aspect)),
              std::string::npos)
        << tip;
    EXPECT_NE(tip.find(ChartDateText(inner->startDay) + " to " + ChartDateText(inner->endDay)),
              std::string::npos)
        << tip;
    if (QGuiApplication::platformName() == "xcb") {
        const QRect frame = w.frameGeometry();
        QGuiApplication::primaryScreen()
            ->grabWindow(0, frame.x(), frame.y(), frame.width(), frame.height())
            .save(QString(VLT_BIN_DIR) + "/chart-hover.png");
    }
    // Off the plot the tooltip goes.
    QCursor::setPos(view->viewport()->mapToGlobal(QPoint(2, 2)));
    QTest::qWait(500);  // a tooltip fades before it is hidden
    EXPECT_FALSE(QToolTip::isVisible());
}

// The "Chart" button of the real window: disabled before a run, the chart
// window made on its first click only, and the chart of the last run in it:
// Mars and Jupiter from 2007 to 2014 over the DJIA, then the simulation of
// Earth and Mars.  The pictures of the chart window are left in the program
// folder (docs/ shows them).
TEST_F(QtWindowTest, ChartButtonShowsTheLastRun) {
    ProgramFolder folder({});
    ModalAnswerer answers;
    Program p(folder.Folder());
    ChartLink link(p.window, p.commands, p.services);
    p.Start();
    p.window.OnTick();
    QPushButton* chart = p.Find<QPushButton>(ctl::cmdChart);
    ASSERT_NE(chart, nullptr);
    EXPECT_EQ(chart->text(), "Chart");
    EXPECT_FALSE(chart->isEnabled());
    EXPECT_EQ(link.Window(), nullptr);

    const auto setDate = [&p](int date, const char* y, const char* m, const char* d) {
        for (const auto& [box, text] :
             {std::pair{ctl::txbYear, y}, {ctl::txbMonth, m}, {ctl::txbDay, d}}) {
            QLineEdit* edit = p.Find<QLineEdit>(Ctl(box, date));
            edit->setText(text);
            QFocusEvent leave(QEvent::FocusOut, Qt::TabFocusReason);
            QApplication::sendEvent(edit, &leave);
        }
    };
    setDate(0, "2007", "1", "3");
    setDate(1, "2014", "12", "31");
    p.Find<QComboBox>(Ctl(ctl::cboTimezone, 0))->setCurrentIndex(24);
    p.Find<QPushButton>(ctl::cmdStart)->click();
    p.window.OnTick();
    ASSERT_TRUE(chart->isEnabled());
    chart->click();
    ChartWindow* w = link.Window();
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->isVisible());
    const ChartModel& transits = w->View()->Model();
    EXPECT_EQ(transits.kind, ChartModel::Kind::Transits);
    EXPECT_EQ(transits.lanes.size(), 7u);
    EXPECT_EQ(ChartDateText(transits.firstDay), "2007-01-03");
    EXPECT_EQ(ChartDateText(transits.lastDay), "2014-12-31");
    EXPECT_GT(transits.prices.size(), 2000u);  // the index's trading days
    w->resize(1200, 700);
    QCoreApplication::processEvents();
    ExpectLegendDrawn(*w->View());
    // A tick on every year's first day, the index's values at round numbers.
    EXPECT_EQ(TickLabels(w->View()->chart(), Qt::AlignBottom),
              QStringList({"2008", "2009", "2010", "2011", "2012", "2013", "2014"}));
    for (const QString& label : TickLabels(w->View()->chart(), Qt::AlignRight)) {
        EXPECT_TRUE(label.endsWith(",000") || label.endsWith(",500")) << label.toStdString();
    }
    EXPECT_TRUE(w->grab().save(QString(VLT_BIN_DIR) + "/chart-mars-jupiter.png"));

    p.Find<QRadioButton>(ctl::optHeliocentric)->click();
    p.Find<QComboBox>(Ctl(ctl::cboPlanet, 0))->setCurrentIndex(0);  // Earth
    p.Find<QComboBox>(Ctl(ctl::cboPlanet, 1))->setCurrentIndex(2);  // Mars
    p.Find<QPushButton>(ctl::cmdSimulateInvestment)->click();
    p.window.OnTick();
    ASSERT_TRUE(chart->isEnabled());
    chart->click();
    EXPECT_EQ(link.Window(), w);  // the same window, made once
    const ChartModel& simulation = w->View()->Model();
    EXPECT_EQ(simulation.kind, ChartModel::Kind::Simulation);
    EXPECT_EQ(simulation.curves.size(), 7u);
    EXPECT_FALSE(simulation.trades.empty());
    QCoreApplication::processEvents();
    ExpectLegendDrawn(*w->View());
    const QStringList gains = TickLabels(w->View()->chart(), Qt::AlignLeft);
    EXPECT_TRUE(gains.contains("0")) << gains.join(" ").toStdString();
    EXPECT_FALSE(gains.contains("-0")) << gains.join(" ").toStdString();
    EXPECT_TRUE(w->grab().save(QString(VLT_BIN_DIR) + "/chart-earth-mars-simulation.png"));
}
#endif

// The program as main() puts it together with the price choice and the
// window's tools (prices, statistics, research).
struct PricedProgram : ScreenedWindow {
    explicit PricedProgram(const std::string& folder)
        : ScreenedWindow(folder),
          prices(services.Index()),
          commands(window, services.Index(), prices),
          tools(window, screen, commands, prices) {
        Wire(commands, &prices);
    }
    PriceChoice prices;
    ProgramCommands commands;
    WindowTools tools;
};

// A spreadsheet export of a made-up share, 2016 to 2023, weekdays only: a
// walk of steps of up to 1.5 % drawn from a fixed seed, whose values the
// tests never need to know.
std::string WriteQuotes(const fs::path& file) {
    using namespace std::chrono;
    std::ofstream out(file, std::ios::binary);
    out << "Date,Open,High,Low,Close,Volume\n";
    double close = 50.0;
    std::mt19937 generator(2016);
    std::uniform_real_distribution<double> step(-0.015, 0.0152);
    for (sys_days d = sys_days(2016y / January / 1); d <= sys_days(2023y / December / 31);
         d += days(1)) {
        const weekday w{d};
        if (w == Saturday || w == Sunday) continue;
        close *= 1.0 + step(generator);
        const year_month_day ymd{d};
        char line[128];
        std::snprintf(line, sizeof line, "%04d-%02u-%02u,1,1,1,%.4f,1000\n",
                      static_cast<int>(ymd.year()), static_cast<unsigned>(ymd.month()),
                      static_cast<unsigned>(ymd.day()), close);
        out << line;
    }
    return file.string();
}

// Answers the next "Prices…" dialog: the file and column typed in, then
// "Use this file" (or "DJIA (built in)" when `path` is empty).
void AnswerPriceDialog(const QString& path, const QString& column) {
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, path, column] {
        auto* dialog = qobject_cast<PriceDialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr) return;
        timer->stop();
        timer->deleteLater();
        if (path.isEmpty()) {
            dialog->BuiltInButton()->click();
            return;
        }
        dialog->PathEdit()->setText(path);
        dialog->ColumnEdit()->setText(column);
        dialog->UseFileButton()->click();
    });
    timer->start();
}

// The simulation of a request on a price file from a centre, run by the
// service on its own: what the window's run must match.
std::vector<SimulationEvent> ServiceEvents(const SimulationRequest& request,
                                           const std::string& path) {
    PriceSeries series;
    std::string error;
    EXPECT_TRUE(LoadPriceSeries(path, kDefaultPriceColumn, series, error)) << error;
    CentredEphemerisPositions positions(request.heliocentric);
    PriceSeriesLookup lookup(series);
    const SeparatorAmountFormatter amounts = UserLocaleAmountFormatter();
    SimulationService service(positions, lookup, amounts);
    struct Quiet final : RunObserver, OutputBox, MessageBoxes {
        OutputBox& Output() override { return *this; }
        MessageBoxes& Messages() override { return *this; }
        const std::string& Text() const override { return text; }
        void Append(const std::string& t) override { text += t; }
        void Clear() override { text.clear(); }
        void MoveCaretToEnd() override {}
        void Refresh() override {}
        MsgResult Show(const std::string& t, const std::string&, MsgButtons, MsgIcon) override {
            ADD_FAILURE() << t;
            return MsgResult::Ok;
        }
        std::string text;
    } quiet;
    service.Run(request, quiet, std::stop_token());
    return service.Simulation().Events();
}

// A CSV price file chosen through "Prices…", a geocentric simulation on it
// (as the simulation service runs it from the Earth on that file), its
// statistics in the sortable view (each row's trades recounted from the
// run's redemptions), and back to the built-in DJIA.  The pictures of the
// window and of the statistics are left in the program folder.
TEST_F(QtWindowTest, PriceFileRunsAGeocentricSimulationAndItsStatistics) {
    ProgramFolder folder({});
    const std::string quotes = WriteQuotes(fs::path(folder.Folder()) / "quotes.csv");
    ModalAnswerer answers;
    PricedProgram p(folder.Folder());
    p.Start();
    p.Find<QRadioButton>(ctl::optGeocentric)->click();
    QPushButton* simulate = p.Find<QPushButton>(ctl::cmdSimulateInvestment);
    EXPECT_FALSE(simulate->isEnabled());
    AnswerPriceDialog(QString::fromStdString(quotes), "Close");
    p.Find<QPushButton>(ctl::cmdPrices)->click();
    EXPECT_EQ(p.Find<QLabel>(ctl::lblPrices)->text(), "quotes.csv, 2016-01-01 to 2023-12-29");
    ASSERT_TRUE(simulate->isEnabled());
    p.Find<QComboBox>(Ctl(ctl::cboPlanet, 0))->setCurrentIndex(0);  // the Sun
    p.Find<QComboBox>(Ctl(ctl::cboPlanet, 1))->setCurrentIndex(2);  // Mars
    SetDate(p, 0, "2016", "2", "1");
    SetDate(p, 1, "2023", "11", "30");
    simulate->click();
    const InvestmentSimulation& run = p.commands.Simulation();
    ASSERT_EQ(run.LastOutcome(), SimulationOutcome::Completed) << p.window.OutputText();
    EXPECT_FALSE(run.Heliocentric());
    SimulationRequest request = SimulationRequestFromControls(p.window.Snapshot());
    request.heliocentric = false;
    const std::vector<SimulationEvent> expected = ServiceEvents(request, quotes);
    ASSERT_EQ(run.Events().size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(run.Events()[i].day, expected[i].day) << i;
        EXPECT_EQ(run.Events()[i].gain, expected[i].gain) << i;
    }
    p.tools.SetTrials(199);
    p.window.OnTick();
    EXPECT_TRUE(p.screen.grab().save(QString(VLT_BIN_DIR) + "/window-price-file.png"));
    QPushButton* statistics = p.Find<QPushButton>(ctl::cmdStatistics);
    ASSERT_TRUE(statistics->isEnabled());
    statistics->click();
    StatisticsView* view = p.tools.Statistics();
    ASSERT_NE(view, nullptr);
    QSignalSpy finished(view, &StatisticsView::Finished);
    ASSERT_TRUE(finished.wait(60000));
    ASSERT_EQ(view->Rows().size(), run.Pairs().size());
    for (const FamilyRow& row : view->Rows()) {
        const auto trades = std::count_if(expected.begin(), expected.end(), [&](const auto& e) {
            return e.kind == SimulationEvent::Kind::Redemption && Number(e.aspect) == row.aspect &&
                   e.orbDegrees == row.orbDegrees;
        });
        EXPECT_EQ(row.trades, trades) << row.aspect << " " << row.orbDegrees;
        EXPECT_FALSE(row.helio);
    }
    // Sorted by p: ascending numbers, "too few trades" last.
    QTableView* table = view->Table();
    const int pColumn = static_cast<int>(StatisticsColumn::P);
    table->horizontalHeader()->setSortIndicator(pColumn, Qt::AscendingOrder);
    double previous = -1.0;
    for (int r = 0; r < table->model()->rowCount(); ++r) {
        const QString cell = table->model()->index(r, pColumn).data().toString();
        const double p = cell == "too few trades" ? 2.0 : cell.toDouble();
        EXPECT_GE(p, previous) << cell.toStdString();
        previous = p;
    }
    view->resize(1100, 520);
    EXPECT_TRUE(view->grab().save(QString(VLT_BIN_DIR) + "/window-statistics.png"));

    AnswerPriceDialog("", "");
    p.Find<QPushButton>(ctl::cmdPrices)->click();
    EXPECT_EQ(p.Find<QLabel>(ctl::lblPrices)->text(), "DJIA (built in)");
    EXPECT_FALSE(simulate->isEnabled());
}

// Long work runs beside the window and stops on Cancel: the statistics of a
// simulation with a hundred thousand trials, and the research over every pair.
TEST_F(QtWindowTest, StatisticsAndResearchStopOnCancel) {
    ProgramFolder folder({});
    ModalAnswerer answers;
    PricedProgram p(folder.Folder());
    p.Start();
    p.Find<QRadioButton>(ctl::optHeliocentric)->click();
    SetDate(p, 0, "2008", "1", "1");
    SetDate(p, 1, "2012", "12", "31");
    p.Find<QPushButton>(ctl::cmdSimulateInvestment)->click();
    p.tools.SetTrials(100000);
    p.window.OnTick();
    p.Find<QPushButton>(ctl::cmdStatistics)->click();
    StatisticsView* view = p.tools.Statistics();
    ASSERT_NE(view, nullptr);
    QSignalSpy statisticsDone(view, &StatisticsView::Finished);
    // Cancelled at once: a hundred thousand trials take far longer than
    // the click, so the run cannot have ended first.
    EXPECT_TRUE(view->Running());
    EXPECT_TRUE(view->Progress()->isVisible());
    view->CancelButton()->click();
    ASSERT_TRUE(statisticsDone.wait(30000));
    EXPECT_EQ(view->Summary()->text().left(10), "Cancelled:");
    EXPECT_TRUE(view->Rows().empty());

    p.Find<QPushButton>(ctl::cmdResearch)->click();
    ResearchDialog* research = p.tools.Research();
    ASSERT_NE(research, nullptr);
    EXPECT_EQ(research->Trials()->value(), 100000);
    QSignalSpy researchDone(research, &ResearchDialog::Finished);
    research->RunButton()->click();
    EXPECT_TRUE(research->Running());
    EXPECT_FALSE(research->RunButton()->isEnabled());
    research->CancelButton()->click();
    ASSERT_TRUE(researchDone.wait(30000));
    EXPECT_EQ(research->Summary()->text().left(10), "Cancelled:");
    EXPECT_TRUE(research->Rows().empty());
    EXPECT_TRUE(research->RunButton()->isEnabled());
}

// Reads a whole file as bytes.
std::string FileText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The calendar dialog of the window: a month of events in New York time,
// the same as the calendar found apart from the dialog; both exports agree
// with the table; a file that cannot be written is said so; a bad zone
// and a cancelled search leave no rows.  The picture is left in the
// program folder.
TEST_F(QtWindowTest, CalendarDialogFindsSortsAndExports) {
    ProgramFolder folder({});
    fs::copy_file(fs::path(VLT_BIN_DIR) / "moon.chb", fs::path(folder.Folder()) / "moon.chb");
    ModalAnswerer answers;
    PricedProgram p(folder.Folder());
    p.Start();
    p.Find<QPushButton>(ctl::cmdCalendar)->click();
    CalendarDialog* dialog = p.tools.Calendar();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->StartDate()->date().daysTo(dialog->EndDate()->date()), 90);
    dialog->StartDate()->setDate(QDate(2027, 1, 1));
    dialog->EndDate()->setDate(QDate(2027, 1, 31));
    dialog->Zone()->setCurrentText("Mars/Olympus");
    EXPECT_FALSE(dialog->Start());
    EXPECT_TRUE(dialog->Summary()->text().startsWith("unknown time zone"))
        << dialog->Summary()->text().toStdString();
    dialog->Zone()->setCurrentText("America/New_York");
    QSignalSpy done(dialog, &CalendarDialog::Finished);
    ASSERT_TRUE(dialog->Start());
    ASSERT_TRUE(done.wait(60000));

    CalendarRequest apart;
    apart.first = {2027, 1, 1};
    apart.last = {2027, 1, 31};
    std::string error;
    apart.zone = *EventZone::Read("America/New_York", error);
    const SkyEventList want = FindCalendar(apart);
    ASSERT_TRUE(want.failure.empty()) << want.failure;
    ASSERT_EQ(dialog->Rows().size(), want.events.size());
    QAbstractItemModel* table = dialog->Table()->model();
    for (int r = 0; r < table->rowCount(); ++r) {
        const SkyEvent& e = want.events[static_cast<std::size_t>(r)];
        EXPECT_EQ(table->index(r, 1).data().toString().toStdString(), EventSummary(e));
        EXPECT_TRUE(table->index(r, 0).data().toString().endsWith(" -05:00"));
    }
    // Sorted by position: longitudes ascending, every row kept.
    dialog->Table()->sortByColumn(2, Qt::AscendingOrder);
    for (int r = 1; r < table->rowCount(); ++r) {
        EXPECT_LE(table->index(r - 1, 2).data(kSortRole).toDouble(),
                  table->index(r, 2).data(kSortRole).toDouble());
    }
    dialog->Table()->sortByColumn(0, Qt::AscendingOrder);
    dialog->resize(760, 600);
    EXPECT_TRUE(dialog->grab().save(QString(VLT_BIN_DIR) + "/window-calendar.png"));

    const fs::path out = fs::path(folder.Folder()) / "out";
    fs::create_directories(out);
    ASSERT_EQ(dialog->ExportTo((out / "sky.csv").string(), CalendarFile::Csv), "");
    ASSERT_EQ(dialog->ExportTo((out / "sky.ics").string(), CalendarFile::Ics), "");
    // Each CSV line's time is the table's time of its row, in ISO form.
    std::istringstream csv(FileText(out / "sky.csv"));
    std::string line;
    std::getline(csv, line);
    EXPECT_EQ(line.rfind("time,kind,body", 0), 0u);
    for (int r = 0; std::getline(csv, line); ++r) {
        ASSERT_LT(r, table->rowCount());
        QString time = table->index(r, 0).data().toString();  // "2027-01-07 15:24 -05:00"
        time.replace(10, 1, "T").replace(16, 1, ":00");
        EXPECT_EQ(QString::fromStdString(line.substr(0, 25)), time);
    }
    const std::string ics = FileText(out / "sky.ics");
    std::size_t events = 0;
    for (std::size_t at = ics.find("BEGIN:VEVENT"); at != std::string::npos;
         at = ics.find("BEGIN:VEVENT", at + 1)) {
        ++events;
    }
    EXPECT_EQ(events, want.events.size());
    EXPECT_NE(ics.find("PRODID:-//Veltaro//vlt1056 calendar//EN\r\n"), std::string::npos);
    EXPECT_NE(ics.find("SUMMARY:Full moon\r\n"), std::string::npos);
    EXPECT_EQ(dialog->ExportTo((out / "none" / "sky.ics").string(), CalendarFile::Ics),
              "The calendar could not be written to " + (out / "none" / "sky.ics").string() +
                  ": No such file or directory.");

    // The choices are kept; a long search stops on Cancel.
    EXPECT_EQ(StoredCalendarChoices().zone, "America/New_York");
    dialog->EndDate()->setDate(QDate(2090, 12, 31));
    ASSERT_TRUE(dialog->Start());
    dialog->CancelButton()->click();
    ASSERT_TRUE(done.wait(60000));
    EXPECT_EQ(dialog->Summary()->text().left(10), "Cancelled:");
    EXPECT_TRUE(dialog->Rows().empty());
}

#ifdef VLT_HAVE_CHARTS
// A finished research on a price file: ranked rows, and a double-click on a
// row opens the chart of that pair and combination with buy and hold and
// the random-timing band.  The pictures are left in the program folder.
TEST_F(QtWindowTest, ResearchRowOpensTheChartOfItsCombination) {
    ProgramFolder folder({});
    const std::string quotes = WriteQuotes(fs::path(folder.Folder()) / "quotes.csv");
    ModalAnswerer answers;
    PricedProgram p(folder.Folder());
    p.Start();
    ASSERT_TRUE(p.prices.Choose(quotes, "", p.screen));
    p.window.PricesChanged();
    p.tools.SetTrials(99);
    p.Find<QPushButton>(ctl::cmdResearch)->click();
    ResearchDialog* research = p.tools.Research();
    ASSERT_NE(research, nullptr);
    // Two pairs only, to keep the test short.
    ResearchRequest request;
    request.prices = p.prices.SeriesOrIndex();
    request.firstPlanets = {1};
    request.secondPlanets = {3, 4};
    request.trials = 99;
    research->Prepare(request, "quotes.csv", true);
    QSignalSpy done(research, &ResearchDialog::Finished);
    ASSERT_TRUE(research->Start());
    ASSERT_TRUE(done.wait(60000));
    ASSERT_EQ(research->Rows().size(), 2u * 7u * 3u) << research->Summary()->text().toStdString();
    research->resize(1150, 560);
    EXPECT_TRUE(research->grab().save(QString(VLT_BIN_DIR) + "/window-research.png"));
    QTableView* table = research->Table();
    const QModelIndex first = table->model()->index(0, 0);
    // A double-click as the window system reports it: press, release, then
    // the second press as a double-click.
    const QPoint at = table->visualRect(first).center();
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, at);
    ChartWindow* chart = research->Chart();
    ASSERT_NE(chart, nullptr);
    const ChartModel& model = chart->View()->Model();
    const FamilyRow& row = research->Rows()[0].row;
    EXPECT_EQ(model.kind, ChartModel::Kind::Simulation);
    EXPECT_EQ(model.title.rfind(first.data().toString().toStdString(), 0), 0u) << model.title;
    ASSERT_EQ(model.curves.size(), 1u);
    EXPECT_EQ(model.curves[0].aspect, row.aspect);
    EXPECT_EQ(model.priceName, "quotes.csv");
    EXPECT_FALSE(model.buyAndHold.empty());
    // The chart's closing marks are the row's trades.
    const auto closes = std::count_if(model.trades.begin(), model.trades.end(),
                                      [](const TradeMark& t) { return !t.opens; });
    EXPECT_EQ(closes, row.trades);
    if (row.trades > 0) {
        EXPECT_FALSE(model.bandLow.empty());
    }
    chart->resize(1200, 700);
    QCoreApplication::processEvents();
    EXPECT_TRUE(chart->grab().save(QString(VLT_BIN_DIR) + "/chart-research-band.png"));
}
#endif

}  // namespace
}  // namespace vlt
