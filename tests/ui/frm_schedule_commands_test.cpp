#include "schedule_fixture.hpp"

#include "support/transaction_log.hpp"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QPushButton>
#include <QTimer>

#include <cstdlib>
#include <fstream>
#include <functional>

namespace quorvex::test {
namespace {

const std::string kNoRows =
    "You must first add and then select a Database Job before clicking this button.";
const std::string kNoSelection =
    "You must first select a Database Job before clicking this button.";

class ScheduleCommandTest : public ScheduleTest
{
protected:
    std::string logText() const { return readFile(transactionLogPath()); }
};

// PATH pointed at a folder of our own for one test, so "the text viewer" is what we put there.
class ViewerPath
{
public:
    explicit ViewerPath(const std::filesystem::path& folder) : m_saved(std::getenv("PATH"))
    {
        std::filesystem::create_directories(folder);
        setenv("PATH", folder.c_str(), 1);
    }
    ~ViewerPath() { setenv("PATH", m_saved.c_str(), 1); }
    ViewerPath(const ViewerPath&) = delete;
    ViewerPath& operator=(const ViewerPath&) = delete;

    // A viewer that starts and ends at once.
    static void install(const std::filesystem::path& folder)
    {
        const auto viewer = folder / "xdg-open";
        std::ofstream(viewer) << "#!/bin/sh\nexit 0\n";
        std::filesystem::permissions(viewer, std::filesystem::perms::owner_all);
    }

private:
    std::string m_saved;
};

TEST_F(ScheduleCommandTest, CommandsOnAnEmptyListAskForAJobFirst)
{
    const std::vector<std::function<void()>> commands = {
        [&] { m_window->cmdEditJob_Click(); }, [&] { m_window->cmdCopyJob_Click(); },
        [&] { m_window->cmdDelJob_Click(); }, [&] { m_window->cmdBackup_Click(); }};
    for (const auto& command : commands)
        command();
    ASSERT_EQ(m_desktop.boxes().size(), 4u);
    for (const auto& box : m_desktop.boxes()) {
        EXPECT_EQ(box.text, kNoRows);
        EXPECT_EQ(box.title, "Verification Error");
        EXPECT_EQ(box.style, mb::Information);
    }
    EXPECT_EQ(m_wizardShown, 0);
    EXPECT_TRUE(m_window->isEnabled());
}

TEST_F(ScheduleCommandTest, CommandsWithoutASelectedCurrentRowAskForASelection)
{
    addBackupJob("Nightly");
    addBackupJob("Weekly");
    list().setCurrentItem(list().topLevelItem(1));
    list().clearSelection();
    m_window->cmdEditJob_Click();
    m_window->cmdCopyJob_Click();
    m_window->cmdDelJob_Click();
    m_window->cmdBackup_Click();
    ASSERT_EQ(m_desktop.boxes().size(), 4u);
    for (const auto& box : m_desktop.boxes())
        EXPECT_EQ(box.text, kNoSelection);
    EXPECT_EQ(list().topLevelItemCount(), 2);
    EXPECT_FALSE(std::filesystem::exists(backupTarget() / "Nightly.mdb"));
}

TEST_F(ScheduleCommandTest, NewHandsOverToTheWizardAndRecountsTheRows)
{
    m_window->setJobWizard([this](frmSchedule&, bool addJob) {
        m_wizardAddJob = addJob;
        addBackupJob("Fresh");
    });
    m_window->findChild<QAction*>("mnuActionAdd")->trigger();
    EXPECT_TRUE(m_wizardAddJob);
    EXPECT_EQ(countText(), "1 Database Jobs");
}

TEST_F(ScheduleCommandTest, CopyMakesTheCopyofFileSelectsItAndOpensTheWizard)
{
    const std::string file = addBackupJob("Nightly Backup");
    addBackupJob("Other");
    selectRows({1});
    m_window->cmdCopyJob_Click();

    const auto copyFile = jobsDir() / "CopyofNightly Backup.tsk";
    ASSERT_TRUE(std::filesystem::exists(copyFile));
    CDatabaseJob copy;
    copy.OpenDatabaseJob(copyFile.string());
    EXPECT_EQ(copy.JobName(), "Copy of Nightly Backup");
    EXPECT_EQ(copy.DateLastRun(), at(2026, 12, 1));
    EXPECT_EQ(copy.BackupSourceMDB(), sourceOf("Nightly Backup").string());

    ASSERT_EQ(list().topLevelItemCount(), 3);
    EXPECT_EQ(countText(), "3 Database Jobs");
    const auto selected = list().selectedItems();
    ASSERT_EQ(selected.size(), 1);
    EXPECT_EQ(selected.front()->text(0), "Copy of Nightly Backup");
    EXPECT_EQ(selected.front()->text(5).toStdString(), copyFile.string());
    EXPECT_EQ(list().currentItem(), selected.front());
    EXPECT_EQ(m_wizardShown, 1);
    EXPECT_FALSE(m_wizardAddJob);
    EXPECT_TRUE(m_desktop.boxes().empty());

    // A second copy of the same job waits until the first copy is renamed.
    selectRows({1});
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

TEST_F(ScheduleCommandTest, RemoveDeletesTheSelectedJobsAndTheirFiles)
{
    std::vector<std::string> files;
    for (const char* name : {"One", "Two", "Three", "Four"})
        files.push_back(addBackupJob(name));
    selectRows({2, 4});
    m_desktop.answerNext(mb::Yes);
    m_window->findChild<QPushButton*>("cmdDelJob")->click();

    ASSERT_EQ(m_desktop.boxes().size(), 1u);
    EXPECT_EQ(m_desktop.boxes()[0].text, "Are you sure you want to delete this Database Job?");
    EXPECT_EQ(m_desktop.boxes()[0].title, "Remove Confirmation");
    EXPECT_EQ(m_desktop.boxes()[0].style, mb::YesNoCancel);
    EXPECT_EQ(names(), (std::vector<std::string>{"One", "Three"}));
    EXPECT_EQ(countText(), "2 Database Jobs");
    EXPECT_TRUE(std::filesystem::exists(files[0]));
    EXPECT_FALSE(std::filesystem::exists(files[1]));
    EXPECT_TRUE(std::filesystem::exists(files[2]));
    EXPECT_FALSE(std::filesystem::exists(files[3]));
    EXPECT_FALSE(std::filesystem::exists(transactionLogPath()));
}

TEST_F(ScheduleCommandTest, RemoveAnsweredNoOrCancelChangesNothing)
{
    const std::string file = addBackupJob("Nightly");
    for (int answer : {mb::No, mb::Cancel}) {
        selectRows({1});
        m_desktop.answerNext(answer);
        m_window->cmdDelJob_Click();
        EXPECT_EQ(list().topLevelItemCount(), 1);
        EXPECT_TRUE(std::filesystem::exists(file));
    }
}

TEST_F(ScheduleCommandTest, RemoveDeletesOnlyTheFileOfAWildcardName)
{
    const std::string other = addBackupJob("ab");
    const std::string file = addBackupJob("a?");
    selectRows({2});
    m_desktop.answerNext(mb::Yes);
    m_window->cmdDelJob_Click();
    EXPECT_FALSE(std::filesystem::exists(file));
    EXPECT_TRUE(std::filesystem::exists(other));
    EXPECT_EQ(names(), (std::vector<std::string>{"ab"}));
}

TEST_F(ScheduleCommandTest, ExecuteRunsTheSelectedJobsInListOrder)
{
    addBackupJob("Third");
    addBackupJob("First");
    addBackupJob("Skipped");
    addBackupJob("Second");
    selectRows({1, 2, 4});
    bool enabledDuringRun = true;
    m_desktop.onDoEvents([&] { enabledDuringRun = enabledDuringRun && m_window->isEnabled(); });
    m_window->findChild<QPushButton*>("cmdBackup")->click();

    EXPECT_FALSE(enabledDuringRun);
    EXPECT_TRUE(m_window->isEnabled());
    EXPECT_TRUE(m_desktop.boxes().empty());
    EXPECT_EQ(readFile(backupTarget() / "Third.mdb"), "database Third");
    EXPECT_EQ(readFile(backupTarget() / "First.mdb"), "database First");
    EXPECT_EQ(readFile(backupTarget() / "Second.mdb"), "database Second");
    EXPECT_FALSE(std::filesystem::exists(backupTarget() / "Skipped.mdb"));
    const std::string log = logText();
    const auto third = log.find("-- Third ");
    const auto first = log.find("-- First ");
    const auto second = log.find("-- Second ");
    ASSERT_NE(third, std::string::npos);
    ASSERT_NE(first, std::string::npos);
    ASSERT_NE(second, std::string::npos);
    EXPECT_LT(third, first);
    EXPECT_LT(first, second);
    // Execute neither moves nor saves the last run.
    CDatabaseJob job;
    job.OpenDatabaseJob(m_window->rowJobFile(1));
    EXPECT_EQ(job.DateLastRun(), at(2026, 12, 1));
    EXPECT_EQ(m_window->MessageText(), "");
}

TEST_F(ScheduleCommandTest, FailedBackupAskedNoGoesOnWithTheOtherJobs)
{
    addBackupJob("Broken", false);
    addBackupJob("Good1");
    addBackupJob("Good2");
    selectRows({1, 2, 3});
    m_desktop.answerNext(mb::No);
    m_window->cmdBackup_Click();

    ASSERT_EQ(m_desktop.boxes().size(), 1u);
    EXPECT_EQ(m_desktop.boxes()[0].text, "Database Job 'Broken' has failed.\r\n\r\n"
                                         "See transaction log for details: '" +
                                             transactionLogPath() + "'");
    EXPECT_EQ(m_desktop.boxes()[0].title, "Backup Error");
    EXPECT_EQ(m_desktop.boxes()[0].style, mb::YesNoCancel | mb::Exclamation);
    EXPECT_TRUE(std::filesystem::exists(backupTarget() / "Good1.mdb"));
    EXPECT_TRUE(std::filesystem::exists(backupTarget() / "Good2.mdb"));
    EXPECT_TRUE(m_window->isEnabled());
}

TEST_F(ScheduleCommandTest, FailedBackupAskedYesOpensTheLogAndStops)
{
    const ViewerPath path(dir() / "bin");
    ViewerPath::install(dir() / "bin");
    addBackupJob("Broken", false);
    addBackupJob("Good1");
    addBackupJob("Good2");
    selectRows({1, 2, 3});
    m_desktop.answerNext(mb::Yes);
    m_window->cmdBackup_Click();

    EXPECT_EQ(m_desktop.boxes().size(), 1u);
    EXPECT_FALSE(std::filesystem::exists(backupTarget() / "Good1.mdb"));
    EXPECT_FALSE(std::filesystem::exists(backupTarget() / "Good2.mdb"));
    EXPECT_TRUE(m_window->isEnabled());
}

TEST_F(ScheduleCommandTest, FailedBackupAskedYesWithoutAViewerGoesOn)
{
    const ViewerPath path(dir() / "empty");
    addBackupJob("Broken", false);
    addBackupJob("Good1");
    selectRows({1, 2});
    m_desktop.answerNext(mb::Yes);
    m_window->cmdBackup_Click();
    EXPECT_EQ(m_desktop.boxes().size(), 1u);
    EXPECT_TRUE(std::filesystem::exists(backupTarget() / "Good1.mdb"));
}

TEST_F(ScheduleCommandTest, FailedBackupWithoutStopOnErrorAsksNothing)
{
    preferences().StopOnError = 0;
    addBackupJob("Broken", false);
    addBackupJob("Good1");
    selectRows({1, 2});
    m_window->cmdBackup_Click();
    EXPECT_TRUE(m_desktop.boxes().empty());
    EXPECT_TRUE(std::filesystem::exists(backupTarget() / "Good1.mdb"));
    EXPECT_NE(logText().find("file to backup does not exist"), std::string::npos);
}

TEST_F(ScheduleCommandTest, PreferencesMenuOpensTheDialogOwnedByTheWindow)
{
    QString opened;
    QWidget* owner = nullptr;
    QTimer::singleShot(0, [&] {
        QWidget* dialog = QApplication::activeModalWidget();
        ASSERT_NE(dialog, nullptr);
        opened = dialog->objectName();
        owner = dialog->parentWidget();
        dialog->findChild<QPushButton*>("cmdCancel")->click();
    });
    m_window->findChild<QAction*>("mnuFilePreferences")->trigger();
    EXPECT_EQ(opened, "frmPreferences");
    EXPECT_EQ(owner, m_window.get());
}

} // namespace
} // namespace quorvex::test
