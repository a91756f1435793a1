#pragma once

#include "support/desktop.hpp"

namespace quorvex {

// The desktop of the agent without a display: boxes are printed with the cautious answer, as
// nobody could answer them, but pending events still run between the steps of a job, so a
// SIGTERM or SIGINT is seen there as it is with a display.
class HeadlessDesktop final : public Desktop {
public:
    int messageBox(const std::string& text, int style, const std::string& title) override;
    void doEvents() override;
    void setBusyPointer(bool) override {}
    void beep() override {}

private:
    ConsoleDesktop m_console;
};

} // namespace quorvex
