#include "agent/frm_popup.hpp"

#include <QMenu>

namespace quorvex {

frmPopup::frmPopup(QWidget* parent) : QWidget(parent), m_menu(new QMenu(this))
{
    setObjectName(QStringLiteral("frmPopup"));
    setWindowTitle(QStringLiteral("Quorvex"));

    m_menu->setObjectName(QStringLiteral("Quorvex"));
    m_menu->setTitle(QStringLiteral("Quorvex"));
    m_schedule = m_menu->addAction(QStringLiteral("Scheduled Database Jobs"));
    m_schedule->setObjectName(QStringLiteral("Schedule"));
    m_menu->addSeparator()->setObjectName(QStringLiteral("Slash2"));
    m_exit = m_menu->addAction(QStringLiteral("Exit Quorvex"));
    m_exit->setObjectName(QStringLiteral("Exit"));

    connect(m_schedule, &QAction::triggered, this, &frmPopup::Schedule_Click);
    connect(m_exit, &QAction::triggered, this, &frmPopup::Exit_Click);
}

} // namespace quorvex
