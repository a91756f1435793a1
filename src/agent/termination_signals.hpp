#pragma once

#include <QObject>

class QSocketNotifier;

namespace quorvex {

// Requests from outside to end the program (see platform/termination_requests.hpp) as a Qt
// signal. The handler only writes a byte into a pipe; the event loop reads it and emits
// terminationRequested, so nothing but the pipe write happens inside the signal handler.
class TerminationSignals : public QObject {
    Q_OBJECT

public:
    // Installs the handlers. A signal that arrives before the event loop runs waits in the
    // pipe until it does.
    static void install();
    // Puts the default handlers back and closes the pipe.
    static void uninstall();

    // Watches the pipe from now on, installing the handlers if need be.
    explicit TerminationSignals(QObject* parent = nullptr);
    ~TerminationSignals() override;

signals:
    void terminationRequested();

private:
    void readPipe();

    QSocketNotifier* m_notifier = nullptr;
};

} // namespace quorvex
