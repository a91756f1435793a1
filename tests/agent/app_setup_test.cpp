#include "agent/agent_fixture.hpp"
#include "agent/app_setup.hpp"
#include "agent/frm_main.hpp"
#include "agent/frm_popup.hpp"
#include "agent/sys_tray.hpp"
#include "agent/termination_signals.hpp"
#include "platform/single_instance.hpp"
#include "support/preferences.hpp"
#include "ui/schedule/frm_schedule.hpp"

#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <algorithm>
#include <csignal>
#include <memory>
#include <vector>

namespace quorvex::test {
namespace {

TEST(CommandLineTest, ArgumentsAfterTheProgramJoinedByBlanks)
{
    const char* argv[] = {"/opt/SILENT/quorvex", "-x", "/SILENT", "more"};
    EXPECT_EQ(commandLineText(4, argv), "-x /SILENT more");
    EXPECT_EQ(commandLineText(1, argv), "");
}

TEST(CommandLineTest, SilentIsAnExactCaseSensitiveSubstring)
{
    EXPECT_TRUE(isSilent("/SILENT"));
    EXPECT_TRUE(isSilent("-a /SILENT -b"));
    EXPECT_TRUE(isSilent("x/SILENTLY"));
    EXPECT_FALSE(isSilent("/silent"));
    EXPECT_FALSE(isSilent("/Silent"));
    EXPECT_FALSE(isSilent("SILENT"));
    EXPECT_FALSE(isSilent(""));
}

class StartUpTest : public AgentTest {
protected:
    void TearDown() override
    {
        m_setup.reset();
        TerminationSignals::uninstall();
        AgentTest::TearDown();
    }

    bool start(bool silent)
    {
        m_setup = std::make_unique<AppSetup>(silent);
        return m_setup->Main();
    }
    frmSchedule& schedule() const { return *m_setup->schedule(); }
    QTreeWidget& list() const { return *schedule().lvwSchedule(); }
    // Every row's cells, sorted, as the listing order is the file system's.
    std::vector<QStringList> rows() const
    {
        std::vector<QStringList> result;
        for (int i = 0; i < list().topLevelItemCount(); ++i) {
            QStringList cells;
            for (int c = 0; c < list().columnCount(); ++c)
                cells << list().topLevelItem(i)->text(c);
            result.push_back(cells);
        }
        std::sort(result.begin(), result.end());
        return result;
    }
    QString jobPath(const std::string& name) const
    {
        return QString::fromStdString((jobsDir() / name).string());
    }

