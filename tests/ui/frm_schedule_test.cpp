#include "fakes/job_files_test.hpp"
#include "support/error_handler.hpp"

#include <QAction>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include <cstdlib>

namespace quorvex::test {
namespace {

// A schedule window in a fresh application directory, with job files made on demand; the
// job wizard only notes how it was asked (true: New, false: Open).
class ScheduleTest : public JobFilesTest {
protected:
    ScheduleTest()
    {
        m_window.setJobWizard([this](frmSchedule& owner, bool addJob) {
            EXPECT_EQ(&owner, &m_window);
            m_wizard.push_back(addJob);
        });
    }

    // A daily backup job of a database of its own, saved to its file and listed.
    std::string addBackupJob(const std::string& name, bool sourceExists = true)
    {
        return listBackupJob(m_window, name, DateTime::fromTime(23, 30), at(2026, 12, 1),
                             sourceExists);
    }
    // A row with no job file behind it.
    void addRow(const std::string& name, const std::string& file, int16_t type = job_type::Backup,
                DateTime nextRun = {}, DateTime startTime = {})
    {
        m_window.AddItemListView(name, at(2026, 11, 30), nextRun, startTime, type, file);
    }
    QTreeWidget& list() { return *m_window.lvwSchedule(); }
    // The texts of a column, of every row or of the selected ones, top to bottom.
    QStringList texts(int column = frmSchedule::kColName, bool selectedOnly = false)
    {
        QStringList result;
        for (int i = 0; i < list().topLevelItemCount(); ++i)
            if (!selectedOnly || list().topLevelItem(i)->isSelected())
                result << list().topLevelItem(i)->text(column);
        return result;
    }
    QString countText() const { return m_window.findChild<QLabel*>("NbrDatabaseJobs")->text(); }
    void selectRows(std::initializer_list<int> rows)
    {
        list().clearSelection();
        for (int row : rows)
            list().setCurrentItem(list().topLevelItem(row - 1), 0, QItemSelectionModel::Select);
    }

    frmSchedule m_window;
    std::vector<bool> m_wizard;
};

TEST_F(ScheduleTest, RowsOfOneNameStayApartAndRemovingAMissingRowIsFatal)
{
    addRow("Nightly", "/jobs/a.tsk");
    addRow("Nightly", "/jobs/b.tsk", job_type::RepairCompact);
    addRow("Nightly", "/jobs/c.tsk");
    m_window.DeleteItemListView(2);
    EXPECT_THROW(m_window.DeleteItemListView(3), FatalExitCalled);
    EXPECT_EQ(texts(frmSchedule::kColJobFile), (QStringList{"/jobs/a.tsk", "/jobs/c.tsk"}));
    EXPECT_NE(
        readFile(errorLogPath()).find("Module/Function: frmSchedule.frm/DeleteItemListView()."),
        std::string::npos);
}

TEST_F(ScheduleTest, ControlsFirstActivationOfAnEmptyListHelpAndClose)
{
    EXPECT_EQ(m_window.objectName(), "frmSchedule");
    EXPECT_EQ(m_window.windowTitle(), "Scheduled Database Jobs");
    EXPECT_EQ(countText(), "X Database Jobs");
    // The buttons come first, in focus order.
    const QStringList controls =
        QString("cmdAddJob cmdDelJob cmdEditJob cmdCopyJob cmdBackup mnuFilePreferences "
                "SlashFile1 mnuFileClose mnuActionAdd mnuActionDelete mnuActionEdit "
                "mnuActionCopy SlashAction1 mnuActionRun SlashAction2 mnuActionViewTransactionLog "
                "mnuActionViewErrorLog mnuHelpContents SlashHelp1 mnuHelpLicense SlashHelp2 "
                "mnuHelpHomepage mnuHelpAbout sbarSchedule StatusBar imgLight(0) imgLight(1) "
                "imgLight(2) imgLight(3)")
            .split(' ');
    for (const QString& name : controls)
        ASSERT_NE(m_window.findChild<QObject*>(name), nullptr) << name.toStdString();
    for (int i = 1; i < 5; ++i)
        EXPECT_EQ(m_window.findChild<QWidget*>(controls[i - 1])->nextInFocusChain(),
                  m_window.findChild<QWidget*>(controls[i]))
            << controls[i].toStdString();

    std::vector<HelpItem> asked;
    m_window.setHelpHandler([&](HelpItem item) { asked.push_back(item); });
    m_window.show();
    m_window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&m_window));
    EXPECT_EQ(countText(), "0 Database Jobs");
    EXPECT_TRUE(list().selectedItems().isEmpty());
    QTest::keyRelease(&list(), Qt::Key_F1);
    m_window.findChild<QAction*>("mnuHelpAbout")->trigger();
    EXPECT_EQ(asked, (std::vector<HelpItem>{HelpItem::Contents, HelpItem::About}));

