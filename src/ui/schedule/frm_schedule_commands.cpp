// The commands of the schedule window: New, Open, Copy, Remove, Execute, the log viewers and
// the preferences.

#include "ui/schedule/frm_schedule.hpp"

#include "execution/execute_job.hpp"
#include "jobs/database_job.hpp"
#include "jobs/job_directory.hpp"
#include "platform/file_system.hpp"
#include "support/desktop.hpp"
#include "support/error_handler.hpp"
#include "support/files.hpp"
#include "support/preferences.hpp"
#include "support/transaction_log.hpp"
#include "ui/about/frm_preferences.hpp"
#include "ui/schedule/notepad.hpp"

#include <QTreeWidget>

#include <vector>

namespace quorvex {

namespace {

constexpr const char* kModule = "frmSchedule.frm";
constexpr const char* kVerificationError = "Verification Error";

// Disables the window for the life of the guard, whatever way the command ends.
class DisabledWhile {
public:
    explicit DisabledWhile(QWidget* window) : m_window(window) { m_window->setEnabled(false); }
    ~DisabledWhile() { m_window->setEnabled(true); }
    DisabledWhile(const DisabledWhile&) = delete;
    DisabledWhile& operator=(const DisabledWhile&) = delete;

private:
    QWidget* m_window;
};

std::string failureMessage(const std::string& jobName)
{
    return "Database Job '" + jobName + "' has failed." + kCrLf + kCrLf +
           "See transaction log for details: '" + transactionLogPath() + "'";
}

} // namespace

bool frmSchedule::checkSelection()
{
    if (rowCount() == 0) {
        MsgBox("You must first add and then select a Database Job before clicking this button.",
               mb::Information, kVerificationError);
        return false;
    }
    if (selectedRow() == 0) {
        MsgBox("You must first select a Database Job before clicking this button.", mb::Information,
               kVerificationError);
        return false;
    }
    return true;
}

std::vector<int> frmSchedule::selectedRows() const
{
    std::vector<int> rows;
    for (int i = 1; i <= rowCount(); ++i)
        if (row(i)->isSelected())
            rows.push_back(i);
    return rows;
}

void frmSchedule::showJobWizard(bool addJob)
{
    if (m_jobWizard)
        m_jobWizard(*this, addJob);
}

void frmSchedule::cmdAddJob_Click()
{
    trapFatal(kModule, "cmdAddJob_Click()", [&] {
        showJobWizard(true);
        updateCount();
        repaint();
    });
}

void frmSchedule::cmdEditJob_Click()
{
    trapFatal(kModule, "cmdEditJob_Click()", [&] {
        if (checkSelection())
            showJobWizard(false);
    });
}

void frmSchedule::cmdCopyJob_Click()
{
    trapFatal(kModule, "cmdCopyJob_Click()", [&] {
        if (!checkSelection())
            return;
        const QTreeWidgetItem* current = m_list->currentItem();
        const std::string path = current->text(kColJobFile).toStdString();
        const std::string copyPath =
            FilePathStripFileName(path) + "Copyof" + FilePathStripPath(path);
        const QString copyName = QStringLiteral("Copy of ") + current->text(kColName);
        if (entryExists(copyPath)) {
            MsgBox(std::string("You cannot make another copy of this Database Job until") + kCrLf +
                       "you rename the existing copy.",
                   mb::OkOnly, kVerificationError);
            return;
        }
        CDatabaseJob job;
        job.OpenDatabaseJob(path);
        job.setJobName(copyName.toStdString());
        job.SaveDatabaseJob(copyPath);
        AddItemListView(job.JobName(), job.DateLastRun(), job.DateNextRun(), job.StartTime(),
                        job.JobType(), copyPath);
        updateCount();
        repaint();
        selectRowsNamed(copyName, copyPath);
        showJobWizard(false);
    });
}

// Selects every row of that name and no other; the row of the file becomes the current one.
void frmSchedule::selectRowsNamed(const QString& name, const std::string& path)
{
    m_list->clearSelection();
    for (int i = 1; i <= rowCount(); ++i) {
        QTreeWidgetItem* item = row(i);
        if (item->text(kColName) != name)
            continue;
        if (item->text(kColJobFile).toStdString() == path)
            m_list->setCurrentItem(item, 0, QItemSelectionModel::Select);
        item->setSelected(true);
    }
}

void frmSchedule::cmdDelJob_Click()
{
    trapFatal(kModule, "cmdDelJob_Click()", [&] {
        if (!checkSelection())
            return;
        const std::vector<int> rows = selectedRows();
        if (MsgBox("Are you sure you want to delete this Database Job?", mb::YesNoCancel,
                   "Remove Confirmation") != mb::Yes)
            return;
        // From the last to the first, so the positions still to come stay valid.
        for (auto it = rows.rbegin(); it != rows.rend(); ++it) {
            m_list->setCurrentItem(row(*it));
            deleteJobFile(rowJobFile(*it));
            DeleteItemListView(*it);
        }
        updateCount();
        repaint();
    });
}

void frmSchedule::cmdBackup_Click()
{
    trapFatal(kModule, "cmdBackup_Click()", [&] {
        const DisabledWhile disabled(this);
        // The files are taken before anything runs: rows are what the user selected now.
        std::vector<std::string> files;
        for (int i : selectedRows())
            files.push_back(rowJobFile(i));
        if (!checkSelection())
            return;
        CDatabaseJob job;
        for (const std::string& file : files) {
            if (!job.OpenDatabaseJobOrSkip(file))
                continue;
            ExecuteDatabaseJobNow(job, *this);
            if (!job.Failure())
                continue;
            // Also when nobody watches the window: the note stays beside the tray icon.
            desktop().trayNotification("Database Job failed",
                                       "Database Job '" + job.JobName() +
                                           "' has failed. See the transaction log: '" +
                                           transactionLogPath() + "'");
            if (preferences().StopOnError == 0)
                continue;
            if (MsgBox(failureMessage(job.JobName()), mb::YesNoCancel | mb::Exclamation,
                       "Backup Error") == mb::Yes &&
                openInNotepad(transactionLogPath()))
                return;
        }
    });
}

void frmSchedule::mnuActionViewTransactionLog_Click()
{
    trapFatal(kModule, "mnuAcitonViewTransactionLog_Click()",
              [&] { openInNotepad(transactionLogPath()); });
}

void frmSchedule::mnuActionViewErrorLog_Click()
{
    trapFatal(kModule, "mnuActionViewErrorLog_Click()", [&] { openInNotepad(errorLogPath()); });
}

void frmSchedule::mnuFilePreferences_Click()
{
    frmPreferences dialog(this);
    dialog.exec();
}

} // namespace quorvex
