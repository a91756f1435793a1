#pragma once

#include <chrono>
#include <string>

// Shows the fake Access's window (see fake_access.cpp) with the title in the platform's window
// system and waits until the deadline for the request to close it that its close box would
// send. False when none came. It needs a display: the tests that show it skip without one.
bool windowCloseRequested(const std::string& title, std::chrono::steady_clock::time_point deadline);
