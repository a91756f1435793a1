#pragma once

#include "support/desktop.hpp"

namespace quorvex {

// The desktop of the agent without a display: the console's, since nobody could answer a box
// or a dialog, except that pending events still run between the steps of a job, so a SIGTERM
// or SIGINT is seen there as it is with a display.
class HeadlessDesktop final : public ConsoleDesktop {
public:
    void doEvents() override;
};

} // namespace quorvex
