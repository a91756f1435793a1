#include "schedule_fixture.hpp"

#include "support/error_handler.hpp"
#include "ui/twips.hpp"

#include <QAction>
#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>

namespace quorvex::test {
namespace {

using ScheduleWindowTest = ScheduleTest;

CDatabaseJob jobNamed(const std::string& name, int16_t type, DateTime startTime)
{
    CDatabaseJob job;
    job.setJobName(name);
    job.setJobType(type);
    job.setFrequency(frequency::Daily);
    job.setStartTime(startTime);
    job.setDateLastRun(at(2026, 11, 30));
    return job;
}

void showActive(QWidget& window)
{
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
}

TEST_F(ScheduleWindowTest, RowsCarryTheJobTextsAndHiddenColumns)
{
    m_window->AddItemListView("Nightly Backup", at(2026, 12, 4), at(2026, 12, 5),
                              DateTime::fromTime(23, 30), job_type::Backup, "/jobs/Nightly.tsk");
    m_window->setStatusBarCount(1);

    ASSERT_EQ(list().topLevelItemCount(), 1);
    EXPECT_EQ(cell(1, 0), "Nightly Backup");
    EXPECT_EQ(cell(1, 1), "Dec-04-2026");
    EXPECT_EQ(cell(1, 2), "Dec-05-2026");
    EXPECT_EQ(cell(1, 3), "23:30");
    EXPECT_EQ(cell(1, 4), "3");
    EXPECT_EQ(cell(1, 5), "/jobs/Nightly.tsk");
    EXPECT_TRUE(list().isColumnHidden(4));
    EXPECT_TRUE(list().isColumnHidden(5));
    EXPECT_FALSE(list().topLevelItem(0)->icon(0).isNull());
    EXPECT_EQ(countText(), "1 Database Jobs");

    // The dates stay beside the texts for the due-job check.
    EXPECT_EQ(m_window->rowDateLastRun(1), at(2026, 12, 4));
    EXPECT_EQ(m_window->rowDateNextRun(1), at(2026, 12, 5));
    EXPECT_EQ(m_window->rowStartTime(1), DateTime::fromTime(23, 30));
    EXPECT_EQ(m_window->rowJobFile(1), "/jobs/Nightly.tsk");

    m_window->setRowRuns(1, at(2026, 12, 5), at(2026, 12, 6));
    EXPECT_EQ(cell(1, 1), "Dec-05-2026");
    EXPECT_EQ(cell(1, 2), "Dec-06-2026");
    EXPECT_EQ(m_window->rowDateNextRun(1), at(2026, 12, 6));
}

TEST_F(ScheduleWindowTest, SameNameOfTwoJobTypesAndTwinFilesAreAllListed)
{
    addRow(jobNamed("Nightly", job_type::Backup, {}), "/jobs/a.tsk");
    addRow(jobNamed("Nightly", job_type::RepairCompact, {}), "/jobs/b.tsk");
    addRow(jobNamed("Nightly", job_type::Backup, {}), "/jobs/c.tsk");
    EXPECT_EQ(list().topLevelItemCount(), 3);

    m_window->DeleteItemListView(2);
    EXPECT_EQ(m_window->rowJobFile(1), "/jobs/a.tsk");
    EXPECT_EQ(m_window->rowJobFile(2), "/jobs/c.tsk");
}

TEST_F(ScheduleWindowTest, RemovingARowThatIsNotThereIsFatal)
{
    addRow(jobNamed("Nightly", job_type::Backup, {}), "/jobs/n.tsk");
    EXPECT_THROW(m_window->DeleteItemListView(2), FatalExitCalled);
    EXPECT_EQ(list().topLevelItemCount(), 1);
    const std::string errors = readFile(errorLogPath());
    EXPECT_NE(errors.find("frmSchedule.frm"), std::string::npos);
    EXPECT_NE(errors.find("DeleteItemListView()"), std::string::npos);
}

TEST_F(ScheduleWindowTest, ControlsBearTheirNamesCaptionsAndTips)
{
    EXPECT_EQ(m_window->objectName(), "frmSchedule");
    EXPECT_EQ(m_window->windowTitle(), "Scheduled Database Jobs");
    const std::vector<std::array<const char*, 3>> buttons = {
        {"cmdAddJob", "&New", "New Backup Job"},
        {"cmdDelJob", "&Remove", "Remove Backup Job"},
        {"cmdEditJob", "&Open", "Open Backup Job"},
        {"cmdCopyJob", "&Copy", "Copy Backup Job"},
        {"cmdBackup", "&Execute", "Execute Backup Job Now"},
    };
    QWidget* previous = nullptr;
    for (const auto& [name, caption, tip] : buttons) {
        auto* button = m_window->findChild<QPushButton*>(name);
        ASSERT_NE(button, nullptr) << name;
        EXPECT_EQ(button->text(), caption);
        EXPECT_EQ(button->toolTip(), tip);
        if (previous != nullptr) {
            EXPECT_EQ(previous->nextInFocusChain(), button) << name;
            EXPECT_LT(previous->x(), button->x());
        }
        previous = button;
    }
    for (const char* name :
         {"mnuFilePreferences", "SlashFile1", "mnuFileClose", "mnuActionAdd", "mnuActionDelete",
          "mnuActionEdit", "mnuActionCopy", "SlashAction1", "mnuActionRun", "SlashAction2",
          "mnuActionViewTransactionLog", "mnuActionViewErrorLog", "mnuHelpContents", "SlashHelp1",
          "mnuHelpLicense", "SlashHelp2", "mnuHelpHomepage", "mnuHelpAbout"})
        EXPECT_NE(m_window->findChild<QAction*>(name), nullptr) << name;
    EXPECT_EQ(m_window->findChild<QAction*>("mnuActionRun")->text(), "Execute &Database Job Now");
    EXPECT_TRUE(m_window->findChild<QAction*>("SlashAction2")->isSeparator());
    EXPECT_NE(m_window->findChild<QStatusBar*>("sbarSchedule"), nullptr);
    EXPECT_EQ(countText(), "X Database Jobs");
}

TEST_F(ScheduleWindowTest, LightsShowOneImageAtEachPlace)
{
    showActive(*m_window);
    auto light = [this](int i) {
        return m_window->findChild<QLabel*>(QStringLiteral("imgLight(%1)").arg(i));
    };
    for (int i = 0; i < 4; ++i)
        ASSERT_NE(light(i), nullptr) << i;
    EXPECT_EQ(light(0)->geometry(), light(1)->geometry());
    EXPECT_EQ(light(2)->geometry(), light(3)->geometry());
    EXPECT_LT(light(0)->x(), light(2)->x());
    // Idle until a job runs.
    EXPECT_TRUE(light(0)->isVisible());
    EXPECT_FALSE(light(1)->isVisible());
    EXPECT_FALSE(light(2)->isVisible());
    EXPECT_TRUE(light(3)->isVisible());

    m_window->setLightVisible(0, false);
    m_window->setLightVisible(1, true);
    EXPECT_TRUE(light(1)->isVisible());
    EXPECT_FALSE(light(0)->isVisible());
}

TEST_F(ScheduleWindowTest, MessageTextGoesToTheMiddlePanel)
{
    m_window->setMessageText("Executing Nightly...");
    EXPECT_EQ(m_window->MessageText(), "Executing Nightly...");
    EXPECT_EQ(m_window->findChild<QLabel*>("StatusBar")->text(), "Executing Nightly...");
    m_window->setMessageText("");
    EXPECT_EQ(m_window->findChild<QLabel*>("StatusBar")->text(), "");
}

TEST_F(ScheduleWindowTest, FirstActivationCountsSelectsTheFirstRowAndSortsByName)
{
    addRow(jobNamed("Weekly", job_type::Backup, {}), "/jobs/w.tsk");
    addRow(jobNamed("daily", job_type::AutoExecute, {}), "/jobs/d.tsk");
    addRow(jobNamed("Monthly", job_type::RepairCompact, {}), "/jobs/m.tsk");
    showActive(*m_window);

    EXPECT_EQ(countText(), "3 Database Jobs");
    EXPECT_EQ(names(), (std::vector<std::string>{"daily", "Monthly", "Weekly"}));
    // The first row was selected before the list was sorted.
    ASSERT_EQ(list().selectedItems().size(), 1);
    EXPECT_EQ(list().selectedItems().front()->text(0), "Weekly");
    // Rows added later take their sorted place.
    addRow(jobNamed("Annual", job_type::Backup, {}), "/jobs/a.tsk");
    EXPECT_EQ(names().front(), "Annual");
}

TEST_F(ScheduleWindowTest, FirstActivationOfAnEmptyListSelectsNothing)
{
    showActive(*m_window);
    EXPECT_EQ(countText(), "0 Database Jobs");
    EXPECT_TRUE(list().selectedItems().isEmpty());
}

TEST_F(ScheduleWindowTest, HeaderClicksToggleTheOrderAndCompareTexts)
{
    addRow(jobNamed("A", job_type::Backup, DateTime::fromTime(8, 0)), "/jobs/a.tsk");
    addRow(jobNamed("B", job_type::Backup, DateTime::fromTime(23, 0)), "/jobs/b.tsk");
    addRow(jobNamed("C", job_type::Backup, DateTime::fromTime(12, 0)), "/jobs/c.tsk");
    // Next runs Dec, Jan and Feb: as texts, Feb sorts before Jan.
    m_window->setRowRuns(1, {}, at(2026, 12, 7));
    m_window->setRowRuns(2, {}, at(2027, 1, 2));
    m_window->setRowRuns(3, {}, at(2027, 2, 10));
    showActive(*m_window);
    QHeaderView* header = list().header();
    auto clickHeader = [&](int column) {
        const QPoint centre(header->sectionViewportPosition(column) + 5, header->height() / 2);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, centre);
    };

