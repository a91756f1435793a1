#include "fakes/job_files_test.hpp"
#include "support/error_handler.hpp"

#include <QAction>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include <cstdlib>
#include <fstream>

namespace quorvex::test {
namespace {

// A schedule window in a fresh application directory, with job files made on demand; the
// job wizard only notes how it was asked.
class ScheduleTest : public JobFilesTest {
protected:
    void SetUp() override
    {
        JobFilesTest::SetUp();
        m_window.setJobWizard([this](frmSchedule& owner, bool addJob) {
            EXPECT_EQ(&owner, &m_window);
            ++m_wizardShown;
            m_wizardAddJob = addJob;
        });
    }

    // A daily backup job of a database of its own, saved to its file and listed.
    std::string addBackupJob(const std::string& name, bool sourceExists = true)
    {
        const std::string file =
            saveBackupJob(name, name, DateTime::fromTime(23, 30), at(2026, 12, 1), sourceExists);
        listJob(m_window, file);
        return file;
    }
    // A row with no job file behind it.
    void addRow(const std::string& name, const std::string& file, int16_t type = job_type::Backup,
                DateTime nextRun = {}, DateTime startTime = {})
    {
        m_window.AddItemListView(name, at(2026, 11, 30), nextRun, startTime, type, file);
    }
    QTreeWidget& list() { return *m_window.lvwSchedule(); }
    QStringList names()
    {
        QStringList result;
        for (int i = 0; i < list().topLevelItemCount(); ++i)
            result << list().topLevelItem(i)->text(0);
        return result;
    }
    QString countText() const { return m_window.findChild<QLabel*>("NbrDatabaseJobs")->text(); }
    void selectRows(std::initializer_list<int> rows)
    {
        list().clearSelection();
        for (int row : rows)
            list().setCurrentItem(list().topLevelItem(row - 1), 0, QItemSelectionModel::Select);
    }
    void showActive()
    {
        m_window.show();
        m_window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&m_window));
    }

    frmSchedule m_window;
    int m_wizardShown = 0;
    bool m_wizardAddJob = false;
};

