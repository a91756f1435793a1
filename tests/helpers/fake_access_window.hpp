#pragma once

#include <chrono>
#include <string>

// The fake Access's window, in the window system of the platform (see fake_access.cpp).
enum class WindowOutcome { CloseRequested, TimedOut, NoDisplay };

// Shows a window titled "Microsoft Access", retitles it to finalTitle after titleDelay and
// then waits, until the deadline, for the request to close it that its close box would send.
WindowOutcome runWithWindow(const std::string& finalTitle, std::chrono::milliseconds titleDelay,
                            std::chrono::steady_clock::time_point deadline);
