#include "agent/frm_main.hpp"

#include "agent/sys_tray.hpp"
#include "jobs/database_job.hpp"
#include "support/clock.hpp"
#include "support/date_text.hpp"
#include "support/date_time.hpp"
#include "support/error_handler.hpp"
#include "support/transaction_log.hpp"
#include "ui/icons.hpp"
#include "ui/schedule/frm_schedule.hpp"

#include <QTimer>

#include <algorithm>

namespace quorvex {

namespace {

constexpr const char* kModule = "frmMain.frm";

// Sets a busy flag for one scope and clears it on every way out.
class BusyScope {
public:
    explicit BusyScope(bool& flag) : m_flag(flag) { m_flag = true; }
    ~BusyScope() { m_flag = false; }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    bool& m_flag;
};

} // namespace

frmMain::frmMain(frmSchedule& schedule, QWidget* parent)
    : QWidget(parent), m_schedule(schedule), m_timer(new QTimer(this))
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Quorvex"));
    setWindowIcon(icons::application());
    m_timer->setObjectName(QStringLiteral("tmrCheckForDatabaseJob"));
    m_timer->setInterval(kCheckInterval);
    connect(m_timer, &QTimer::timeout, this, &frmMain::tmrCheckForDatabaseJob_Timer);
}

frmMain::~frmMain() = default;

void frmMain::Form_Load(bool silent)
{
    m_timer->start();
    if (!silent) {
        // Shown means activated too, as a desktop with a window manager does by itself; the
        // window counts its rows on its first activation.
        m_schedule.show();
        m_schedule.activateWindow();
    }
}

void frmMain::tmrCheckForDatabaseJob_Timer()
{
    trapFatal(kModule, "tmrCheckForDatabaseJob_Timer()", [&] {
        if (m_schedule.rowCount() == 0 || m_schedule.isVisible() || m_checkBusy)
            return;
        // Until the earliest row is due, a tick reads no row at all.
        const DateTime now = Now();
        if (now <= m_schedule.earliestDueMoment())
            return;
        BusyScope busy(m_checkBusy);
        const int rows = m_schedule.rowCount();
        // Rows added meanwhile wait for the next pass; rows removed meanwhile are not read.
        // Once Exit has stopped the timer, no further job of the pass is started.
        for (int i = 1; i <= std::min(rows, m_schedule.rowCount()) && m_timer->isActive(); ++i) {
            m_schedule.clearSelection();
            if (now > m_schedule.rowDueMoment(i))
                runDueJob(i);
        }
    });
}

// The last run is saved and the row moved on before the job runs, so a job that fails or is
// cut short is not retried before its following occurrence.
void frmMain::runDueJob(int row)
{
    if (const std::optional<DateTime> missed = m_schedule.rowMissedRun(row))
        LogEvent("Making up the run missed at " + formatDate(*missed) + " " + formatTime(*missed));
    const std::string file = m_schedule.rowJobFile(row);
    CDatabaseJob job;
    if (!job.OpenDatabaseJobOrSkip(file)) {
        // A file gone bad since start-up is reported once: its row waits for a restart.
        m_schedule.setRowRuns(row, m_schedule.rowDateLastRun(row),
                              DateTime::fromDate(9999, 12, 31));
        return;
    }
    job.setDateLastRun(Today());
    job.SaveDatabaseJob(file);
    m_schedule.setRowRuns(row, job.DateLastRun(), job.DateNextRun());
    m_schedule.selectOnlyRow(row);
    m_schedule.cmdBackup_Click();
    m_schedule.hide();
}

void frmMain::Form_MouseMove(int code)
{
    trapFatal(kModule, "Form_MouseMove()", [&] {
        m_lastNotification = code;
        if (m_trayBusy)
            return;
        BusyScope busy(m_trayBusy);
        // Qt's popup menu takes the input focus by itself, so the hidden window need not be
        // brought to the foreground first.
        if (code == SysTrayApp::kLeftButtonDown || code == SysTrayApp::kRightButtonUp)
            emit popupMenuRequested();
    });
}

} // namespace quorvex
