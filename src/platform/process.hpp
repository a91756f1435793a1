#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quorvex {

// The words of a command line after the program, by the rules Windows programs parse their
// own command line with: blanks and tabs separate, double quotes group (two double quotes
// inside a quoted part give one), and backslashes are literal unless they precede a double
// quote: 2n of them give n and the quote groups, 2n+1 give n and a literal quote.
std::vector<std::string> splitArguments(std::string_view text);

// The program file a name stands for: a name with a separator is taken as it is, a bare name
// is searched along PATH (as execvp does; Windows would also look in the current and the
// system folders, which mean nothing here). Nothing when no such file (not a folder) exists.
std::optional<std::string> locateProgramFile(const std::string& name);

// The argument vector a command line starts: the program as written, then splitArguments of
// the rest. A quoted program runs to the closing quote. An unquoted one that holds blanks is
// resolved as Windows resolves it: the shortest blank-separated prefix that names an existing
// file; when none does, the first word.
std::vector<std::string> splitCommandLine(std::string_view commandLine);

// The show state of a window that is never shown (0 to 6 in the Windows numbering).
constexpr int kHiddenWindow = 0;

// A program started from a command line, never through a shell. Of the show states only the
// hidden one has an effect here: the program's output and errors are discarded.
class Process {
public:
    // Starts the program and returns at once. A start that fails throws its RuntimeError:
    // 53 when the program file does not exist, 70 when it cannot be executed.
    Process(const std::string& commandLine, int showState);
    ~Process();
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    int id() const { return m_pid; }
    // The exit code once the program has ended, nothing while it runs. A program ended by a
    // signal gives 128 plus the signal's number, as shells report it, so it never reads as
    // success.
    std::optional<int32_t> exitStatus();
    // Blocks until the program ends or the milliseconds have passed, whichever comes first.
    void waitForExit(int milliseconds);

private:
    int m_pid = -1;
    int m_pidFd = -1;
    std::optional<int32_t> m_exitStatus;
};

} // namespace quorvex
