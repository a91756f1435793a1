// Set-up of the wizard's pages for a new job or from an existing job's file.

#include "ui/wizard/frm_wiz_job_definition.hpp"

#include "execution/access.hpp"
#include "jobs/database_job.hpp"
#include "support/date_text.hpp"
#include "support/desktop.hpp"
#include "support/error_handler.hpp"
#include "support/numeric.hpp"
#include "support/preferences.hpp"
#include "ui/schedule/frm_schedule.hpp"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QToolButton>
#include <QTreeWidget>

#include <cmath>
#include <functional>

namespace quorvex {

namespace {

constexpr const char* kModule = "frmWIZ_JobDefinition.frm";
constexpr std::string_view kDefaultName = "New Database Job";

QString qs(const std::string& text)
{
    return QString::fromStdString(text);
}

// A stored value that a hand-edited file made unreadable reads as -1, which no list holds.
int storedValue(const std::function<int()>& read)
{
    try {
        return read();
    } catch (const RuntimeError&) {
        return -1;
    }
}

// Selects the entry at position, or none when the list has no such entry.
void selectEntry(QComboBox* list, int position)
{
    list->setCurrentIndex(position >= 0 && position < list->count() ? position : -1);
}

} // namespace

void frmWIZ_JobDefinition::SetupForm()
{
    trapFatal(kModule, "SetupForm()", [&] {
        m_iStepNbr = 1;
        m_iFrameNbr = 1;
        m_cmbFrequency->addItems(
            {QStringLiteral("Daily"), QStringLiteral("Weekly"), QStringLiteral("Monthly")});
        for (int day = 1; day <= 28; ++day)
            m_cmbDayOfMonth->addItem(QString::number(day));
        for (int copies = 0; copies <= preferences().NumberCopies; ++copies)
            m_cmbNumberFilesToKeep->addItem(QString::number(copies));
        // The lists start without a selection, as set-up expects.
        for (QComboBox* list : {m_cmbFrequency, m_cmbDayOfMonth, m_cmbNumberFilesToKeep})
            list->setCurrentIndex(-1);
        if (m_addJob)
            setUpNewJob();
        else
            setUpExistingJob();
    });
}

void frmWIZ_JobDefinition::setUpNewJob()
{
    setWindowTitle(QStringLiteral("Add New Database Job"));
    std::string accessPath;
    if (CheckForAccess(accessPath))
        selectAction(job_type::RepairCompact);
    else
        noAccessHandling();
    m_txtDatabaseJobName->setText(qs(defaultJobName()));
    m_txtStartTime->setText(QStringLiteral("03:00"));
    m_cmbFrequency->setCurrentIndex(0);
    cmbFrequency_Click();
    m_optNoSecurity->setChecked(true);
    optNoSecurity_Click();
    m_optCompression[1]->setChecked(true);
    // Three copies; a preference below three offers fewer, and the last of them is taken.
    m_cmbNumberFilesToKeep->setCurrentIndex(std::min(3, m_cmbNumberFilesToKeep->count() - 1));
    for (QLineEdit* box :
         {m_txtRepairCompactMDB, m_txtAutoExecMDB, m_txtBackupSourceMDB, m_txtBackupTargetPath})
        box->clear();
}

void frmWIZ_JobDefinition::setUpExistingJob()
{
    // "New" is kept in the caption: users know the window by it.
    setWindowTitle(QStringLiteral("Edit New Database Job"));
    CDatabaseJob job;
    job.OpenDatabaseJob(m_schedule.rowJobFile(m_schedule.selectedRow()));

    std::string accessPath;
    if (!CheckForAccess(accessPath))
        noAccessHandling();
    else if (job.JobType() >= 1 && job.JobType() <= 3)
        selectAction(job.JobType());
    else // a hand-edited type: the first action offered
        selectAction(job_type::RepairCompact);

    m_txtDatabaseJobName->setText(qs(job.JobName()));
    m_txtStartTime->setText(qs(formatTime(job.StartTime())));
    // A frequency outside the list is shown as daily, the first entry.
    const int32_t frequency = job.Frequency();
    m_cmbFrequency->setCurrentIndex(frequency >= 1 && frequency <= 3 ? frequency - 1 : 0);
    cmbFrequency_Click();
    const int dayOfWeek = storedValue([&] { return job.DayOfWeek(); });
    for (size_t i = 0; i < m_weekdays.size(); ++i) {
        // Monday is bit 4 ... Saturday 128; Sunday is bit 2.
        const int bit = i == 6 ? 2 : 4 << i;
        m_weekdays[i]->setChecked(dayOfWeek > 0 && (dayOfWeek & bit) == bit);
    }
    // A day of the month outside the list selects none: Finish then asks for one.
    selectEntry(m_cmbDayOfMonth, storedValue([&] { return job.DayOfMonth(); }) - 1);

    QRadioButton* security = job.Security() ? m_optUserLevelSecurity : m_optNoSecurity;
    security->setChecked(true);
    setSecurityEnabled(job.Security());
    m_txtMDWFile->setText(qs(job.MDWFile()));
    m_txtUserID->setText(qs(job.UserID()));
    m_txtPassword->setText(qs(job.Password()));

    m_optCompression[job.Compress() ? 1 : 0]->setChecked(true);
    // More copies than the list offers selects its last entry; an unreadable number the first.
    const int copies = storedValue([&] { return job.NumberCopies(); });
    selectEntry(m_cmbNumberFilesToKeep,
                copies < 0 ? 0 : std::min(copies, m_cmbNumberFilesToKeep->count() - 1));
    m_txtRepairCompactMDB->setText(qs(job.RepairCompactMDB()));
    m_txtAutoExecMDB->setText(qs(job.AutoExecuteMDB()));
    m_txtBackupSourceMDB->setText(qs(job.BackupSourceMDB()));
    m_txtBackupTargetPath->setText(qs(job.BackupTargetDirectory()));
}

// Without Access only backups are offered, and the user is told once, before the window shows.
void frmWIZ_JobDefinition::noAccessHandling()
{
    m_optAction[job_type::RepairCompact]->setEnabled(false);
    m_optAction[job_type::AutoExecute]->setEnabled(false);
    selectAction(job_type::Backup);
    MsgBox(std::string("Microsoft Access has not been installed on this computer.") + kCrLf +
               "Microsoft Access is required for the Repair/Compact and " + kCrLf +
               "AutoExecute actions to function." + kCrLf + kCrLf +
               "The only action available on this system is database " + kCrLf + "backups.",
           mb::OkOnly | mb::Exclamation, "Notification");
}

// "New Database Job", or the next number after the highest listed one.
std::string frmWIZ_JobDefinition::defaultJobName() const
{
    int best = -1;
    const QTreeWidget* list = m_schedule.lvwSchedule();
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        const std::string name = list->topLevelItem(i)->text(frmSchedule::kColName).toStdString();
        if (name.compare(0, kDefaultName.size(), kDefaultName) != 0)
            continue;
        const double number =
            roundHalfEven(Val(std::string_view(name).substr(kDefaultName.size())));
        // Numbers beyond the 16-bit range that the numbering counts in are passed over.
        if (number > best && number < INT16_MAX)
            best = static_cast<int>(number);
    }
    if (best < 0)
        return std::string(kDefaultName);
    return std::string(kDefaultName) + " " + std::to_string(std::max(best, 1) + 1);
}

} // namespace quorvex
