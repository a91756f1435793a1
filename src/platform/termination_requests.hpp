#pragma once

namespace quorvex {

// Requests from outside that the program end as its Exit command ends it: SIGTERM and SIGINT
// here, the console's control events (Ctrl+C, Ctrl+Break, its window closed, log-off,
// shut-down) on Windows. The handler runs wherever the system calls it, in a signal handler
// or a thread of its own, so it may do no more than an async-signal-safe write.
void setTerminationHandler(void (*handler)());
// Ends the program at such a request again, as it did before.
void restoreDefaultTermination();

} // namespace quorvex
