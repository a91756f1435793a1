#include "agent/termination_signals.hpp"

#include "platform/termination_requests.hpp"
#include "support/error.hpp"

#include <QSocketNotifier>

#include <array>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace quorvex {

namespace {

std::array<int, 2> g_pipe{-1, -1};

void onTerminationRequest()
{
    const int saved = errno;
    const char byte = 1;
    // A full pipe already holds a request; nothing more to say.
    [[maybe_unused]] const ssize_t written = ::write(g_pipe[1], &byte, 1);
    errno = saved;
}

} // namespace

void TerminationSignals::install()
{
    if (g_pipe[0] >= 0)
        return;
    if (::pipe2(g_pipe.data(), O_CLOEXEC | O_NONBLOCK) != 0)
        throwLastOsError();
    setTerminationHandler(onTerminationRequest);
}

void TerminationSignals::uninstall()
{
    if (g_pipe[0] < 0)
        return;
    restoreDefaultTermination();
    ::close(g_pipe[0]);
    ::close(g_pipe[1]);
    g_pipe = {-1, -1};
}

TerminationSignals::TerminationSignals(QObject* parent) : QObject(parent)
{
    install();
    m_notifier = new QSocketNotifier(g_pipe[0], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &TerminationSignals::readPipe);
}

TerminationSignals::~TerminationSignals() = default;

void TerminationSignals::readPipe()
{
    std::array<char, 64> bytes{};
    while (::read(g_pipe[0], bytes.data(), bytes.size()) > 0) {
    }
    emit terminationRequested();
}

} // namespace quorvex