    // Closing, by the frame or by File > Close, only hides until the agent ends.
    EXPECT_FALSE(m_window.close());
    EXPECT_FALSE(m_window.isVisible());
    m_window.show();
    m_window.findChild<QAction*>("mnuFileClose")->trigger();
    EXPECT_FALSE(m_window.isVisible());
    m_window.show();
    m_window.setKillForm(true);
    EXPECT_TRUE(m_window.close());
}

TEST_F(ScheduleTest, FirstActivationSortsByNameHeaderClicksToggleDoubleClickOpens)
{
    // Next runs in December, February and January: as texts, Feb sorts before Jan.
    addRow("Weekly", "/w.tsk", job_type::Backup, at(2026, 12, 7), DateTime::fromTime(12, 0));
    addRow("daily", "/d.tsk", job_type::AutoExecute, at(2027, 2, 10), DateTime::fromTime(8, 0));
    addRow("Monthly", "/m.tsk", job_type::RepairCompact, at(2027, 1, 2), DateTime::fromTime(23, 0));
    m_window.show();
    m_window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&m_window));
    EXPECT_EQ(texts(), (QStringList{"daily", "Monthly", "Weekly"}));
    EXPECT_EQ(texts(frmSchedule::kColName, true), QStringList{"Weekly"}) << "selected unsorted";

    QHeaderView* header = list().header();
    for (const auto& [column, order] : std::vector<std::pair<int, QStringList>>{
             {frmSchedule::kColNextRun, {"Monthly", "daily", "Weekly"}},
             {frmSchedule::kColNextRun, {"Weekly", "daily", "Monthly"}},
             {frmSchedule::kColStartTime, {"Monthly", "Weekly", "daily"}}}) {
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          {header->sectionViewportPosition(column) + 5, header->height() / 2});
        EXPECT_EQ(texts(), order) << column;
    }

    QTest::mouseDClick(list().viewport(), Qt::LeftButton, {},
                       list().visualItemRect(list().topLevelItem(0)).center());
    EXPECT_EQ(m_wizard, std::vector<bool>{false});
    EXPECT_TRUE(boxes().empty());
}

TEST_F(ScheduleTest, CommandsAskForAJobThenForASelectionAndNewRecounts)
{
    // Open, Copy, Remove and Execute need a selected job.
    const auto runSelectionCommands = [this] {
        m_window.cmdEditJob_Click();
        m_window.cmdCopyJob_Click();
        m_window.cmdDelJob_Click();
        m_window.cmdBackup_Click();
    };
    runSelectionCommands();
    m_window.setJobWizard([this](frmSchedule&, bool addJob) {
        m_wizard.push_back(addJob);
        addBackupJob("Fresh");
    });
    m_window.findChild<QAction*>("mnuActionAdd")->trigger();
    EXPECT_EQ(m_wizard, std::vector<bool>{true});
    EXPECT_EQ(countText(), "1 Database Jobs");

    addBackupJob("Weekly");
    list().setCurrentItem(list().topLevelItem(1));
    list().clearSelection();
    runSelectionCommands();
    const std::string select = "select a Database Job before clicking this button.";
    const Box noJob{"You must first add and then " + select, mb::Information, "Verification Error"};
    const Box noSelection{"You must first " + select, mb::Information, "Verification Error"};
    EXPECT_EQ(boxes(), (std::vector<Box>{noJob, noJob, noJob, noJob, noSelection, noSelection,
                                         noSelection, noSelection}));
    EXPECT_EQ(texts(), (QStringList{"Fresh", "Weekly"}));
    EXPECT_EQ(runsLogged(), Names{});
}

TEST_F(ScheduleTest, CopyMakesTheCopyofFileSelectsItAndOpensTheWizardOnce)
{
    const std::string original = readFile(addBackupJob("Nightly Backup"));
    addBackupJob("Other");
    selectRows({1});
    m_window.cmdCopyJob_Click();

    // The copy is the job under another name.
    const auto copyFile = jobsDir() / "CopyofNightly Backup.tsk";
    std::string expected = original;
    expected.insert(expected.find("=Nightly Backup\r") + 1, "Copy of ");
    EXPECT_EQ(readFile(copyFile), expected);
    EXPECT_EQ(countText(), "3 Database Jobs");
    EXPECT_EQ(texts(frmSchedule::kColJobFile, true),
              QStringList{QString::fromStdString(copyFile.string())});
    EXPECT_EQ(m_wizard, std::vector<bool>{false});

    // A second copy of the same job waits until the first copy is renamed.
    selectRows({1});
    m_window.cmdCopyJob_Click();
    EXPECT_EQ(boxes(), (std::vector<Box>{{"You cannot make another copy of this Database Job "
                                          "until\r\nyou rename the existing copy.",
                                          mb::OkOnly, "Verification Error"}}));
    EXPECT_EQ(list().topLevelItemCount(), 3);
    EXPECT_EQ(m_wizard.size(), 1u);
}

