#include "ui/launch.hpp"

#include "platform/process.hpp"

#include <QProcess>
#include <QStringList>

namespace quorvex {

long long startCommandLine(const std::string& commandLine)
{
    const std::vector<std::string> words = splitCommandLine(commandLine);
    if (words.empty())
        return 0;
    QStringList arguments;
    for (size_t i = 1; i < words.size(); ++i)
        arguments << QString::fromStdString(words[i]);
    qint64 pid = 0;
    if (!QProcess::startDetached(QString::fromStdString(words.front()), arguments, QString(), &pid))
        return 0;
    return pid;
}

} // namespace quorvex
