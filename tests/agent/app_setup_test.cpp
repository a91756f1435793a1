#include "agent/app_setup.hpp"
#include "agent/frm_main.hpp"
#include "agent/frm_popup.hpp"
#include "agent/headless_desktop.hpp"
#include "agent/sys_tray.hpp"
#include "agent/termination_signals.hpp"
#include "execution/file_copy.hpp"
#include "platform/single_instance.hpp"
#include "ui/form_test.hpp"

#include <QMenu>
#include <QScopeGuard>
#include <QTest>
#include <QTimer>

#include <csignal>
#include <memory>

namespace quorvex::test {
namespace {

class StartUpTest : public JobFilesTest {
protected:
    void TearDown() override
    {
        m_setup.reset();
        TerminationSignals::uninstall();
        JobFilesTest::TearDown();
    }

    bool start(bool silent)
    {
        m_setup = std::make_unique<AppSetup>(silent);
        return m_setup->Main();
    }
    frmSchedule& schedule() const { return *m_setup->schedule(); }
    frmMain& mainWindow() const { return *m_setup->mainWindow(); }
    QMenu& menu() const { return *m_setup->tray()->popup().menu(); }
    // Opens the tray menu by the click and clicks the item once the menu waits for input.
    void chooseFromMenu(int trayClick, QAction* item)
    {
        QTimer::singleShot(0, &menu(), [this, item] {
            QTest::mouseClick(&menu(), Qt::LeftButton, {}, menu().actionGeometry(item).center());
        });
        mainWindow().Form_MouseMove(trayClick);
    }
    std::unique_ptr<AppSetup> m_setup;
};

// A start beside another instance is refused. At 09:00 a daily 03:00 job that last ran two days
// ago is made up once at a silent start, only when the loaded preferences ask for it (the second
// start). Silent, only the icon shows (the installed package's test has SIGTERM running the exit
// sequence). Tray clicks wait for the loop; the menu shows the schedule window,
// sorted: the transcript has the rows with their hidden columns, none for the
// hidden file, the sub-directory or the unreadable job file; a file that is no job still gets
// one. Exit ends the loop; a start without /SILENT shows the window.
TEST_F(StartUpTest, SilentStartMakesUpAMissedRunIfAskedFillsTheListTrayMenuShowsItAndExits)
{
    saveBackupJob("Nightly", "Nightly", DateTime::fromTime(3, 0), at(2026, 12, 3));
    saveBackupJob("Orders", "Orders Backup", DateTime::fromTime(23, 30), at(2026, 12, 4));
    writeFile(jobsDir() / "notes.txt", "not a job\r\n");
    writeFile(jobsDir() / ".hidden.tsk", "[Job]\r\n");
    writeFile(jobsDir() / "Broken.tsk", "[Schedule]\r\nDateLastRun=Someday\r\n");
    std::filesystem::create_directories(jobsDir() / "old");
    {
        SingleInstance first(dir().string(), AppSetup::lockFileName());
        ASSERT_FALSE(first.anotherInstanceRuns());
        EXPECT_FALSE(start(true));
    }
    for (const bool catchUp : {false, true}) {
        SCOPED_TRACE(catchUp);
        m_setup.reset();
        writeFile(dir() / "Quorvex.ini",
                  std::string("[Preferences]\r\nCatchUpMissedRuns=") + (catchUp ? "-1" : "0"));
        m_clock.set(2026, 12, 5, 9, 0, 0);
        ASSERT_TRUE(start(true));
        for (int tick = 0; tick < 2; ++tick) {
            m_clock.advanceSeconds(5);
            mainWindow().tmrCheckForDatabaseJob_Timer();
        }
        EXPECT_EQ(runsLogged(), catchUp ? Names{"Nightly"} : Names{});
    }
    EXPECT_EQ(linesOf(readFile(transactionLogPath())).at(0).substr(21),
              "Making up the run missed at Dec-05-2026 03:00");
    EXPECT_FALSE(schedule().isVisible());
    EXPECT_TRUE(mainWindow().tmrCheckForDatabaseJob()->isActive());
    expectInErrorLog({(jobsDir() / "Broken.tsk").string()});

    // Removing the icon destroys the widget whose mouse handler reports the click, so the
    // menu and its Exit must run after that handler has returned.
    emit m_setup->tray()->icon()->activated(QSystemTrayIcon::DoubleClick);
    EXPECT_NE(mainWindow().lastNotification(), SysTrayApp::kLeftButtonDoubleClick);
    QApplication::processEvents();
    EXPECT_EQ(mainWindow().lastNotification(), SysTrayApp::kLeftButtonDoubleClick);
    chooseFromMenu(SysTrayApp::kRightButtonUp, m_setup->tray()->popup().scheduleItem());
    ASSERT_TRUE(QTest::qWaitForWindowActive(&schedule()));
    note(rowsOf(schedule()));
    QTimer::singleShot(0, [this] {
        chooseFromMenu(SysTrayApp::kLeftButtonDown, m_setup->tray()->popup().exitItem());
    });
    EXPECT_EQ(QApplication::exec(), 0);
    EXPECT_FALSE(m_setup->tray()->hasIcon());
    EXPECT_FALSE(mainWindow().tmrCheckForDatabaseJob()->isActive());
    EXPECT_FALSE(schedule().isVisible());

    m_setup.reset();
    ASSERT_TRUE(start(false));
    EXPECT_TRUE(QTest::qWaitForWindowActive(&schedule()));
    expectTranscript();
}

// Without a display the agent's desktop still lets events run between the steps of a job, so
// a SIGTERM that comes during a job ends the pass after that job, as with a display.
TEST_F(StartUpTest, SigtermDuringAPassWithoutADisplayStopsAfterTheJobInProgress)
{
    for (const char* stem : {"First", "Second", "Third"})
        saveBackupJob(stem, stem, DateTime::fromTime(9, 0), at(2026, 11, 1));
    ASSERT_TRUE(start(true));
    HeadlessDesktop headless;
    setDesktop(&headless);
    setCopyProgressHook([](uint64_t) { std::raise(SIGTERM); });
    const auto unhook = qScopeGuard([] { setCopyProgressHook({}); });
    m_clock.set(2026, 12, 6, 9, 0, 1); // start-up made tomorrow's 09:00 the next run
    mainWindow().tmrCheckForDatabaseJob_Timer();
    EXPECT_EQ(runsLogged(), Names{"First"}) << "only Exit's stopped timer ends a pass early";
    // Exit asked an event loop to end while none ran; one run here takes the request along.
    QTimer::singleShot(0, [] { QApplication::exit(); });
    QApplication::exec();
}

} // namespace
} // namespace quorvex::test
