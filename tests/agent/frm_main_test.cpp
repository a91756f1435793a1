#include "agent/frm_main.hpp"
#include "agent/qt_desktop.hpp"
#include "agent/sys_tray.hpp"
#include "fakes/case_table.hpp"
#include "fakes/job_files_test.hpp"
#include "support/error_handler.hpp"

#include <QApplication>
#include <QPushButton>
#include <QTimer>

#include <cstdio>
#include <functional>
#include <memory>

namespace quorvex::test {
namespace {

// The hidden main window, its timer started, over a schedule window filled as start-up fills
// it; the timer is ticked by hand.
class MainWindowTest : public JobFilesTest {
protected:
    MainWindowTest() { m_main.Form_Load(true); }

    // A daily backup of a database of its own that last ran on 1 November 2026, listed.
    std::string addJob(const std::string& name, int hour, int minute)
    {
        return listBackupJob(m_schedule, name, DateTime::fromTime(hour, minute), at(2026, 11, 1));
    }
    // One timer tick at the given moment of December 2026.
    void tickAt(int day, int hour, int minute, int second = 0)
    {
        m_clock.set(2026, 12, day, hour, minute, second);
        m_main.tmrCheckForDatabaseJob_Timer();
    }

    frmSchedule m_schedule;
    frmMain m_main{m_schedule};
};

// A due job runs once its due moment has passed, not while the window is visible, and once for
// the occurrences missed meanwhile (data/agent/due_ticks.txt). Its file's last run and its
// row's next run are saved before it runs.
TEST_F(MainWindowTest, DueJobSavesItsLastRunFirstRunsOnceAndNotWhileTheWindowIsVisible)
{
    EXPECT_EQ(m_main.tmrCheckForDatabaseJob()->interval(), 5000) << "a check every 5 seconds";
    const std::string file = addJob("Orders", 10, 30);
    std::pair<DateTime, DateTime> seenDuringRun;
    m_desktop.onDoEvents([&] {
        CDatabaseJob job;
        job.OpenDatabaseJob(file);
        seenDuringRun = {job.DateLastRun(), m_schedule.rowDateNextRun(1)};
    });
    for (const CaseFields& tick : readCaseTable(QUORVEX_TEST_DATA_DIR "/due_ticks.txt")) {
        int day = 0, hour = 0, minute = 0, second = 0;
        std::sscanf(tick[0].c_str(), "%d %d:%d:%d", &day, &hour, &minute, &second);
        m_schedule.setVisible(tick[1] == "shown");
        tickAt(day, hour, minute, second);
        EXPECT_EQ(runsLogged().size(), std::stoul(tick[2])) << tick[0];
    }
    EXPECT_EQ(seenDuringRun, std::pair(at(2026, 12, 8), at(2026, 12, 8)));
}

// A job that fails leaves a note beside the tray icon; a job file gone bad since start-up is
// reported once, and the others run.
TEST_F(MainWindowTest, DueJobsRunInListOrderAndEachFailureIsNotedOnce)
{
    addJob("Alpha", 10, 10);
    addJob("Later", 11, 0);
    const std::string bad = addJob("Bad", 10, 15);
    listBackupJob(m_schedule, "Broken", DateTime::fromTime(10, 20), at(2026, 11, 1), false);
    writeFile(bad, "[Schedule]\r\nDateLastRun=never\r\n");
    tickAt(5, 10, 45);
    tickAt(5, 10, 50);
    EXPECT_EQ(runsLogged(), (Names{"Alpha", "Broken"}));
    EXPECT_EQ(m_desktop.notifications().size(), 1u);
    const std::string errors = readFile(errorLogPath());
    EXPECT_NE(errors.find(bad), std::string::npos);
    EXPECT_EQ(errors.find(bad), errors.rfind(bad)) << "reported once";
}

// While the first of two due jobs runs: Exit stops the timer, and the second job does not start;
// the second row is removed, and it is not read; a tick comes and the window is opened, and the
// tick does nothing and the window is hidden after the pass.
class DuringARunTest : public MainWindowTest, public ::testing::WithParamInterface<int> {};

TEST_P(DuringARunTest, ExitAndRemovalEndThePassATickDoesNothingAWindowShownIsHidden)
{
    addJob("Alpha", 10, 10);
    addJob("Beta", 10, 20);
    bool busySeen = false;
    const std::function<void()> during[] = {[&] { m_main.tmrCheckForDatabaseJob()->stop(); },
                                            [&] {
                                                if (m_schedule.rowCount() == 2)
                                                    m_schedule.DeleteItemListView(2);
                                            },
                                            [&] {
                                                busySeen = busySeen || m_main.checkInProgress();
                                                m_main.tmrCheckForDatabaseJob_Timer();
                                                m_schedule.show();
                                            }};
    m_desktop.onDoEvents(during[GetParam()]);
    tickAt(5, 10, 45);
    EXPECT_EQ(runsLogged(), GetParam() == 2 ? (Names{"Alpha", "Beta"}) : Names{"Alpha"});
    EXPECT_EQ(busySeen, GetParam() == 2);
    EXPECT_FALSE(m_main.checkInProgress());
    EXPECT_FALSE(m_schedule.isVisible());
}
INSTANTIATE_TEST_SUITE_P(Hooks, DuringARunTest, ::testing::Range(0, 3));

// Ticks before the earliest due moment read no row, so every change of the rows must count.
TEST_F(MainWindowTest, NoRowThatBecameDueIsSkipped)
{
    const std::string late = addJob("Late", 23, 0);
    tickAt(5, 12, 0);
    addJob("Added", 12, 30);
    tickAt(5, 12, 30, 1);
    EXPECT_EQ(runsLogged(), Names{"Added"});

    // Rewritten as the wizard does, to fall due before the earliest moment so far.
    m_schedule.setRow(1, "Late", at(2026, 11, 1), at(2026, 12, 5), DateTime::fromTime(12, 40),
                      job_type::Backup, late);
    tickAt(5, 12, 40, 1);
    EXPECT_EQ(runsLogged(), (Names{"Added", "Late"}));

    // Rows rewritten by their runs: Late is due again at 23:00 as its file says, and a job
    // that starts at 00:00 just after midnight.
    addJob("Midnight", 0, 0);
    tickAt(5, 23, 0, 1);
    tickAt(5, 23, 59, 59);
    tickAt(6, 0, 0, 1);
    EXPECT_EQ(runsLogged(), (Names{"Added", "Late", "Late", "Midnight"}));
}

TEST_F(MainWindowTest, TrayLeftPressAndRightReleaseAskForTheMenuOneAtATime)
{
    int menus = 0;
    QObject::connect(&m_main, &frmMain::popupMenuRequested, [&] {
        ++menus;
        m_main.Form_MouseMove(SysTrayApp::kRightButtonUp); // a click while the menu is open
    });
    for (int code : {SysTrayApp::kLeftButtonDown, SysTrayApp::kRightButtonUp,
                     SysTrayApp::kLeftButtonDoubleClick, SysTrayApp::kMouseMove})
        m_main.Form_MouseMove(code);
    EXPECT_EQ(menus, 2) << "no second menu while one is open; the next once it has closed";
}

// Answers the next box with its default button; seen gets its title, text, text format, icon
// and number of buttons, apart by '|'.
void answerWithDefault(QString& seen)
{
    QTimer::singleShot(0, [&seen] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        seen = QStringList{box->windowTitle(), box->text(), QString::number(box->textFormat()),
                           QString::number(box->icon()), QString::number(box->buttons().size())}
                   .join('|');
        box->defaultButton()->click();
    });
}

// The text is plain text with Windows line ends made Unix ones; a box without a title carries
// the application's; a default button beyond the last is the first; a box closed without an
// answer gives the cautious one. Set twice, the busy pointer is restored by one call; the
// desktop restores it when it goes.
TEST(QtDesktopTest, BoxShowsTextTitleAndIconAndReturnsThePressedButtonBusyPointerIsRestored)
{
    auto desktop = std::make_unique<QtDesktop>();
    QString seen;
    answerWithDefault(seen);
    EXPECT_EQ(desktop->messageBox("Database Job 'X' has failed.\r\n\r\nSee the log.",
                                  mb::YesNoCancel | mb::Exclamation | mb::DefaultButton2,
                                  "Backup Error"),
              mb::No);
    EXPECT_EQ(seen, QString("Backup Error|Database Job 'X' has failed.\n\nSee the log.|%1|%2|3")
                        .arg(Qt::PlainText)
                        .arg(QMessageBox::Warning));
    answerWithDefault(seen);
    EXPECT_EQ(desktop->messageBox("<b>not markup</b>", mb::YesNo | mb::DefaultButton3, ""),
              mb::Yes);
    EXPECT_EQ(
        seen,
        QString("Quorvex|<b>not markup</b>|%1|%2|2").arg(Qt::PlainText).arg(QMessageBox::NoIcon));
    EXPECT_EQ(QtDesktop::answerFor(QMessageBox::NoButton, mb::YesNo), mb::No);
    EXPECT_EQ(QtDesktop::answerFor(QMessageBox::NoButton, mb::YesNoCancel), mb::Cancel);
    for (bool busy : {true, true, false, true})
        desktop->setBusyPointer(busy);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    desktop.reset();
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

} // namespace
} // namespace quorvex::test
