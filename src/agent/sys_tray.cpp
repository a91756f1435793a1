#include "agent/sys_tray.hpp"

#include "agent/frm_popup.hpp"
#include "support/error_handler.hpp"
#include "support/transaction_log.hpp"
#include "ui/schedule/notepad.hpp"

#include <QMenu>

#include <iostream>

namespace quorvex {

namespace {
// The classic tip field holds 64 characters with the closing NUL.
constexpr int kTipLength = 63;
} // namespace

SysTrayApp::SysTrayApp(QObject* parent) : QObject(parent), m_popup(std::make_unique<frmPopup>())
{
    connect(m_popup.get(), &frmPopup::Schedule_Click, this, &SysTrayApp::scheduleRequested);
    connect(m_popup.get(), &frmPopup::Exit_Click, this, &SysTrayApp::exitRequested);
}

SysTrayApp::~SysTrayApp() = default;

void SysTrayApp::SystemTrayAddIcon(QWidget& window)
{
    trapFatal("libSysTrayApp.bas", "SystemTrayAddIcon()", [&] {
        m_icon = std::make_unique<QSystemTrayIcon>(window.windowIcon());
        m_icon->setToolTip(window.windowTitle().left(kTipLength));
        // Queued: the menu, and the Exit chosen from it, must not run inside the icon's own
        // mouse handler, since removing the icon destroys the widget that handler runs in.
        connect(
            m_icon.get(), &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) {
                emit notification(notificationCode(reason));
            },
            Qt::QueuedConnection);
        // The only notes shown are of failed runs, whose story is in the transaction log.
        connect(
            m_icon.get(), &QSystemTrayIcon::messageClicked, this,
            [] { openInNotepad(transactionLogPath()); }, Qt::QueuedConnection);
        // Without a notification area the agent still runs its jobs; the icon appears by
        // itself should a tray host start later.
        if (!QSystemTrayIcon::isSystemTrayAvailable())
            std::cerr << "quorvex: no notification area found; due jobs run all the same"
                      << std::endl;
        m_icon->show();
        window.hide();
    });
}

void SysTrayApp::showNotification(const QString& title, const QString& text)
{
    if (hasIcon())
        m_icon->showMessage(title, text, QSystemTrayIcon::Warning);
}

// The icon object itself stays until the end: hiding it is what takes it off the tray.
void SysTrayApp::SystemTrayDeleteIcon()
{
    if (m_icon) {
        m_icon->disconnect(this);
        m_icon->hide();
    }
}

void SysTrayApp::popUpMenu(const QPoint& at)
{
    QMenu* menu = m_popup->menu();
    menu->exec(at - QPoint(menu->sizeHint().width(), 0));
}

int SysTrayApp::notificationCode(QSystemTrayIcon::ActivationReason reason)
{
    switch (reason) {
    case QSystemTrayIcon::Trigger:
        return kLeftButtonDown;
    case QSystemTrayIcon::Context:
        return kRightButtonUp;
    case QSystemTrayIcon::DoubleClick:
        return kLeftButtonDoubleClick;
    case QSystemTrayIcon::MiddleClick:
        return kMiddleButtonDown;
    default:
        return kMouseMove;
    }
}

} // namespace quorvex
