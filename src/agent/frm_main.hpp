#pragma once

#include <QWidget>

class QTimer;

namespace quorvex {

class DateTime;
class frmSchedule;

// The hidden main window: it carries the due-job timer and takes the tray icon's clicks.
class frmMain : public QWidget {
    Q_OBJECT

public:
    static constexpr int kCheckInterval = 5000;

    explicit frmMain(frmSchedule& schedule, QWidget* parent = nullptr);
    ~frmMain() override;

    // Starts the timer and, unless silent, shows the schedule window.
    void Form_Load(bool silent);

    QTimer* tmrCheckForDatabaseJob() const { return m_timer; }
    // One tick: runs every job whose next run plus start time has passed. Nothing happens
    // while the list is empty, the schedule window is visible or an earlier pass still runs.
    void tmrCheckForDatabaseJob_Timer();
    bool checkInProgress() const { return m_checkBusy; }

    // A notification of the tray icon: a left press or a right release asks for the menu.
    void Form_MouseMove(int code);
    int lastNotification() const { return m_lastNotification; }

signals:
    // Emitted from within Form_MouseMove; the receiver shows the menu and returns when it
    // has closed.
    void popupMenuRequested();

private:
    void runDueJob(int row);

    frmSchedule& m_schedule;
    QTimer* m_timer;
    bool m_checkBusy = false;
    bool m_trayBusy = false;
    int m_lastNotification = 0;
};

} // namespace quorvex
