#include "agent/qt_desktop.hpp"

#include "agent/sys_tray.hpp"
#include "support/app_info.hpp"

#include <QAbstractButton>
#include <QApplication>
#include <QCursor>
#include <QDir>
#include <QFileDialog>

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

// The dialogs belong to the window the user works in (the wizard), so they stay above it.
QWidget* dialogOwner()
{
    if (QWidget* modal = QApplication::activeModalWidget())
        return modal;
    return QApplication::activeWindow();
}

// Qt reads a type's patterns from the parentheses of its description.
QString nameFilter(const OpenFileRequest::Filter& filter)
{
    const QString description = QString::fromStdString(filter.description);
    const QString pattern = QString::fromStdString(filter.pattern);
    if (description.contains(QLatin1Char('(') + pattern + QLatin1Char(')')))
        return description;
    return description + QStringLiteral(" (") + pattern + QLatin1Char(')');
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

std::optional<std::string> QtDesktop::openFileName(const OpenFileRequest& request)
{
    QFileDialog dialog(dialogOwner(), QString::fromStdString(request.title),
                       QString::fromStdString(request.initialDirectory));
    dialog.setObjectName(QStringLiteral("dlgOpenFile"));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    // Any name may be typed; the caller says when it does not exist and asks again.
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setFilter(dialog.filter() | QDir::Hidden);
    QStringList filters;
    for (const OpenFileRequest::Filter& filter : request.filters)
        filters << nameFilter(filter);
    dialog.setNameFilters(filters);
    QString suffix = QString::fromStdString(request.defaultExtension);
    suffix.remove(QLatin1Char('*')).remove(QLatin1Char('.'));
    dialog.setDefaultSuffix(suffix);
    if (!request.fileName.empty())
        dialog.selectFile(QString::fromStdString(request.fileName));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return QDir::toNativeSeparators(dialog.selectedFiles().constFirst()).toStdString();
}

std::optional<std::string> QtDesktop::chooseFolder(const std::string& prompt)
{
    const QString folder = QFileDialog::getExistingDirectory(
        dialogOwner(), QString::fromStdString(prompt), QDir::homePath());
    if (folder.isEmpty())
        return std::nullopt;
    return QDir::toNativeSeparators(folder).toStdString();
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

void QtDesktop::trayNotification(const std::string& title, const std::string& text)
{
    if (m_tray)
        m_tray->showNotification(QString::fromStdString(title), QString::fromStdString(text));
}

void QtDesktop::beep()
{
    QApplication::beep();
}

} // namespace quorvex