TEST_F(ScheduleTest, RowsOfOneNameStayApartAndRemovingAMissingRowIsFatal)
{
    addRow("Nightly", "/jobs/a.tsk");
    addRow("Nightly", "/jobs/b.tsk", job_type::RepairCompact);
    addRow("Nightly", "/jobs/c.tsk");
    m_window.DeleteItemListView(2);
    EXPECT_EQ(m_window.rowJobFile(1), "/jobs/a.tsk");
    EXPECT_EQ(m_window.rowJobFile(2), "/jobs/c.tsk");

    EXPECT_THROW(m_window.DeleteItemListView(3), FatalExitCalled);
    EXPECT_EQ(list().topLevelItemCount(), 2);
    const std::string errors = readFile(errorLogPath());
    EXPECT_NE(errors.find("frmSchedule.frm"), std::string::npos);
    EXPECT_NE(errors.find("DeleteItemListView()"), std::string::npos);
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
    showActive();
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
    showActive();
    EXPECT_EQ(names(), (QStringList{"daily", "Monthly", "Weekly"}));
    // The first row was selected before the list was sorted.
    ASSERT_EQ(list().selectedItems().size(), 1);
    EXPECT_EQ(list().selectedItems().front()->text(0), "Weekly");

    QHeaderView* header = list().header();
    for (const auto& [column, order] : std::vector<std::pair<int, QStringList>>{
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
    EXPECT_EQ(m_wizardShown, 0);
    m_window.setJobWizard([this](frmSchedule&, bool addJob) {
        m_wizardAddJob = addJob;
        addBackupJob("Fresh");
    });
    m_window.findChild<QAction*>("mnuActionAdd")->trigger();
    EXPECT_TRUE(m_wizardAddJob);
    EXPECT_EQ(countText(), "1 Database Jobs");

    addBackupJob("Weekly");
    list().setCurrentItem(list().topLevelItem(1));
    list().clearSelection();
    runSelectionCommands();
    const Box noJob{"You must first add and then select a Database Job before clicking this "
                    "button.",
                    mb::Information, "Verification Error"};
    const Box noSelection{"You must first select a Database Job before clicking this button.",
                          mb::Information, "Verification Error"};
    EXPECT_EQ(boxes(), (std::vector<Box>{noJob, noJob, noJob, noJob, noSelection, noSelection,
                                         noSelection, noSelection}));
    EXPECT_EQ(list().topLevelItemCount(), 2);
    EXPECT_FALSE(std::filesystem::exists(backupTarget() / "Fresh.mdb"));
}

TEST_F(ScheduleTest, CopyMakesTheCopyofFileSelectsItAndOpensTheWizardOnce)
{
    addBackupJob("Nightly Backup");
    addBackupJob("Other");
    selectRows({1});
    m_window.cmdCopyJob_Click();

    const auto copyFile = jobsDir() / "CopyofNightly Backup.tsk";
    CDatabaseJob copy;
    copy.OpenDatabaseJob(copyFile.string());
    EXPECT_EQ(copy.JobName(), "Copy of Nightly Backup");
    EXPECT_EQ(copy.BackupSourceMDB(), sourceOf("Nightly Backup").string());
    EXPECT_EQ(countText(), "3 Database Jobs");
    const auto selected = list().selectedItems();
    ASSERT_EQ(selected.size(), 1);
    EXPECT_EQ(selected.front()->text(frmSchedule::kColJobFile).toStdString(), copyFile.string());
    EXPECT_EQ(m_wizardShown, 1);
    EXPECT_FALSE(m_wizardAddJob);

    // A second copy of the same job waits until the first copy is renamed.
    selectRows({1});
    m_window.cmdCopyJob_Click();
    EXPECT_EQ(boxes(), (std::vector<Box>{{"You cannot make another copy of this Database Job "
                                          "until\r\nyou rename the existing copy.",
                                          mb::OkOnly, "Verification Error"}}));
    EXPECT_EQ(list().topLevelItemCount(), 3);
    EXPECT_EQ(m_wizardShown, 1);
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
    EXPECT_EQ(names(), (QStringList{"ab", "Three"}));
    EXPECT_EQ(countText(), "2 Database Jobs");
    for (std::size_t i = 0; i < files.size(); ++i)
        EXPECT_EQ(std::filesystem::exists(files[i]), i % 2 == 0) << files[i];
    EXPECT_FALSE(std::filesystem::exists(transactionLogPath()));
}

TEST_F(ScheduleTest, ExecuteRunsTheSelectedJobsInListOrderAndKeepsTheirLastRun)
{
    for (const char* name : {"Third", "First", "Skipped", "Second"})
        addBackupJob(name);
    selectRows({1, 2, 4});
    bool enabledDuringRun = true;
    m_desktop.onDoEvents([&] { enabledDuringRun = enabledDuringRun && m_window.isEnabled(); });
    m_window.findChild<QPushButton*>("cmdBackup")->click();

    EXPECT_FALSE(enabledDuringRun);
    EXPECT_TRUE(m_window.isEnabled());
    EXPECT_TRUE(boxes().empty());
    for (const std::string name : {"Third", "First", "Second"})
        EXPECT_EQ(readFile(backupTarget() / (name + ".mdb")), "database " + name);
    EXPECT_FALSE(std::filesystem::exists(backupTarget() / "Skipped.mdb"));
    EXPECT_TRUE(loggedInOrder({"Third", "First", "Second"}));
    CDatabaseJob job;
    job.OpenDatabaseJob(m_window.rowJobFile(1));
    EXPECT_EQ(job.DateLastRun(), at(2026, 12, 1));
}

struct FailedBackupCase {
    const char* label;
    int16_t stopOnError;
    int answer; // to the failure box, when one is asked
    bool viewer;
    bool othersRun;
    friend void PrintTo(const FailedBackupCase& c, std::ostream* out) { *out << c.label; }
};

// PATH points at a folder of the test's own, with a text viewer that ends at once or none.
class FailedBackupTest : public ScheduleTest,
                         public ::testing::WithParamInterface<FailedBackupCase> {
protected:
    void TearDown() override
    {
        setenv("PATH", m_savedPath.c_str(), 1);
        ScheduleTest::TearDown();
    }
    const std::string m_savedPath = std::getenv("PATH");
};

TEST_P(FailedBackupTest, OtherJobsRunUnlessTheLogIsShown)
{
    const FailedBackupCase& c = GetParam();
    std::filesystem::create_directories(dir() / "bin");
    if (c.viewer) {
        std::ofstream(dir() / "bin" / "xdg-open") << "#!/bin/sh\nexit 0\n";
        std::filesystem::permissions(dir() / "bin" / "xdg-open", std::filesystem::perms::owner_all);
    }
    setenv("PATH", (dir() / "bin").c_str(), 1);
    preferences().StopOnError = c.stopOnError;
    for (const char* name : {"Broken", "Good1", "Good2"})
        addBackupJob(name, name != std::string("Broken"));
    selectRows({1, 2, 3});
    m_desktop.answerNext(c.answer);
    m_window.cmdBackup_Click();

    EXPECT_EQ(std::filesystem::exists(backupTarget() / "Good1.mdb"), c.othersRun);
    EXPECT_EQ(std::filesystem::exists(backupTarget() / "Good2.mdb"), c.othersRun);
    EXPECT_TRUE(m_window.isEnabled());
    EXPECT_NE(readFile(transactionLogPath()).find("file to backup does not exist"),
              std::string::npos);
    const Box failed{"Database Job 'Broken' has failed.\r\n\r\nSee transaction log for details: '" +
                         transactionLogPath() + "'",
                     mb::YesNoCancel | mb::Exclamation, "Backup Error"};
    EXPECT_EQ(boxes(), c.stopOnError == 0 ? std::vector<Box>{} : std::vector<Box>{failed});
}

INSTANTIATE_TEST_SUITE_P(
    Answers, FailedBackupTest,
    ::testing::Values(FailedBackupCase{"No", -1, mb::No, true, true},
                      FailedBackupCase{"YesShowsLog", -1, mb::Yes, true, false},
                      FailedBackupCase{"YesNoViewer", -1, mb::Yes, false, true},
                      FailedBackupCase{"NoStopOnError", 0, mb::Yes, true, true}),
    [](const auto& info) { return std::string(info.param.label); });

} // namespace
} // namespace quorvex::test
