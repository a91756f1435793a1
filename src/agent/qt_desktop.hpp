#pragma once

#include "support/desktop.hpp"

#include <QMessageBox>

#include <vector>

namespace quorvex {

class SysTrayApp;

// The desktop of the agent: Qt message boxes in the classic numbering, Qt's pending events,
// the override cursor as the busy pointer.
class QtDesktop final : public Desktop {
public:
    // What a classic style asks of a box: its buttons in their classic order, the index of the
    // default one and the icon.
    struct BoxLayout {
        std::vector<QMessageBox::StandardButton> buttons;
        int defaultIndex = 0;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
    };
    static BoxLayout layoutFor(int style);
    // The classic answer for a Qt button; a box closed without an answer (the program ending
    // under it) gives the cautious answer of its style.
    static int answerFor(QMessageBox::StandardButton button, int style);

    ~QtDesktop() override;

    int messageBox(const std::string& text, int style, const std::string& title) override;
    std::optional<std::string> openFileName(const OpenFileRequest& request) override;
    std::optional<std::string> chooseFolder(const std::string& prompt) override;
    void doEvents() override;
    void setBusyPointer(bool busy) override;
    void beep() override;
    void trayNotification(const std::string& title, const std::string& text) override;

    // Where notifications go; none until the agent has its icon.
    void setTray(SysTrayApp* tray) { m_tray = tray; }

private:
    bool m_busy = false;
    SysTrayApp* m_tray = nullptr;
};

} // namespace quorvex
