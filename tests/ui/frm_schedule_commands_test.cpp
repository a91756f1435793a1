#include "schedule_fixture.hpp"

#include <QAction>
#include <QApplication>
#include <QPushButton>
#include <QTimer>

#include <cstdlib>
#include <fstream>

namespace quorvex::test {
namespace {

using ScheduleCommandTest = ScheduleTest;

// The commands that need a selected job: Open, Copy, Remove and Execute.
void runSelectionCommands(frmSchedule& window)
{
    window.cmdEditJob_Click();
    window.cmdCopyJob_Click();
    window.cmdDelJob_Click();
    window.cmdBackup_Click();
}

void selectRows(QTreeWidget& list, std::initializer_list<int> rows)
{
    list.clearSelection();
    for (int row : rows)
        list.setCurrentItem(list.topLevelItem(row - 1), 0, QItemSelectionModel::Select);
}

TEST_F(ScheduleCommandTest, CommandsAskForAJobThenForASelectionAndNewRecounts)
{
    runSelectionCommands(*m_window);
    EXPECT_EQ(m_wizardShown, 0);
    m_window->setJobWizard([this](frmSchedule&, bool addJob) {
        m_wizardAddJob = addJob;
        addBackupJob("Fresh");
    });
    m_window->findChild<QAction*>("mnuActionAdd")->trigger();
    EXPECT_TRUE(m_wizardAddJob);
    EXPECT_EQ(countText(), "1 Database Jobs");

    addBackupJob("Weekly");
    list().setCurrentItem(list().topLevelItem(1));
    list().clearSelection();
    runSelectionCommands(*m_window);
    ASSERT_EQ(m_desktop.boxes().size(), 8u);
    for (std::size_t i = 0; i < 8; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(m_desktop.boxes()[i].text,
                  i < 4 ? "You must first add and then select a Database Job before clicking "
                          "this button."
                        : "You must first select a Database Job before clicking this button.");
        EXPECT_EQ(m_desktop.boxes()[i].title, "Verification Error");
        EXPECT_EQ(m_desktop.boxes()[i].style, mb::Information);
    }
    EXPECT_EQ(list().topLevelItemCount(), 2);
    EXPECT_FALSE(std::filesystem::exists(backupTarget() / "Fresh.mdb"));
}

TEST_F(ScheduleCommandTest, CopyMakesTheCopyofFileSelectsItAndOpensTheWizardOnce)
{
    addBackupJob("Nightly Backup");
    addBackupJob("Other");
    selectRows(list(), {1});
    m_window->cmdCopyJob_Click();

    const auto copyFile = jobsDir() / "CopyofNightly Backup.tsk";
    CDatabaseJob copy;
    copy.OpenDatabaseJob(copyFile.string());
    EXPECT_EQ(copy.JobName(), "Copy of Nightly Backup");
    EXPECT_EQ(copy.DateLastRun(), at(2026, 12, 1));
    EXPECT_EQ(copy.BackupSourceMDB(), sourceOf("Nightly Backup").string());
    EXPECT_EQ(countText(), "3 Database Jobs");
    const auto selected = list().selectedItems();
    ASSERT_EQ(selected.size(), 1);
    EXPECT_EQ(selected.front()->text(frmSchedule::kColJobFile).toStdString(), copyFile.string());
    EXPECT_EQ(list().currentItem(), selected.front());
    EXPECT_EQ(m_wizardShown, 1);
    EXPECT_FALSE(m_wizardAddJob);

    // A second copy of the same job waits until the first copy is renamed.
    selectRows(list(), {1});
    m_window->cmdCopyJob_Click();
    ASSERT_EQ(m_desktop.boxes().size(), 1u);
    EXPECT_EQ(m_desktop.boxes()[0].text,
              "You cannot make another copy of this Database Job until\r\n"
              "you rename the existing copy.");
    EXPECT_EQ(m_desktop.boxes()[0].title, "Verification Error");
    EXPECT_EQ(m_desktop.boxes()[0].style, mb::OkOnly);
    EXPECT_EQ(list().topLevelItemCount(), 3);
    EXPECT_EQ(m_wizardShown, 1);
}

TEST_F(ScheduleCommandTest, RemoveAsksThenDeletesTheSelectedJobsAndOnlyTheirFiles)
{
    std::vector<std::string> files;
    // As a pattern, "a?" would match "ab" too.
    for (const char* name : {"ab", "a?", "Three", "Four"})
        files.push_back(addBackupJob(name));
    for (int answer : {mb::No, mb::Cancel, mb::Yes}) {
        EXPECT_TRUE(std::filesystem::exists(files[1])) << answer;
        selectRows(list(), {2, 4});
        m_desktop.answerNext(answer);
        m_window->findChild<QPushButton*>("cmdDelJob")->click();
    }
    ASSERT_EQ(m_desktop.boxes().size(), 3u);
    for (const auto& box : m_desktop.boxes()) {
        EXPECT_EQ(box.text, "Are you sure you want to delete this Database Job?");
        EXPECT_EQ(box.title, "Remove Confirmation");
        EXPECT_EQ(box.style, mb::YesNoCancel);
    }
    EXPECT_EQ(names(), (std::vector<std::string>{"ab", "Three"}));
    EXPECT_EQ(countText(), "2 Database Jobs");
    for (std::size_t i = 0; i < files.size(); ++i)
        EXPECT_EQ(std::filesystem::exists(files[i]), i % 2 == 0) << files[i];
    EXPECT_FALSE(std::filesystem::exists(transactionLogPath()));
}

TEST_F(ScheduleCommandTest, ExecuteRunsTheSelectedJobsInListOrderAndKeepsTheirLastRun)
{
    for (const char* name : {"Third", "First", "Skipped", "Second"})
        addBackupJob(name);
    selectRows(list(), {1, 2, 4});
    bool enabledDuringRun = true;
    m_desktop.onDoEvents([&] { enabledDuringRun = enabledDuringRun && m_window->isEnabled(); });
    m_window->findChild<QPushButton*>("cmdBackup")->click();

    EXPECT_FALSE(enabledDuringRun);
    EXPECT_TRUE(m_window->isEnabled());
    EXPECT_TRUE(m_desktop.boxes().empty());
    for (const std::string name : {"Third", "First", "Second"})
        EXPECT_EQ(readFile(backupTarget() / (name + ".mdb")), "database " + name);
    EXPECT_FALSE(std::filesystem::exists(backupTarget() / "Skipped.mdb"));
    EXPECT_TRUE(loggedInOrder({"Third", "First", "Second"}));
    CDatabaseJob job;
    job.OpenDatabaseJob(m_window->rowJobFile(1));
    EXPECT_EQ(job.DateLastRun(), at(2026, 12, 1));
}

struct FailedBackupCase {
    const char* label;
    int16_t stopOnError;
    int answer; // to the failure box, when one is asked
    bool viewer;
    bool othersRun;
};

// Runs with PATH pointed at a folder of its own, holding a text viewer that ends at once or
// none.
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
    selectRows(list(), {1, 2, 3});
    m_desktop.answerNext(c.answer);
    m_window->cmdBackup_Click();