    std::unique_ptr<AppSetup> m_setup;
};

TEST_F(StartUpTest, ListIsFilledFromEveryPlainFileOfTheJobsDirectory)
{
    saveBackupJob("Orders", "Orders Backup", DateTime::fromTime(23, 30));
    saveBackupJob("Stock", "Stock Backup", DateTime::fromTime(8, 15));
    writeFile(jobsDir() / "notes.txt", "not a job\r\n");
    writeFile(jobsDir() / ".hidden.tsk", "[Job]\r\n");
    std::filesystem::create_directories(jobsDir() / "old");

    ASSERT_TRUE(start(true));
    const std::vector<QStringList> all = rows();
    ASSERT_EQ(all.size(), 3U) << "no row for the hidden file or the sub-directory";
    const QStringList orders = {"Orders Backup", "Nov-01-2026", "Dec-05-2026",
                                "23:30",         "3",           jobPath("Orders.tsk")};
    const QStringList stock = {"Stock Backup", "Nov-01-2026", "Dec-06-2026",
                               "08:15",        "3",           jobPath("Stock.tsk")};
    EXPECT_EQ(all[1], orders);
    EXPECT_EQ(all[2], stock);
    EXPECT_EQ(all[0].last(), jobPath("notes.txt")) << "a file that is no job still gets a row";
}

TEST_F(StartUpTest, TwoFilesWithTheSameNameAndJobTypeAreBothListed)
{
    saveBackupJob("Nightly", "Nightly", DateTime::fromTime(23, 30));
    saveBackupJob("NightlyAgain", "Nightly", DateTime::fromTime(23, 30));
    ASSERT_TRUE(start(true));
    ASSERT_EQ(list().topLevelItemCount(), 2);
    EXPECT_EQ(list().topLevelItem(0)->text(0), "Nightly");
    EXPECT_EQ(list().topLevelItem(1)->text(0), "Nightly");
}

TEST_F(StartUpTest, MissingJobsDirectoryGivesAnEmptyList)
{
    std::filesystem::remove_all(jobsDir());
    ASSERT_TRUE(start(true));
    EXPECT_EQ(list().topLevelItemCount(), 0);
    EXPECT_TRUE(m_desktop.boxes().empty());
}

TEST_F(StartUpTest, SilentKeepsTheScheduleWindowHiddenAndShowsOnlyTheIcon)
{
    ASSERT_TRUE(start(true));
    EXPECT_FALSE(schedule().isVisible());
    EXPECT_FALSE(m_setup->mainWindow()->isVisible());
    EXPECT_TRUE(m_setup->tray()->hasIcon());
    EXPECT_EQ(m_setup->tray()->icon()->toolTip(), "Quorvex");
    EXPECT_TRUE(m_setup->mainWindow()->tmrCheckForDatabaseJob()->isActive());
}

TEST_F(StartUpTest, WithoutSilentTheScheduleWindowIsShownWithItsCount)
{
    saveBackupJob("Orders", "Orders Backup", DateTime::fromTime(23, 30));
    saveBackupJob("Stock", "Stock Backup", DateTime::fromTime(8, 15));
    ASSERT_TRUE(start(false));
    EXPECT_TRUE(schedule().isVisible());
    EXPECT_FALSE(m_setup->mainWindow()->isVisible());
    schedule().activateWindow();
    QApplication::processEvents();
    bool counted = false;
    for (const auto* label : schedule().findChildren<QLabel*>())
        counted = counted || label->text() == "2 Database Jobs";
    EXPECT_TRUE(counted);
}

TEST_F(StartUpTest, PreferencesAreLoadedFromTheIniFile)
{
    writeFile(dir() / "Quorvex.ini",
              "[Preferences]\r\nStopOnError=0\r\nNumberCopies=7\r\nIEPath=/usr/bin/firefox\r\n");
    ASSERT_TRUE(start(true));
    EXPECT_EQ(preferences().StopOnError, 0);
    EXPECT_EQ(preferences().NumberCopies, 7);
    EXPECT_EQ(preferences().IEPath, "/usr/bin/firefox");
}

TEST_F(StartUpTest, SecondInstanceIsRefusedWithItsBoxOnly)
{
    SingleInstance first(dir().string(), AppSetup::lockFileName());
    ASSERT_FALSE(first.anotherInstanceRuns());
    saveBackupJob("Orders", "Orders Backup", DateTime::fromTime(23, 30));

    EXPECT_FALSE(start(false));
    ASSERT_EQ(m_desktop.boxes().size(), 1U);
    EXPECT_EQ(m_desktop.boxes()[0].text, "An instance of Quorvex is already running.");
    EXPECT_EQ(m_desktop.boxes()[0].style, mb::OkOnly);
    EXPECT_EQ(m_desktop.boxes()[0].title, "Verification Error");
    EXPECT_EQ(m_setup->schedule(), nullptr);
    EXPECT_EQ(m_setup->tray(), nullptr);
    EXPECT_EQ(preferences().NumberCopies, 0) << "preferences are not loaded either";
}

TEST_F(StartUpTest, TheRunningInstanceHoldsTheLock)
{
    ASSERT_TRUE(start(true));
    SingleInstance second(dir().string(), AppSetup::lockFileName());
    EXPECT_TRUE(second.anotherInstanceRuns());
}

// The tray menu and the ways the agent ends.
class TrayMenuTest : public StartUpTest {
protected:
    QMenu& menu() const { return *m_setup->tray()->popup().menu(); }
    // Clicks a menu item as soon as the menu is up.
    void clickWhenShown(QAction* item, std::function<void()> before = {})
    {
        QObject::connect(
            &menu(), &QMenu::aboutToShow, &menu(),
            [this, item, before] {
                QTimer::singleShot(0, &menu(), [this, item, before] {
                    if (before)
                        before();
                    QTest::mouseClick(&menu(), Qt::LeftButton, {},
                                      menu().actionGeometry(item).center());
                });
            },
            Qt::SingleShotConnection);
    }
};

TEST_F(TrayMenuTest, MenuHoldsItsItemsInOrder)
{
    ASSERT_TRUE(start(true));
    const QList<QAction*> items = menu().actions();
    ASSERT_EQ(items.size(), 3);
    EXPECT_EQ(items[0]->text(), "Scheduled Database Jobs");
    EXPECT_TRUE(items[1]->isSeparator());
    EXPECT_EQ(items[2]->text(), "Exit Quorvex");
    EXPECT_EQ(m_setup->tray()->popup().objectName(), "frmPopup");
    EXPECT_EQ(menu().objectName(), "Quorvex");
}

TEST_F(TrayMenuTest, IconClicksReachTheMainWindowThroughTheEventLoop)
{
    // Removing the icon destroys the widget whose mouse handler reports the click, so the
    // menu and its Exit must run after that handler has returned.
    ASSERT_TRUE(start(true));
    std::vector<int> codes;
    QObject::connect(m_setup->tray(), &SysTrayApp::notification,
                     [&](int code) { codes.push_back(code); });
    emit m_setup->tray()->icon()->activated(QSystemTrayIcon::DoubleClick);
    EXPECT_TRUE(codes.empty());
    QApplication::processEvents();
    EXPECT_EQ(codes, std::vector<int>{SysTrayApp::kLeftButtonDoubleClick});
    EXPECT_EQ(m_setup->mainWindow()->lastNotification(), SysTrayApp::kLeftButtonDoubleClick);
}

TEST_F(TrayMenuTest, ScheduledDatabaseJobsShowsTheScheduleWindow)
{
    ASSERT_TRUE(start(true));
    clickWhenShown(m_setup->tray()->popup().scheduleItem());
    m_setup->mainWindow()->Form_MouseMove(SysTrayApp::kRightButtonUp);
    EXPECT_TRUE(schedule().isVisible());
    EXPECT_TRUE(m_setup->tray()->hasIcon());
}

TEST_F(TrayMenuTest, ExitRemovesTheIconAndEndsTheEventLoop)
{
    saveBackupJob("Orders", "Orders Backup", DateTime::fromTime(23, 30));
    ASSERT_TRUE(start(false));
    int menusShown = 0;
    QObject::connect(&menu(), &QMenu::aboutToShow, [&] { ++menusShown; });
    clickWhenShown(m_setup->tray()->popup().exitItem(), [this] {
        // A second click while the menu is open opens no second menu.
        m_setup->mainWindow()->Form_MouseMove(SysTrayApp::kLeftButtonDown);
    });
    QTimer::singleShot(
        0, [this] { m_setup->mainWindow()->Form_MouseMove(SysTrayApp::kLeftButtonDown); });

    EXPECT_EQ(QApplication::exec(), 0);
    EXPECT_EQ(menusShown, 1);
    EXPECT_FALSE(m_setup->tray()->hasIcon());
    EXPECT_FALSE(m_setup->mainWindow()->tmrCheckForDatabaseJob()->isActive());
    EXPECT_FALSE(schedule().isVisible());
    EXPECT_EQ(list().topLevelItemCount(), 1) << "windows are closed, not destroyed";
}

TEST_F(TrayMenuTest, SigtermRunsTheExitSequence)
{
    ASSERT_TRUE(start(true));
    QTimer::singleShot(0, [] { std::raise(SIGTERM); });
    EXPECT_EQ(QApplication::exec(), 0);
    EXPECT_FALSE(m_setup->tray()->hasIcon());
    EXPECT_FALSE(m_setup->mainWindow()->tmrCheckForDatabaseJob()->isActive());
}

TEST_F(TrayMenuTest, SigintRunsTheExitSequence)
{
    ASSERT_TRUE(start(true));
    QTimer::singleShot(0, [] { std::raise(SIGINT); });
    EXPECT_EQ(QApplication::exec(), 0);
    EXPECT_FALSE(m_setup->tray()->hasIcon());
}

} // namespace
} // namespace quorvex::test
