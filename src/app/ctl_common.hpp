#pragma once

#include <optional>
#include <span>
#include <string>

namespace quorvex::ctl {

// Exit status for a command line that quorvexctl does not understand.
inline constexpr int kUsageStatus = 2;

// Options every command takes.
struct CommonOptions {
    // The data folder; empty for the one the agent of this installation uses.
    std::string appDir;
};

// Reads "--app-dir DIR" from the command's arguments; nothing when anything else is there.
std::optional<CommonOptions> parseCommonOptions(std::span<char* const> args);

// Makes quorvexctl work on the agent's data folder (or the one given), write the agent's logs
// there and print message boxes to standard error. False, with the reason on standard error,
// when the data folder cannot be made; the command then ends with status 1.
bool installEnvironment(const CommonOptions& options);

// Prints the usage text to standard error; returns kUsageStatus.
int usage();

} // namespace quorvex::ctl
