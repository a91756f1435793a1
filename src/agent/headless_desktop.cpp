#include "agent/headless_desktop.hpp"

#include <QCoreApplication>

namespace quorvex {

int HeadlessDesktop::messageBox(const std::string& text, int style, const std::string& title)
{
    return m_console.messageBox(text, style, title);
}

void HeadlessDesktop::doEvents()
{
    QCoreApplication::processEvents();
}

} // namespace quorvex
