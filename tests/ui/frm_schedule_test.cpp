#include "schedule_fixture.hpp"

#include "support/error_handler.hpp"

#include <QAction>
#include <QHeaderView>
#include <QTest>

namespace quorvex::test {
namespace {

using ScheduleWindowTest = ScheduleTest;

void showActive(QWidget& window)
{
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
}

// A row with no job file behind it.
void addRow(frmSchedule& window, const std::string& name, const std::string& file,
            int16_t type = job_type::Backup, DateTime nextRun = {}, DateTime startTime = {})
{
    window.AddItemListView(name, at(2026, 11, 30), nextRun, startTime, type, file);
}

TEST_F(ScheduleWindowTest, RowsOfOneNameStayApartAndRemovingAMissingRowIsFatal)
{
    addRow(*m_window, "Nightly", "/jobs/a.tsk");
    addRow(*m_window, "Nightly", "/jobs/b.tsk", job_type::RepairCompact);
    addRow(*m_window, "Nightly", "/jobs/c.tsk");
    m_window->DeleteItemListView(2);
    EXPECT_EQ(m_window->rowJobFile(1), "/jobs/a.tsk");
    EXPECT_EQ(m_window->rowJobFile(2), "/jobs/c.tsk");

    EXPECT_THROW(m_window->DeleteItemListView(3), FatalExitCalled);
    EXPECT_EQ(list().topLevelItemCount(), 2);
    const std::string errors = readFile(errorLogPath());
    EXPECT_NE(errors.find("frmSchedule.frm"), std::string::npos);
    EXPECT_NE(errors.find("DeleteItemListView()"), std::string::npos);
}

TEST_F(ScheduleWindowTest, ControlsFirstActivationOfAnEmptyListHelpAndClose)
{
    EXPECT_EQ(m_window->objectName(), "frmSchedule");
    EXPECT_EQ(m_window->windowTitle(), "Scheduled Database Jobs");
    EXPECT_EQ(countText(), "X Database Jobs");
    const char* const buttons[] = {"cmdAddJob", "cmdDelJob", "cmdEditJob", "cmdCopyJob",
                                   "cmdBackup"};
    for (const char* name :
         {"cmdAddJob", "cmdDelJob", "cmdEditJob", "cmdCopyJob", "cmdBackup",
          "mnuFilePreferences", "SlashFile1", "mnuFileClose", "mnuActionAdd", "mnuActionDelete",
          "mnuActionEdit", "mnuActionCopy", "SlashAction1", "mnuActionRun", "SlashAction2",
          "mnuActionViewTransactionLog", "mnuActionViewErrorLog", "mnuHelpContents", "SlashHelp1",
          "mnuHelpLicense", "SlashHelp2", "mnuHelpHomepage", "mnuHelpAbout", "sbarSchedule",
          "StatusBar", "imgLight(0)", "imgLight(1)", "imgLight(2)", "imgLight(3)"})
        ASSERT_NE(m_window->findChild<QObject*>(name), nullptr) << name;
    for (int i = 1; i < 5; ++i)
        EXPECT_EQ(m_window->findChild<QWidget*>(buttons[i - 1])->nextInFocusChain(),
                  m_window->findChild<QWidget*>(buttons[i]))
            << buttons[i];

    std::vector<HelpItem> asked;
    m_window->setHelpHandler([&](HelpItem item) { asked.push_back(item); });
    showActive(*m_window);
    EXPECT_EQ(countText(), "0 Database Jobs");
    EXPECT_TRUE(list().selectedItems().isEmpty());
    QTest::keyRelease(&list(), Qt::Key_F1);
    m_window->findChild<QAction*>("mnuHelpAbout")->trigger();
    EXPECT_EQ(asked, (std::vector<HelpItem>{HelpItem::Contents, HelpItem::About}));

    // Closing, by the frame or by File > Close, only hides until the agent ends.
    EXPECT_FALSE(m_window->close());
    EXPECT_FALSE(m_window->isVisible());
    m_window->show();
    m_window->findChild<QAction*>("mnuFileClose")->trigger();
    EXPECT_FALSE(m_window->isVisible());
    m_window->show();
    m_window->setKillForm(true);
    EXPECT_TRUE(m_window->close());
}

TEST_F(ScheduleWindowTest, FirstActivationSortsByNameHeaderClicksToggleDoubleClickOpens)
{
    // Next runs in December, February and January: as texts, Feb sorts before Jan.
    addRow(*m_window, "Weekly", "/w.tsk", job_type::Backup, at(2026, 12, 7), DateTime::fromTime(12, 0));
    addRow(*m_window, "daily", "/d.tsk", job_type::AutoExecute, at(2027, 2, 10), DateTime::fromTime(8, 0));
    addRow(*m_window, "Monthly", "/m.tsk", job_type::RepairCompact, at(2027, 1, 2), DateTime::fromTime(23, 0));
    showActive(*m_window);
    EXPECT_EQ(countText(), "3 Database Jobs");
    EXPECT_EQ(names(), (std::vector<std::string>{"daily", "Monthly", "Weekly"}));
    // The first row was selected before the list was sorted.
    ASSERT_EQ(list().selectedItems().size(), 1);
    EXPECT_EQ(list().selectedItems().front()->text(0), "Weekly");

    QHeaderView* header = list().header();
    for (const auto& [column, order] : std::vector<std::pair<int, std::vector<std::string>>>{
             {frmSchedule::kColNextRun, {"Monthly", "daily", "Weekly"}},
             {frmSchedule::kColNextRun, {"Weekly", "daily", "Monthly"}},
             {frmSchedule::kColStartTime, {"Monthly", "Weekly", "daily"}}}) {
        const QPoint point(header->sectionViewportPosition(column) + 5, header->height() / 2);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, point);
        EXPECT_EQ(names(), order) << column;
    }

    const QRect rowRect = list().visualItemRect(list().topLevelItem(0));
    QTest::mouseDClick(list().viewport(), Qt::LeftButton, {}, rowRect.center());
    EXPECT_EQ(m_wizardShown, 1);
    EXPECT_FALSE(m_wizardAddJob);
    EXPECT_TRUE(m_desktop.boxes().empty());
}

} // namespace
} // namespace quorvex::test
