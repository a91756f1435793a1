#pragma once

#include <optional>
#include <span>
#include <string>

namespace quorvex::ctl {

// Exit status for a command line that quorvexctl does not understand.
inline constexpr int kUsageStatus = 2;

// Options every command takes.
struct CommonOptions {
    // The application directory; empty for the program's own folder.
    std::string appDir;
};

// Reads "--app-dir DIR" from the command's arguments; nothing when anything else is there.
std::optional<CommonOptions> parseCommonOptions(std::span<char* const> args);

// Makes quorvexctl write the agent's logs in the application directory and print message
// boxes to standard error.
void installEnvironment(const CommonOptions& options);

// Prints the usage text to standard error; returns kUsageStatus.
int usage();

} // namespace quorvex::ctl