    clickHeader(2);
    EXPECT_EQ(names(), (std::vector<std::string>{"B", "C", "A"}));
    clickHeader(2);
    EXPECT_EQ(names(), (std::vector<std::string>{"A", "C", "B"}));
    clickHeader(3);
    EXPECT_EQ(names(), (std::vector<std::string>{"B", "C", "A"}));
}

TEST_F(ScheduleWindowTest, WindowKeepsItsMinimumSize)
{
    m_window->show();
    m_window->resize(twipsX(*m_window, 5000), twipsY(*m_window, 3000));
    EXPECT_EQ(m_window->width(), twipsX(*m_window, 6000));
    EXPECT_EQ(m_window->height(), twipsY(*m_window, 4000));

    // The list follows the window.
    const int before = list().width();
    m_window->resize(m_window->width() + 100, m_window->height() + 50);
    EXPECT_EQ(list().width(), before + 100);
    EXPECT_EQ(list().y(), twipsY(*m_window, 1020));
}

TEST_F(ScheduleWindowTest, ClosingOnlyHidesUntilKillFormIsSet)
{
    addRow(jobNamed("Nightly", job_type::Backup, {}), "/jobs/n.tsk");
    m_window->show();
    EXPECT_FALSE(m_window->close());
    EXPECT_FALSE(m_window->isVisible());
    m_window->show();
    EXPECT_EQ(list().topLevelItemCount(), 1);

    m_window->findChild<QAction*>("mnuFileClose")->trigger();
    EXPECT_FALSE(m_window->isVisible());

    m_window->show();
    m_window->setKillForm(true);
    EXPECT_TRUE(m_window->close());
}

TEST_F(ScheduleWindowTest, F1AndTheHelpMenuReachTheHelpHandler)
{
    std::vector<HelpItem> asked;
    m_window->setHelpHandler([&](HelpItem item) { asked.push_back(item); });
    showActive(*m_window);
    QTest::keyRelease(&list(), Qt::Key_F1);
    m_window->findChild<QAction*>("mnuHelpAbout")->trigger();
    EXPECT_EQ(asked, (std::vector<HelpItem>{HelpItem::Contents, HelpItem::About}));
}

TEST_F(ScheduleWindowTest, DoubleClickOpensTheSelectedJob)
{
    addRow(jobNamed("Nightly", job_type::Backup, {}), "/jobs/n.tsk");
    showActive(*m_window);
    const QRect rowRect = list().visualItemRect(list().topLevelItem(0));
    QTest::mouseDClick(list().viewport(), Qt::LeftButton, {}, rowRect.center());
    EXPECT_EQ(m_wizardShown, 1);
    EXPECT_FALSE(m_wizardAddJob);
    EXPECT_TRUE(m_desktop.boxes().empty());
}

} // namespace
} // namespace quorvex::test
