#include "ui/schedule/notepad.hpp"

#include <QProcess>

namespace quorvex {

bool openInNotepad(const std::string& file)
{
    return QProcess::startDetached(QStringLiteral("xdg-open"), {QString::fromStdString(file)});
}

} // namespace quorvex