TEST_F(ScheduleTest, RemoveAsksThenDeletesTheSelectedJobsAndOnlyTheirFiles)
{
    std::vector<std::string> files;
    // As a pattern, "a?" would match "ab" too.
    for (const char* name : {"ab", "a?", "Three", "Four"})
        files.push_back(addBackupJob(name));
    for (int answer : {mb::No, mb::Cancel, mb::Yes}) {
        EXPECT_TRUE(std::filesystem::exists(files[1])) << answer;
        selectRows({2, 4});
        m_desktop.answerNext(answer);
        m_window.findChild<QPushButton*>("cmdDelJob")->click();
    }
    const Box confirm{"Are you sure you want to delete this Database Job?", mb::YesNoCancel,
                      "Remove Confirmation"};
    EXPECT_EQ(boxes(), (std::vector<Box>{confirm, confirm, confirm}));
    EXPECT_EQ(texts(), (QStringList{"ab", "Three"}));
    EXPECT_EQ(countText(), "2 Database Jobs");
    for (std::size_t i = 0; i < files.size(); ++i)
        EXPECT_EQ(std::filesystem::exists(files[i]), i % 2 == 0) << files[i];
    EXPECT_FALSE(std::filesystem::exists(transactionLogPath()));
}

// PATH is the test's own folder, which holds a text viewer that ends at once, or a missing one.
TEST_F(ScheduleTest, ExecuteRunsTheSelectedJobsInListOrderAndStopsOnlyToShowTheLogOfAFailure)
{
    const std::string savedPath = std::getenv("PATH"), viewer = dir(), none = path("none");
    writeFile(dir() / "xdg-open", "#!/bin/sh\nexit 0\n");
    std::filesystem::permissions(dir() / "xdg-open", std::filesystem::perms::owner_all);
    for (const char* name : {"Third", "Broken", "First", "Skipped", "Second"})
        addBackupJob(name, name != std::string("Broken"));
    const std::string thirdJob = readFile(m_window.rowJobFile(1));
    selectRows({1, 2, 3, 5});
    // The window takes no input while jobs run, but its lights still read as lit.
    QLabel* lamp = m_window.findChild<QLabel*>("imgLight(1)");
    const QImage litLamp = lamp->grab().toImage();
    bool enabledDuringRuns = false, lampGreyed = false;
    m_desktop.onDoEvents([&] {
        enabledDuringRuns = enabledDuringRuns || m_window.isEnabled();
        lampGreyed = lampGreyed || lamp->grab().toImage() != litLamp;
    });
    const Names all{"Third", "Broken", "First", "Second"};
    const struct {
        int16_t stopOnError;
        int answer; // to the failure box
        const std::string& path;
        Names runs;
    } cases[] = {{-1, mb::No, viewer, all},
                 {-1, mb::Yes, viewer, {"Third", "Broken"}},
                 {-1, mb::Yes, none, all},
                 {0, mb::Yes, viewer, all}}; // no box: the answer is left unused
    for (const auto& c : cases) {
        SCOPED_TRACE(&c - cases);
        std::filesystem::remove(transactionLogPath());
        setenv("PATH", c.path.c_str(), 1);
        preferences().StopOnError = c.stopOnError;
        m_desktop.answerNext(c.answer);
        m_window.findChild<QPushButton*>("cmdBackup")->click();
        EXPECT_EQ(runsLogged(), c.runs);
        EXPECT_TRUE(m_window.isEnabled());
        EXPECT_NE(readFile(transactionLogPath()).find("file to backup does not exist"),
                  std::string::npos);
    }
    setenv("PATH", savedPath.c_str(), 1);
    EXPECT_FALSE(enabledDuringRuns);
    EXPECT_FALSE(lampGreyed);
    for (const std::string name : {"Third", "First", "Second"})
        EXPECT_EQ(readFile(backupTarget() / (name + ".mdb")), "database " + name);
    EXPECT_EQ(readFile(m_window.rowJobFile(1)), thirdJob) << "the last run is not saved";
    const Box failed{"Database Job 'Broken' has failed.\r\n\r\nSee transaction log for details: '" +
                         transactionLogPath() + "'",
                     mb::YesNoCancel | mb::Exclamation, "Backup Error"};
    const Box noViewer{"Quorvex could not show '" + transactionLogPath() +
                           "'.\r\n\r\nThe desktop's opener xdg-open (package xdg-utils) could "
                           "not be started.",
                       mb::OkOnly | mb::Exclamation, "Viewer Error"};
    EXPECT_EQ(boxes(), (std::vector<Box>{failed, failed, failed, noViewer}));
    EXPECT_EQ(m_desktop.notifications(),
              std::vector<std::string>(4, "Database Job failed: Database Job 'Broken' has failed. "
                                          "See the transaction log: '" +
                                              transactionLogPath() + "'"));
}

} // namespace
} // namespace quorvex::test
