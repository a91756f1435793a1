#include "agent/agent_fixture.hpp"
#include "agent/frm_main.hpp"
#include "agent/sys_tray.hpp"
#include "jobs/database_job.hpp"
#include "ui/schedule/frm_schedule.hpp"

#include <QTimer>
#include <QTreeWidget>

#include <memory>

namespace quorvex::test {
namespace {

// The due-job check on a schedule window filled as start-up fills it, ticked by hand.
class DueJobCheckTest : public AgentTest {
protected:
    void SetUp() override
    {
        AgentTest::SetUp();
        m_schedule = std::make_unique<frmSchedule>();
        m_main = std::make_unique<frmMain>(*m_schedule);
        m_main->Form_Load(true);
    }
    void TearDown() override
    {
        m_main.reset();
        m_schedule.reset();
        AgentTest::TearDown();
    }

    std::string addJob(const std::string& stem, const std::string& name, DateTime startTime)
    {
        const std::string file = saveBackupJob(stem, name, startTime);
        CDatabaseJob job;
        job.OpenDatabaseJob(file);
        m_schedule->AddItemListView(job.JobName(), job.DateLastRun(), job.DateNextRun(),
                                    job.StartTime(), job.JobType(), file);
        return file;
    }
    static DateTime lastRunInFile(const std::string& file)
    {
        CDatabaseJob job;
        job.OpenDatabaseJob(file);
        return job.DateLastRun();
    }
    QString cell(int row, int column) const
    {
        return m_schedule->lvwSchedule()->topLevelItem(row - 1)->text(column);
    }
    bool copied(const std::string& stem) const
    {
        return std::filesystem::exists(backupTarget() / (stem + ".mdb"));
    }
    void tick() { m_main->tmrCheckForDatabaseJob_Timer(); }

