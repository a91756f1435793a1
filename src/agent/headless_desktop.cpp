#include "agent/headless_desktop.hpp"

#include <QCoreApplication>

namespace quorvex {

void HeadlessDesktop::doEvents()
{
    QCoreApplication::processEvents();
}

} // namespace quorvex