    EXPECT_EQ(std::filesystem::exists(backupTarget() / "Good1.mdb"), c.othersRun);
    EXPECT_EQ(std::filesystem::exists(backupTarget() / "Good2.mdb"), c.othersRun);
    EXPECT_TRUE(m_window->isEnabled());
    EXPECT_NE(readFile(transactionLogPath()).find("file to backup does not exist"),
              std::string::npos);
    ASSERT_EQ(m_desktop.boxes().size(), c.stopOnError == 0 ? 0u : 1u);
    if (c.stopOnError == 0)
        return;
    EXPECT_EQ(m_desktop.boxes()[0].text, "Database Job 'Broken' has failed.\r\n\r\n"
                                         "See transaction log for details: '" +
                                             transactionLogPath() + "'");
    EXPECT_EQ(m_desktop.boxes()[0].title, "Backup Error");
    EXPECT_EQ(m_desktop.boxes()[0].style, mb::YesNoCancel | mb::Exclamation);
}

INSTANTIATE_TEST_SUITE_P(Answers, FailedBackupTest,
                         ::testing::Values(FailedBackupCase{"No", -1, mb::No, true, true},
                                           FailedBackupCase{"YesShowsLog", -1, mb::Yes, true, false},
                                           FailedBackupCase{"YesNoViewer", -1, mb::Yes, false, true},
                                           FailedBackupCase{"NoStopOnError", 0, mb::Yes, true, true}),
                         [](const auto& info) { return std::string(info.param.label); });

TEST_F(ScheduleCommandTest, PreferencesMenuOpensTheDialogOwnedByTheWindow)
{
    QString opened;
    QWidget* owner = nullptr;
    QTimer::singleShot(0, [&] {
        if (QWidget* dialog = QApplication::activeModalWidget()) {
            opened = dialog->objectName();
            owner = dialog->parentWidget();
            dialog->findChild<QPushButton*>("cmdCancel")->click();
        }
    });
    m_window->findChild<QAction*>("mnuFilePreferences")->trigger();
    EXPECT_EQ(opened, "frmPreferences");
    EXPECT_EQ(owner, m_window.get());
}

} // namespace
} // namespace quorvex::test