    std::unique_ptr<frmSchedule> m_schedule;
    std::unique_ptr<frmMain> m_main;
};

TEST(FrmMainLoadTest, TimerTicksEveryFiveSecondsOnceLoaded)
{
    frmSchedule schedule;
    frmMain main(schedule);
    QTimer* timer = main.tmrCheckForDatabaseJob();
    EXPECT_EQ(timer->objectName(), "tmrCheckForDatabaseJob");
    EXPECT_EQ(timer->interval(), 5000);
    EXPECT_FALSE(timer->isActive());
    main.Form_Load(true);
    EXPECT_TRUE(timer->isActive());
    EXPECT_FALSE(schedule.isVisible());
    EXPECT_EQ(main.windowTitle(), "Quorvex");
}

TEST(FrmMainLoadTest, LoadWithoutSilentShowsTheScheduleWindow)
{
    frmSchedule schedule;
    frmMain main(schedule);
    main.Form_Load(false);
    EXPECT_TRUE(schedule.isVisible());
}

TEST_F(DueJobCheckTest, JobIsDueOnlyAfterItsStartMinuteHasBegun)
{
    addJob("Orders", "Orders Backup", DateTime::fromTime(10, 30));
    m_clock.set(2026, 12, 5, 10, 30, 0);
    tick();
    EXPECT_EQ(runsLogged("Orders Backup"), 0) << "equal to the due moment is not later than it";
    EXPECT_FALSE(copied("Orders"));

    m_clock.set(2026, 12, 5, 10, 30, 1);
    tick();
    EXPECT_EQ(runsLogged("Orders Backup"), 1);
    EXPECT_TRUE(copied("Orders"));
}

TEST_F(DueJobCheckTest, LastRunIsSavedAndRowMovedOnBeforeTheJobRuns)
{
    const std::string file = addJob("Orders", "Orders Backup", DateTime::fromTime(10, 30));
    DateTime lastRunSeenDuringRun;
    QString nextRunSeenDuringRun;
    m_desktop.onDoEvents([&] {
        if (nextRunSeenDuringRun.isEmpty()) {
            lastRunSeenDuringRun = lastRunInFile(file);
            nextRunSeenDuringRun = cell(1, frmSchedule::kColNextRun);
        }
    });
    m_clock.set(2026, 12, 5, 10, 31, 0);
    tick();

    EXPECT_EQ(lastRunSeenDuringRun, at(2026, 12, 5));
    EXPECT_EQ(nextRunSeenDuringRun, "Dec-06-2026");
    EXPECT_EQ(cell(1, frmSchedule::kColLastRun), "Dec-05-2026");
    EXPECT_EQ(m_schedule->rowDateLastRun(1), at(2026, 12, 5));
    EXPECT_EQ(m_schedule->rowDateNextRun(1), at(2026, 12, 6));
    EXPECT_EQ(runsLogged("Orders Backup"), 1);
}

TEST_F(DueJobCheckTest, DueJobRunsOnceAndNotAgainAtLaterTicks)
{
    addJob("Orders", "Orders Backup", DateTime::fromTime(10, 30));
    m_clock.set(2026, 12, 5, 10, 31, 0);
    tick();
    for (int i = 0; i < 3; ++i) {
        m_clock.advanceSeconds(5);
        tick();
    }
    m_clock.set(2026, 12, 6, 10, 30, 0);
    tick();
    EXPECT_EQ(runsLogged("Orders Backup"), 1);

    m_clock.set(2026, 12, 6, 10, 30, 5);
    tick();
    EXPECT_EQ(runsLogged("Orders Backup"), 2) << "the following occurrence runs again";
}

TEST_F(DueJobCheckTest, MissedOccurrencesGiveOneLateRun)
{
    addJob("Orders", "Orders Backup", DateTime::fromTime(10, 30));
    m_clock.set(2026, 12, 8, 9, 0, 0); // three days later, agent kept running
    tick();
    tick();
    EXPECT_EQ(runsLogged("Orders Backup"), 1);
    EXPECT_EQ(cell(1, frmSchedule::kColNextRun), "Dec-08-2026");
}

TEST_F(DueJobCheckTest, TwoDueJobsRunInListOrderAndOnlyTheLastStaysSelected)
{
    addJob("Alpha", "Alpha", DateTime::fromTime(10, 10));
    addJob("Later", "Later", DateTime::fromTime(11, 0));
    addJob("Beta", "Beta", DateTime::fromTime(10, 20));
    m_clock.set(2026, 12, 5, 10, 45, 0);
    tick();

    const std::string log = readFile(dir() / "quorvex.log");
    const auto alpha = log.find("-- Alpha ");
    const auto beta = log.find("-- Beta ");
    ASSERT_NE(alpha, std::string::npos);
    ASSERT_NE(beta, std::string::npos);
    EXPECT_LT(alpha, beta);
    EXPECT_EQ(runsLogged("Later"), 0);
    EXPECT_FALSE(m_schedule->isRowSelected(1));
    EXPECT_FALSE(m_schedule->isRowSelected(2));
    EXPECT_TRUE(m_schedule->isRowSelected(3));
}

TEST_F(DueJobCheckTest, PassWithoutDueJobLeavesNoRowSelected)
{
    addJob("Orders", "Orders Backup", DateTime::fromTime(11, 0));
    m_schedule->selectOnlyRow(1);
    tick();
    EXPECT_FALSE(m_schedule->isRowSelected(1));
}

TEST_F(DueJobCheckTest, NothingRunsWhileTheScheduleWindowIsVisible)
{
    addJob("Orders", "Orders Backup", DateTime::fromTime(10, 30));
    m_schedule->show();
    m_clock.set(2026, 12, 5, 10, 31, 0);
    tick();
    EXPECT_EQ(runsLogged("Orders Backup"), 0);
    EXPECT_EQ(cell(1, frmSchedule::kColLastRun), "Nov-01-2026");

    m_schedule->hide();
    m_clock.set(2026, 12, 5, 10, 45, 0);
    tick();
    EXPECT_EQ(runsLogged("Orders Backup"), 1) << "one late run once the window is hidden";
}

TEST_F(DueJobCheckTest, TickDuringARunningPassDoesNothing)
{
    addJob("Orders", "Orders Backup", DateTime::fromTime(10, 30));
    bool busySeen = false;
    m_desktop.onDoEvents([&] {
        busySeen = busySeen || m_main->checkInProgress();
        tick();
    });
    m_clock.set(2026, 12, 5, 10, 31, 0);
    tick();
    EXPECT_TRUE(busySeen);
    EXPECT_FALSE(m_main->checkInProgress());
    EXPECT_EQ(runsLogged("Orders Backup"), 1);
}

TEST_F(DueJobCheckTest, ScheduleWindowOpenedDuringARunIsHiddenAfterIt)
{
    addJob("Orders", "Orders Backup", DateTime::fromTime(10, 30));
    m_desktop.onDoEvents([&] { m_schedule->show(); });
    m_clock.set(2026, 12, 5, 10, 31, 0);
    tick();
    EXPECT_EQ(runsLogged("Orders Backup"), 1);
    EXPECT_FALSE(m_schedule->isVisible());
}

TEST_F(DueJobCheckTest, ExitDuringARunStartsNoFurtherJobOfThePass)
{
    addJob("Alpha", "Alpha", DateTime::fromTime(10, 10));
    addJob("Beta", "Beta", DateTime::fromTime(10, 20));
    m_desktop.onDoEvents([&] { m_main->tmrCheckForDatabaseJob()->stop(); });
    m_clock.set(2026, 12, 5, 10, 45, 0);
    tick();
    EXPECT_EQ(runsLogged("Alpha"), 1);
    EXPECT_EQ(runsLogged("Beta"), 0);
}

TEST_F(DueJobCheckTest, RowRemovedDuringAPassIsNotRead)
{
    addJob("Alpha", "Alpha", DateTime::fromTime(10, 10));
    addJob("Beta", "Beta", DateTime::fromTime(10, 20));
    m_desktop.onDoEvents([&] {
        if (m_schedule->rowCount() == 2)
            m_schedule->DeleteItemListView(2);
    });
    m_clock.set(2026, 12, 5, 10, 45, 0);
    tick();
    EXPECT_EQ(runsLogged("Alpha"), 1);
    EXPECT_EQ(runsLogged("Beta"), 0);
}

TEST_F(DueJobCheckTest, EmptyListIsLeftAlone)
{
    tick();
    EXPECT_FALSE(m_main->checkInProgress());
    EXPECT_FALSE(std::filesystem::exists(dir() / "quorvex.log"));
}

TEST_F(DueJobCheckTest, DueMomentIgnoresSecondsOfTheStartTime)
{
    EXPECT_EQ(frmMain::dueMoment(at(2026, 12, 5), DateTime::fromTime(10, 30, 45)),
              at(2026, 12, 5, 10, 30));
}

// The tray's notifications, as frmMain decodes them.
class TrayNotificationTest : public DueJobCheckTest {};

TEST_F(TrayNotificationTest, LeftPressAndRightReleaseAskForTheMenu)
{
    int menus = 0;
    QObject::connect(m_main.get(), &frmMain::popupMenuRequested, [&] { ++menus; });
    for (int code : {SysTrayApp::kLeftButtonDown, SysTrayApp::kRightButtonUp,
                     SysTrayApp::kLeftButtonDoubleClick, SysTrayApp::kMouseMove,
                     SysTrayApp::kMiddleButtonDown})
        m_main->Form_MouseMove(code);
    EXPECT_EQ(menus, 2);
    EXPECT_EQ(m_main->lastNotification(), SysTrayApp::kMiddleButtonDown);
}

TEST_F(TrayNotificationTest, ClickWhileTheMenuIsOpenOpensNoSecondMenu)
{
    int menus = 0;
    QObject::connect(m_main.get(), &frmMain::popupMenuRequested, [&] {
        ++menus;
        m_main->Form_MouseMove(SysTrayApp::kRightButtonUp);
    });
    m_main->Form_MouseMove(SysTrayApp::kLeftButtonDown);
    EXPECT_EQ(menus, 1);
    EXPECT_EQ(m_main->lastNotification(), SysTrayApp::kRightButtonUp);
    m_main->Form_MouseMove(SysTrayApp::kRightButtonUp);
    EXPECT_EQ(menus, 2) << "the busy flag is cleared once the menu has closed";
}

} // namespace
} // namespace quorvex::test
