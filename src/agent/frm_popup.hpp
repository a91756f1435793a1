#pragma once

#include <QWidget>

class QAction;
class QMenu;

namespace quorvex {

// The never-shown window that hosts the tray's popup menu "Quorvex": "Scheduled Database
// Jobs", a separator and "Exit Quorvex". It only reports which item was chosen.
class frmPopup : public QWidget {
    Q_OBJECT

public:
    explicit frmPopup(QWidget* parent = nullptr);

    QMenu* menu() const { return m_menu; }
    QAction* scheduleItem() const { return m_schedule; }
    QAction* exitItem() const { return m_exit; }

signals:
    void Schedule_Click();
    void Exit_Click();

private:
    QMenu* m_menu;
    QAction* m_schedule;
    QAction* m_exit;
};

} // namespace quorvex
