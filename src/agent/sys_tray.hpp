#pragma once

#include <QObject>
#include <QSystemTrayIcon>

#include <memory>

class QPoint;

namespace quorvex {

class frmPopup;

// The notification-area icon and its popup menu. The icon reports clicks as the classic
// notification codes; the menu reports the chosen item. Everything else is the owner's.
class SysTrayApp : public QObject {
    Q_OBJECT

public:
    // Codes of the classic tray callback that matter here.
    static constexpr int kMouseMove = 512;
    static constexpr int kLeftButtonDown = 513;
    static constexpr int kLeftButtonDoubleClick = 515;
    static constexpr int kRightButtonUp = 517;
    static constexpr int kMiddleButtonDown = 519;

    explicit SysTrayApp(QObject* parent = nullptr);
    ~SysTrayApp() override;

    // Shows the icon with the window's icon and caption as its tip, and hides the window.
    void SystemTrayAddIcon(QWidget& window);
    // Removes the icon; nothing happens when there is none.
    void SystemTrayDeleteIcon();
    bool hasIcon() const { return m_icon && m_icon->isVisible(); }
    // A note beside the icon, while it is shown; a click on it opens the transaction log.
    void showNotification(const QString& title, const QString& text);
    QSystemTrayIcon* icon() const { return m_icon.get(); }

    frmPopup& popup() const { return *m_popup; }
    // Pops the menu up with its right edge at the point; returns when the menu has closed,
    // after the chosen item's signal.
    void popUpMenu(const QPoint& at);

    static int notificationCode(QSystemTrayIcon::ActivationReason reason);

signals:
    void notification(int code);
    void scheduleRequested();
    void exitRequested();

private:
    std::unique_ptr<frmPopup> m_popup;
    std::unique_ptr<QSystemTrayIcon> m_icon;
};

} // namespace quorvex
