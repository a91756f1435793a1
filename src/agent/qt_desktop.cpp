#include "agent/qt_desktop.hpp"

#include "support/app_info.hpp"

#include <QAbstractButton>
#include <QApplication>
#include <QCursor>

namespace quorvex {

namespace {

using Button = QMessageBox::StandardButton;

std::vector<Button> buttonsFor(int style)
{
    switch (style & mb::ButtonsMask) {
    case mb::OkCancel:
        return {QMessageBox::Ok, QMessageBox::Cancel};
    case mb::AbortRetryIgnore:
        return {QMessageBox::Abort, QMessageBox::Retry, QMessageBox::Ignore};
    case mb::YesNoCancel:
        return {QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel};
    case mb::YesNo:
        return {QMessageBox::Yes, QMessageBox::No};
    case mb::RetryCancel:
        return {QMessageBox::Retry, QMessageBox::Cancel};
    default:
        return {QMessageBox::Ok};
    }
}

QMessageBox::Icon iconFor(int style)
{
    switch (style & mb::IconMask) {
    case mb::Critical:
        return QMessageBox::Critical;
    case mb::Question:
        return QMessageBox::Question;
    case mb::Exclamation:
        return QMessageBox::Warning;
    case mb::Information:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

// Message texts break lines with CR LF; Qt wants plain line feeds.
QString plainLines(const std::string& text)
{
    return QString::fromStdString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

} // namespace

QtDesktop::BoxLayout QtDesktop::layoutFor(int style)
{
    BoxLayout layout;
    layout.buttons = buttonsFor(style);
    layout.icon = iconFor(style);
    const int wanted = (style & mb::DefaultButton3) ? 2 : (style & mb::DefaultButton2) ? 1 : 0;
    // A default beyond the last button falls back to the first, as the classic box does.
    layout.defaultIndex = wanted < static_cast<int>(layout.buttons.size()) ? wanted : 0;
    return layout;
}

int QtDesktop::answerFor(QMessageBox::StandardButton button, int style)
{
    switch (button) {
    case QMessageBox::Ok:
        return mb::Ok;
    case QMessageBox::Cancel:
        return mb::Cancel;
    case QMessageBox::Abort:
        return mb::Abort;
    case QMessageBox::Retry:
        return mb::Retry;
    case QMessageBox::Ignore:
        return mb::Ignore;
    case QMessageBox::Yes:
        return mb::Yes;
    case QMessageBox::No:
        return mb::No;
    default:
        return ConsoleDesktop::cautiousAnswer(style);
    }
}

QtDesktop::~QtDesktop()
{
    setBusyPointer(false);
}

int QtDesktop::messageBox(const std::string& text, int style, const std::string& title)
{
    const BoxLayout layout = layoutFor(style);
    // No parent: the schedule window is disabled while jobs run, and a box owned by it
    // would be disabled with it.
    QMessageBox box;
    box.setWindowTitle(QString::fromStdString(title.empty() ? app().title : title));
    box.setTextFormat(Qt::PlainText);
    box.setText(plainLines(text));
    box.setIcon(layout.icon);
    for (Button button : layout.buttons)
        box.addButton(button);
    box.setDefaultButton(layout.buttons[static_cast<size_t>(layout.defaultIndex)]);
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
    QAbstractButton* clicked = box.clickedButton();
    return answerFor(clicked ? box.standardButton(clicked) : QMessageBox::NoButton, style);
}

void QtDesktop::doEvents()
{
    QCoreApplication::processEvents();
}

void QtDesktop::setBusyPointer(bool busy)
{
    if (busy == m_busy)
        return;
    m_busy = busy;
    if (busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

void QtDesktop::beep()
{
    QApplication::beep();
}

} // namespace quorvex
