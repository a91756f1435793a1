#include "ui/about/frm_preferences.hpp"
#include "ui/form_test.hpp"

#include <QDialog>
#include <QHeaderView>
#include <QLabel>
#include <QTest>
#include <QTreeWidget>

namespace quorvex::test {
namespace {

// Daily backup jobs of databases of their own start at this time.
const DateTime kStart = DateTime::fromTime(23, 30);

// A schedule window in a fresh application directory; the job wizard only notes how it was
// asked (true: New, false: Open).
class ScheduleTest : public FormTest {
protected:
    ScheduleTest()
    {
        m_form = &m_window;
        m_window.setJobWizard([this](frmSchedule&, bool addJob) { m_wizard.push_back(addJob); });
    }

    QTreeWidget& list() { return *m_window.lvwSchedule(); }
    // The count above the list, the rows and the selected ones, into the transcript.
    void noteRows()
    {
        std::string selected;
        for (int row = 1; row <= m_window.rowCount(); ++row)
            selected += m_window.isRowSelected(row) ? " " + std::to_string(row) : "";
        note(find<QLabel>("NbrDatabaseJobs")->text().toStdString() + "\n" + rowsOf(m_window) +
             "\nselected:" + selected);
    }
    void selectRows(std::initializer_list<int> rows)
    {
        list().clearSelection();
        for (int row : rows)
            list().setCurrentItem(list().topLevelItem(row - 1), 0, QItemSelectionModel::Select);
    }
    frmSchedule m_window;
    std::vector<bool> m_wizard;
};

// Remove asks, then deletes the selected jobs and only their files: as a pattern, "a?" would
// match "ab" too. Then three rows whose next runs are in December, February and January: as
// texts, Feb sorts before Jan. The transcript has the boxes, the count and the rows after each
// change, at the first activation and after each header click (next run twice, start time).
TEST_F(ScheduleTest, CommandsCopyRemoveThenTheFirstActivationCountsAndSortsAndCloseOnlyHides)
{
    noteRows();
    const auto runSelectionCommands = [this] {
        for (const char* button : {"cmdEditJob", "cmdCopyJob", "cmdDelJob", "cmdBackup"})
            click(button);
    };
    runSelectionCommands();
    note("-- with a job, none selected");
    m_window.setJobWizard([this](frmSchedule&, bool addJob) {
        m_wizard.push_back(addJob);
        listBackupJob(m_window, "Nightly Backup", kStart, at(2026, 12, 1));
    });
    trigger("mnuActionAdd");
    noteRows();
    m_window.clearSelection();
    runSelectionCommands();

    // Copy makes the job under another name, selects it and opens it.
    const std::string original = readFile(m_window.rowJobFile(1));
    m_window.setJobWizard([this](frmSchedule&, bool addJob) { m_wizard.push_back(addJob); });
    m_window.selectOnlyRow(1);
    m_window.cmdCopyJob_Click();
    const auto copyFile = jobsDir() / "CopyofNightly Backup.tsk";
    std::string expected = original;
    expected.insert(expected.find("=Nightly Backup\r") + 1, "Copy of ");
    EXPECT_EQ(readFile(copyFile), expected);
    noteRows();
    m_window.selectOnlyRow(1);
    m_window.cmdCopyJob_Click();

    std::vector<std::string> files;
    for (const char* name : {"ab", "a?", "Three", "Four"})
        files.push_back(listBackupJob(m_window, name, kStart, at(2026, 12, 1)));
    for (int answer : {mb::No, mb::Cancel, mb::Yes}) {
        EXPECT_TRUE(std::filesystem::exists(files[1])) << answer;
        selectRows({4, 6});
        m_desktop.answerNext(answer);
        click("cmdDelJob");
    }
    noteRows();
    for (std::size_t i = 0; i < files.size(); ++i)
        EXPECT_EQ(std::filesystem::exists(files[i]), i % 2 == 0) << files[i];
    EXPECT_FALSE(std::filesystem::exists(transactionLogPath())) << "no command ran a job";

    const auto time = [](int hour, int minute) { return DateTime::fromTime(hour, minute); };
    m_window.AddItemListView("Weekly", {}, at(2026, 12, 7), time(12, 0), job_type::Backup, "/w");
    m_window.AddItemListView("daily", {}, at(2027, 2, 10), time(8, 0), job_type::Backup, "/d");
    m_window.AddItemListView("Monthly", {}, at(2027, 1, 2), time(23, 0), job_type::Backup, "/m");
    m_window.show();
    m_window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&m_window));
    noteRows();
    QHeaderView* header = list().header();
    for (int column :
         {frmSchedule::kColNextRun, frmSchedule::kColNextRun, frmSchedule::kColStartTime}) {
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          {header->sectionViewportPosition(column) + 5, header->height() / 2});
        note(rowsOf(m_window));
    }
    QTest::mouseDClick(list().viewport(), Qt::LeftButton, {},
                       list().visualItemRect(list().topLevelItem(0)).center());

    std::vector<HelpItem> asked;
    m_window.setHelpHandler([&](HelpItem item) { asked.push_back(item); });
    QTest::keyRelease(&list(), Qt::Key_F1);
    trigger("mnuHelpAbout");
    EXPECT_EQ(asked, (std::vector<HelpItem>{HelpItem::Contents, HelpItem::About}));
    // Closing, by the frame or by File > Close, only hides until the agent ends.
    EXPECT_FALSE(m_window.close());
    EXPECT_FALSE(m_window.isVisible());
    m_window.show();
    trigger("mnuFileClose");
    EXPECT_FALSE(m_window.isVisible());
    m_window.setKillForm(true);
    EXPECT_TRUE(m_window.close());
    EXPECT_EQ(m_wizard, (std::vector<bool>{true, false, false}));
    expectTranscript();
}

