// Finish: the checks of the entries, the job file and the schedule window's row.

#include "ui/wizard/frm_wiz_job_definition.hpp"

#include "jobs/database_job.hpp"
#include "jobs/job_directory.hpp"
#include "platform/file_attributes.hpp"
#include "support/app_info.hpp"
#include "support/clock.hpp"
#include "support/date_text.hpp"
#include "support/desktop.hpp"
#include "support/error_handler.hpp"
#include "support/files.hpp"
#include "support/numeric.hpp"
#include "support/preferences.hpp"
#include "ui/schedule/frm_schedule.hpp"
#include "ui/wizard/browse.hpp"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>

#include <cerrno>
#include <cstring>
#include <filesystem>

namespace quorvex {

namespace {

constexpr const char* kModule = "frmWIZ_JobDefinition.frm";
constexpr const char* kVerificationError = "Verification Error";

std::string text(const QLineEdit* box)
{
    return box->text().toStdString();
}

// The hourglass for the life of Finish, whichever way it ends.
class BusyPointer {
public:
    BusyPointer() { desktop().setBusyPointer(true); }
    ~BusyPointer() { desktop().setBusyPointer(false); }
    BusyPointer(const BusyPointer&) = delete;
    BusyPointer& operator=(const BusyPointer&) = delete;
};

} // namespace

void frmWIZ_JobDefinition::cmdFinish_Click()
{
    trapFatal(kModule, "cmdFinish_Click()", [&] {
        const BusyPointer busy;
        if (const std::string problem = nameProblem(); !problem.empty()) {
            returnToPage(problem, 1, 1);
            return;
        }
        if (const std::optional<PageProblem> problem = pageProblem()) {
            returnToPage(problem->message, problem->step, problem->page);
            return;
        }
        if (selectedAction() == 0) {
            MsgBox("There must be a job type selected", mb::OkOnly | mb::Critical,
                   "Fatal Assertion Error");
            return;
        }
        if (saveJob())
            accept();
    });
}

void frmWIZ_JobDefinition::returnToPage(const std::string& message, int step, int page)
{
    MsgBox(message, mb::Information, kVerificationError);
    m_iStepNbr = step;
    m_iFrameNbr = page;
    m_cmdBack->setEnabled(step > 1);
    Form_Paint();
}

// The name must differ from every other listed job's, and so must the file it gives.
std::string frmWIZ_JobDefinition::nameProblem() const
{
    const std::string name = text(m_txtDatabaseJobName);
    const std::string fileName = jobFileName(name);
    const std::string path = DatabaseJobsPath() + fileName;
    const int edited = m_addJob ? 0 : m_schedule.selectedRow();
    for (int row = 1; row <= m_schedule.rowCount(); ++row) {
        if (row == edited)
            continue;
        const std::string listed = m_schedule.lvwSchedule()
                                       ->topLevelItem(row - 1)
                                       ->text(frmSchedule::kColName)
                                       .toStdString();
        if (name == listed)
            return "This name has already been used; please enter a different name.";
        // Also a listed job whose file is not named after it keeps its file.
        if (!fileName.empty() &&
            (fileName == jobFileName(listed) || path == m_schedule.rowJobFile(row)))
            return "A derivative of this name has already been used; please enter a different "
                   "name.";
    }
    return {};
}

bool frmWIZ_JobDefinition::weekdayTicked() const
{
    for (const QCheckBox* day : m_weekdays)
        if (day->isChecked())
            return true;
    return false;
}

std::optional<frmWIZ_JobDefinition::PageProblem> frmWIZ_JobDefinition::pageProblem() const
{
    const std::string blankName =
        "The Database Job Name must not be blank.  Please enter a name now.";
    const QString frequency = m_cmbFrequency->currentText();
    const int action = selectedAction();
    const bool backup = action == job_type::Backup;
    const bool security = m_optUserLevelSecurity->isChecked();
    const std::string source = text(m_txtBackupSourceMDB);
    const std::string target = text(m_txtBackupTargetPath);
    const bool sourceHasFolder = source.find(kPathSeparator) != std::string::npos;

    // A name made only of characters that file names drop would give the file ".tsk".
    if (m_txtDatabaseJobName->text().isEmpty() || jobFileName(text(m_txtDatabaseJobName)).empty())
        return PageProblem{blankName, 2, 2};
    // The start time is checked when the box is left; a time that slipped past goes back too.
    try {
        parseTime(text(m_txtStartTime));
    } catch (const RuntimeError&) {
        return PageProblem{std::string(m_txtStartTime->text().isEmpty()
                                           ? "The Start Time field cannot be left blank."
                                           : "The time you entered is not valid.") +
                               "  Please correct the value now using the format 'hh:mm' where "
                               "between 00:00 - 23:59.",
                           3, 3};
    }
    if ((frequency == QLatin1String("Daily") || frequency == QLatin1String("Weekly")) &&
        !weekdayTicked())
        return PageProblem{"For a Frequency set to Daily or Weekly, you must select at least one "
                           "day of the week from the checkboxes provided.  Please make a "
                           "selection now.",
                           3, 3};
    if (frequency == QLatin1String("Monthly") && m_cmbDayOfMonth->currentIndex() < 0)
        return PageProblem{"For a Frequency set to Monthly, you must select a day of the month "
                           "from the drop down box provided.  Please make a selection now.",
                           3, 3};
    if (action == job_type::RepairCompact && m_txtRepairCompactMDB->text().isEmpty())
        return PageProblem{"The Repair & Compact database filename is blank.  Please select a "
                           "filename now.",
                           5, 5};
    if (action == job_type::AutoExecute && m_txtAutoExecMDB->text().isEmpty())
        return PageProblem{"The AutoExecute database filename is blank.  Please select a "
                           "filename now.",
                           5, 6};
    if (backup && source.empty())
        return PageProblem{"The Backup source database filename is blank.  Please select a "
                           "filename now.",
                           5, 7};
    if (backup && target.empty())
        return PageProblem{"The Backup target directory is blank.  Please select a directory now.",
                           5, 7};
    if (security && m_txtMDWFile->text().isEmpty())
        return PageProblem{"The MDW File is blank.  Please select a security file now.", 4, 4};
    if (security && !isPlainFile(text(m_txtMDWFile)))
        return PageProblem{
            "The MDW File entered does not exist.  Please select a security file now.", 4, 4};
    if (security && m_txtUserID->text().isEmpty())
        return PageProblem{
            "The user ID is blank.  Please enter a user ID for the security file now.", 4, 4};
    if (security && m_txtPassword->text().isEmpty())
        return PageProblem{"The password is blank.  Please enter a password for the security file "
                           "now.",
                           4, 4};
    if (backup && sourceHasFolder && target == FilePathStripFileName(source))
        return PageProblem{"The Backup Target Path must be different from the path of the Source "
                           "MDB file.",
                           5, 7};
    return std::nullopt;
}

// Writes the job file, then brings the list up to date; false, with the reason told, when
// the file could not be written, which leaves the list and every file as they were.
bool frmWIZ_JobDefinition::saveJob()
{
    CDatabaseJob job;
    job.setJobName(text(m_txtDatabaseJobName));
    job.setJobType(static_cast<int16_t>(selectedAction()));
    job.setStartTime(parseTime(text(m_txtStartTime)));
    job.setFrequency(m_cmbFrequency->currentIndex() + 1);
    job.setDayOfMonth(toInt16(Val(m_cmbDayOfMonth->currentText().toStdString())));
    job.setCompress(m_optCompression[1]->isChecked());
    job.setNumberCopies(toInt16(Val(m_cmbNumberFilesToKeep->currentText().toStdString())));
    job.setAutoExecuteMDB(text(m_txtAutoExecMDB));
    job.setBackupSourceMDB(text(m_txtBackupSourceMDB));
    job.setBackupTargetDirectory(text(m_txtBackupTargetPath));
    job.setRepairCompactMDB(text(m_txtRepairCompactMDB));
    job.setSecurity(m_optUserLevelSecurity->isChecked());
    job.setMDWFile(text(m_txtMDWFile));
    job.setUserID(text(m_txtUserID));
    job.setPassword(text(m_txtPassword));
    job.setDateLastRun(Today());
    const auto ticked = [this](size_t day) { return m_weekdays[day]->isChecked(); };
    job.SetDayOfWeek(ticked(0), ticked(1), ticked(2), ticked(3), ticked(4), ticked(5), ticked(6));

    const std::string path = DatabaseJobsPath() + jobFileName(job.JobName());
    std::error_code folderError;
    std::filesystem::create_directory(app().dataDirectory + kPathSeparator + "DatabaseJobs",
                                      folderError);
    const int error = folderError ? folderError.value() : job.SaveDatabaseJob(path);
    if (error != 0) {
        MsgBox("The Database Job could not be saved to '" + path + "'." + kCrLf + kCrLf +
                   std::strerror(error),
               mb::OkOnly | mb::Exclamation, "Save Error");
        return false;
    }

    if (m_addJob) {
        m_schedule.AddItemListView(job.JobName(), job.DateLastRun(), job.DateNextRun(),
                                   job.StartTime(), job.JobType(), path);
        return true;
    }
    const int row = m_schedule.selectedRow();
    // A renamed job's previous file goes only now that the new one is written.
    if (const std::string previous = m_schedule.rowJobFile(row); previous != path)
        deleteJobFile(previous);
    m_schedule.setRow(row, job.JobName(), job.DateLastRun(), job.DateNextRun(), job.StartTime(),
                      job.JobType(), path);
    return true;
}

} // namespace quorvex
