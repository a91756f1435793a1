#include "platform/process.hpp"

#include "support/error.hpp"

#include <cerrno>
#include <csignal>
#include <ctime>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace quorvex {

namespace {

// Why a start failed, in the numbers the callers log: a missing program file is 53, one that
// is there but cannot be run (no permission, a folder, not a program) is 70.
RuntimeError startError(int errnoValue)
{
    switch (errnoValue) {
    case ENOENT:
    case ENOTDIR:
        return RuntimeError::fromNumber(err::FileNotFound);
    case EACCES:
    case EPERM:
    case ENOEXEC:
    case EISDIR:
    case ETXTBSY:
        return RuntimeError::fromNumber(err::PermissionDenied);
    default:
        return RuntimeError::fromErrno(errnoValue);
    }
}

// The program file to start; checked here so that the failure is known before anything runs.
std::string programFileOf(const std::vector<std::string>& argv)
{
    if (argv.empty())
        throw RuntimeError::fromNumber(err::FileNotFound);
    const std::optional<std::string> file = locateProgramFile(argv.front());
    if (!file)
        throw RuntimeError::fromNumber(err::FileNotFound);
    if (access(file->c_str(), X_OK) != 0)
        throw startError(errno);
    return *file;
}

// The child starts with no blocked signals and the usual dispositions, whatever the agent
// has set up for itself.
class SpawnAttributes {
public:
    SpawnAttributes()
    {
        posix_spawnattr_init(&m_attr);
        sigset_t none;
        sigemptyset(&none);
        posix_spawnattr_setsigmask(&m_attr, &none);
        sigset_t reset;
        sigemptyset(&reset);
        for (int signal : {SIGCHLD, SIGHUP, SIGINT, SIGPIPE, SIGQUIT, SIGTERM})
            sigaddset(&reset, signal);
        posix_spawnattr_setsigdefault(&m_attr, &reset);
        posix_spawnattr_setflags(&m_attr, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    }
    ~SpawnAttributes() { posix_spawnattr_destroy(&m_attr); }
    SpawnAttributes(const SpawnAttributes&) = delete;
    SpawnAttributes& operator=(const SpawnAttributes&) = delete;

    const posix_spawnattr_t* get() const { return &m_attr; }

private:
    posix_spawnattr_t m_attr;
};

// A hidden program's output goes nowhere, as a hidden console window shows it to no one; so
// zip's verbose lines never reach the agent's terminal or the mail of a cron job.
class SpawnOutput {
public:
    explicit SpawnOutput(bool discarded)
    {
        posix_spawn_file_actions_init(&m_actions);
        if (!discarded)
            return;
        for (int stream : {STDOUT_FILENO, STDERR_FILENO})
            posix_spawn_file_actions_addopen(&m_actions, stream, "/dev/null", O_WRONLY, 0);
    }
    ~SpawnOutput() { posix_spawn_file_actions_destroy(&m_actions); }
    SpawnOutput(const SpawnOutput&) = delete;
    SpawnOutput& operator=(const SpawnOutput&) = delete;

    const posix_spawn_file_actions_t* get() const { return &m_actions; }

private:
    posix_spawn_file_actions_t m_actions;
};

} // namespace

Process::Process(const std::string& commandLine, int showState)
{
    const std::vector<std::string> argv = splitCommandLine(commandLine);
    const std::string file = programFileOf(argv);
    std::vector<char*> args;
    for (const std::string& arg : argv)
        args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);

    // glibc's posix_spawn reports a failing exec through its result, so a start that fails
    // is known here and never looks like a program that ran and ended.
    const SpawnAttributes attributes;
    const SpawnOutput output(showState == kHiddenWindow);
    const int result =
        posix_spawn(&m_pid, file.c_str(), output.get(), attributes.get(), args.data(), environ);
    if (result != 0)
        throw startError(result);
    // A descriptor that becomes readable at the child's end lets the wait sleep without
    // polling; kernels without it fall back to short sleeps. The system call is made directly
    // because glibc 2.36's pidfd_open is not declared for C++.
    m_pidFd = static_cast<int>(syscall(SYS_pidfd_open, m_pid, 0));
}

Process::~Process()
{
    if (m_pidFd >= 0)
        close(m_pidFd);
}

std::optional<int32_t> Process::exitStatus()
{
    if (m_exitStatus)
        return m_exitStatus;
    int status = 0;
    pid_t ended;
    do {
        ended = waitpid(m_pid, &status, WNOHANG);
    } while (ended < 0 && errno == EINTR);
    if (ended < 0)
        throwLastOsError();
    if (ended == 0)
        return std::nullopt;
    m_exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return m_exitStatus;
}

void Process::waitForExit(int milliseconds)
{
    if (m_exitStatus)
        return;
    if (m_pidFd >= 0) {
        pollfd ended{m_pidFd, POLLIN, 0};
        poll(&ended, 1, milliseconds);
        return;
    }
    const timespec pause{milliseconds / 1000, (milliseconds % 1000) * 1000000L};
    nanosleep(&pause, nullptr);
}

} // namespace quorvex