// PATH is the test's own folder, which holds a text viewer that ends at once, or a missing one.
TEST_F(ScheduleTest, ExecuteRunsTheSelectedJobsInListOrderAndStopsOnlyToShowTheLogOfAFailure)
{
    writeFile(dir() / "xdg-open", "#!/bin/sh\nexit 0\n");
    std::filesystem::permissions(dir() / "xdg-open", std::filesystem::perms::owner_all);
    for (const char* name : {"Third", "Broken", "First", "Skipped", "Second"})
        listBackupJob(m_window, name, kStart, at(2026, 12, 1), name != std::string("Broken"));
    const std::string thirdJob = readFile(m_window.rowJobFile(1));
    selectRows({1, 2, 3, 5});
    // The window takes no input while jobs run, but its lights still read as lit.
    QLabel* lamp = find<QLabel>("imgLight(1)");
    const QImage litLamp = lamp->grab().toImage();
    bool enabledDuringRuns = false, lampGreyed = false;
    m_desktop.onDoEvents([&] {
        enabledDuringRuns = enabledDuringRuns || m_window.isEnabled();
        lampGreyed = lampGreyed || lamp->grab().toImage() != litLamp;
    });
    for (const CaseFields& c : cases("execute_failure_answers.txt")) {
        note("-- case: " + c[0] + " | " + c[1] + " | " + c[2]);
        std::filesystem::remove(transactionLogPath());
        usePath(dir().string() + c[2]);
        preferences().StopOnError = int16_t(std::stoi(c[0]));
        m_desktop.answerNext(std::stoi(c[1]));
        click("cmdBackup");
        EXPECT_EQ(runsLogged(), Names(c.begin() + 3, c.end())) << c[2];
        EXPECT_TRUE(m_window.isEnabled());
    }
    EXPECT_FALSE(enabledDuringRuns);
    EXPECT_FALSE(lampGreyed);
    EXPECT_EQ(readFile(m_window.rowJobFile(1)), thirdJob) << "the last run is not saved";
    for (const std::string& notification : m_desktop.notifications())
        note("tray: " + notification);
    expectTranscript();
}

using PreferencesDialogTest = FormTest;

const QString kLists = "cmbStopOnError cmbMaxBackupCopies";

// Hand-edited values out of range show the nearest entry (data/ui/preferences_nearest_entry.txt).
TEST_F(PreferencesDialogTest, HandEditedValuesShowTheNearestEntryCancelDiscardsOkSavesTheChoice)
{
    for (const CaseFields& c : cases("preferences_nearest_entry.txt")) {
        preferences() = Preferences{int16_t(std::stoi(c[0])), int16_t(std::stoi(c[1])), ""};
        frmPreferences dialog;
        m_form = &dialog;
        EXPECT_EQ(form(kLists), c[2]) << c[1];
    }

    preferences() = Preferences{-1, 99, "/usr/bin/browser"};
    {
        frmPreferences cancelled;
        m_form = &cancelled;
        set("cmbStopOnError=No;cmbMaxBackupCopies=1");
        click("cmdCancel");
    }
    frmPreferences dialog;
    m_form = &dialog;
    EXPECT_EQ(form(kLists), "cmbStopOnError=Yes cmbMaxBackupCopies=99");
    // Without a selection OK asks for one.
    for (const char* unselected : {"cmbMaxBackupCopies=", "cmbStopOnError=;cmbMaxBackupCopies=1"}) {
        set(unselected);
        dialog.cmdOk_Click();
    }
    EXPECT_EQ(dialog.result(), 0);
    EXPECT_FALSE(std::filesystem::exists(preferencesFilePath()));
    set("cmbStopOnError=No;cmbMaxBackupCopies=5;chkCatchUpMissedRuns=on");
    click("cmdOk");
    EXPECT_EQ(dialog.result(), QDialog::Accepted);

    preferences() = Preferences{};
    LoadPreferences();
    EXPECT_EQ(preferences().IEPath, "/usr/bin/browser");
    frmPreferences saved;
    m_form = &saved;
    EXPECT_EQ(
        form(kLists + " chkCatchUpMissedRuns chkVerifyBackups"),
        "cmbStopOnError=No cmbMaxBackupCopies=5 chkCatchUpMissedRuns=on chkVerifyBackups=off");
    expectTranscript();
}

} // namespace
} // namespace quorvex::test
