#include "ui/schedule/notepad.hpp"

#include "support/desktop.hpp"

#include <QCoreApplication>
#include <QProcess>

#include <fstream>

namespace quorvex {

namespace {

// What xdg-open's exit codes mean.
std::string openerFailure(int exitCode)
{
    switch (exitCode) {
    case 2:
        return "The file does not exist.";
    case 3:
        return "No program to show text files is installed (xdg-open found no viewer).";
    case 4:
        return "The viewer could not open it.";
    default:
        return "The viewer ended with error code " + std::to_string(exitCode) + ".";
    }
}

void tellFailure(const std::string& file, const std::string& reason)
{
    MsgBox("Quorvex could not show '" + file + "'." + kCrLf + kCrLf + reason,
           mb::OkOnly | mb::Exclamation, "Viewer Error");
}

} // namespace

bool openInNotepad(const std::string& file)
{
    std::ofstream(file, std::ios::app).close();
    auto* opener = new QProcess(QCoreApplication::instance());
    opener->setProgram(QStringLiteral("xdg-open"));
    opener->setArguments({QString::fromStdString(file)});
    opener->setStandardOutputFile(QProcess::nullDevice());
    opener->setStandardErrorFile(QProcess::nullDevice());
    opener->start();
    if (!opener->waitForStarted()) {
        delete opener;
        tellFailure(file, "The desktop's opener xdg-open (package xdg-utils) could not be "
                          "started.");
        return false;
    }
    // The opener hands the file to the viewer and ends; its verdict arrives later.
    QObject::connect(opener, &QProcess::finished, opener,
                     [opener, file](int exitCode, QProcess::ExitStatus status) {
                         opener->deleteLater();
                         if (status != QProcess::NormalExit || exitCode != 0)
                             tellFailure(file, openerFailure(exitCode));
                     });
    return true;
}

} // namespace quorvex
