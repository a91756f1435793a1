#include "ui/schedule/frm_schedule.hpp"

#include "jobs/database_job.hpp"
#include "support/date_text.hpp"
#include "support/error.hpp"
#include "support/error_handler.hpp"
#include "ui/icons.hpp"
#include "ui/twips.hpp"
#include "ui/wizard/frm_wiz_job_definition.hpp"

#include <QApplication>
#include <QCloseEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QStatusBar>
#include <QStyleOptionButton>
#include <QStylePainter>
#include <QTreeWidget>

namespace quorvex {

namespace {

constexpr const char* kModule = "frmSchedule.frm";
// Beside a row's next run: the moment of a missed run that the row stands for.
constexpr int kMissedRunRole = Qt::UserRole + 1;

// Sizes of the window's design, in twips.
constexpr int kInnerWidth = 6375;
constexpr int kInnerHeight = 3945;
constexpr int kMinWidth = 6000;
constexpr int kMinHeight = 4000;
constexpr int kListTop = 1020;
constexpr int kButtonTop = 150;
constexpr int kButtonSize = 855;
constexpr int kToolbarMargin = 20;
constexpr int kPanelCountWidth = 2540;
constexpr int kPanelLightsWidth = 882;
constexpr int kLightsLeft = 40;
constexpr int kLightsWidth = 410;
constexpr int kLightsHeight = 195;

constexpr std::array kColumnWidths = {4939, 2028, 2028, 1676, 0, 0};

// Rows sort by their texts, letter case aside, as the list's users read them.
class JobRow final : public QTreeWidgetItem {
public:
    using QTreeWidgetItem::QTreeWidgetItem;

    bool operator<(const QTreeWidgetItem& other) const override
    {
        const int column = treeWidget()->sortColumn();
        const int order = text(column).compare(other.text(column), Qt::CaseInsensitive);
        return order != 0 ? order < 0 : text(column) < other.text(column);
    }
};

// A command button with its picture above the caption, as the toolbar shows them.
class PictureButton final : public QPushButton {
public:
    using QPushButton::QPushButton;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QStylePainter painter(this);
        QStyleOptionButton option;
        initStyleOption(&option);
        option.text.clear();
        option.icon = QIcon();
        painter.drawControl(QStyle::CE_PushButton, option);

        const int side = iconSize().width();
        const int textHeight = fontMetrics().height();
        const int top = (height() - side - textHeight - 2) / 2;
        const QIcon::Mode mode = isEnabled() ? QIcon::Normal : QIcon::Disabled;
        painter.drawPixmap((width() - side) / 2, top, icon().pixmap(side, mode));
        painter.drawItemText(QRect(0, top + side + 2, width(), textHeight),
                             Qt::AlignHCenter | Qt::TextShowMnemonic, palette(), isEnabled(),
                             text(), QPalette::ButtonText);
    }
};

// A picture that looks the same whether its window takes input or not: the lights must show
// a running job while Execute keeps the window disabled.
class Lamp final : public QLabel {
public:
    using QLabel::QLabel;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.drawPixmap(0, 0, pixmap());
    }
};

// The status bar reads the same disabled as enabled, for the same reason.
void drawAsEnabled(QWidget* bar)
{
    QPalette palette = bar->palette();
    for (int role = 0; role < QPalette::NColorRoles; ++role) {
        const auto r = static_cast<QPalette::ColorRole>(role);
        palette.setColor(QPalette::Disabled, r, palette.color(QPalette::Active, r));
    }
    bar->setPalette(palette);
}

QString qs(const std::string& text)
{
    return QString::fromStdString(text);
}

QLabel* panel(QWidget* parent, const char* name)
{
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    return label;
}

} // namespace

frmSchedule::frmSchedule(QWidget* parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("frmSchedule"));
    setWindowTitle(QStringLiteral("Scheduled Database Jobs"));
    setWindowIcon(icons::application());
    setCentralWidget(new QWidget(this));
    for (int type = 0; type < int(m_jobTypeIcons.size()); ++type)
        m_jobTypeIcons[type] = icons::jobType(type);
    createMenus();
    createToolbar();
    createList();
    createStatusBar();
    centralWidget()->installEventFilter(this);
    m_helpHandler = [this](HelpItem item) { openHelpItem(*this, item); };
    m_jobWizard = [](frmSchedule& owner, bool addJob) {
        frmWIZ_JobDefinition wizard(owner);
        wizard.setAddJob(addJob);
        wizard.exec();
    };

    setMinimumSize(twipsX(*this, kMinWidth), twipsY(*this, kMinHeight));
    resize(twipsX(*this, kInnerWidth),
           twipsY(*this, kInnerHeight) + menuBar()->sizeHint().height());
}

frmSchedule::~frmSchedule() = default;

void frmSchedule::createList()
{
    m_list = new QTreeWidget(centralWidget());
    m_list->setObjectName(QStringLiteral("lvwSchedule"));
    m_list->setRootIsDecorated(false);
    m_list->setUniformRowHeights(true);
    m_list->setAllColumnsShowFocus(true);
    m_list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_list->setIconSize(QSize(16, 16));
    m_list->setHeaderLabels({QStringLiteral("Database Job Name"), QStringLiteral("Last Run"),
                             QStringLiteral("Next Run"), QStringLiteral("Start Time"),
                             QStringLiteral("JobType"), QStringLiteral("BackupFolder")});
    for (int column = 0; column < int(kColumnWidths.size()); ++column) {
        if (kColumnWidths[column] == 0)
            m_list->setColumnHidden(column, true);
        else
            m_list->setColumnWidth(column, twipsX(*this, kColumnWidths[column]));
    }
    // Sorting is ours, not the view's: only a header click or a new row re-sorts, so a row
    // rewritten by the due-job check keeps its place during a pass.
    m_list->header()->setSectionsClickable(true);
    connect(m_list->header(), &QHeaderView::sectionClicked, this,
            [this](int column) { lvwSchedule_ColumnClick(column); });
    // A double click anywhere in the list opens, also below the last row.
    m_list->viewport()->installEventFilter(this);
}

bool frmSchedule::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_list->viewport() && event->type() == QEvent::MouseButtonDblClick) {
        cmdEditJob_Click();
        return true;
    }
    if (watched == centralWidget() && event->type() == QEvent::Resize)
        Form_Resize();
    return QMainWindow::eventFilter(watched, event);
}

QPushButton* frmSchedule::addButton(const char* name, const char* caption, const char* tip,
                                    int left, const QIcon& picture)
{
    auto* button = new PictureButton(QString::fromLatin1(caption), m_toolbar);
    button->setObjectName(QString::fromLatin1(name));
    button->setToolTip(QString::fromLatin1(tip));
    button->setIcon(picture);
    button->setIconSize(QSize(24, 24));
    button->setGeometry(twipsRect(*this, left, kButtonTop, kButtonSize, kButtonSize));
    return button;
}

void frmSchedule::createToolbar()
{
    auto* frame = new QFrame(centralWidget());
    frame->setObjectName(QStringLiteral("fraToolbar"));
    m_toolbar = frame;
    using icons::Button;
    const std::array buttons = {
        addButton("cmdAddJob", "&New", "New Backup Job", 60, icons::button(Button::New)),
        addButton("cmdDelJob", "&Remove", "Remove Backup Job", 930, icons::button(Button::Remove)),
        addButton("cmdEditJob", "&Open", "Open Backup Job", 1800, icons::button(Button::Open)),
        addButton("cmdCopyJob", "&Copy", "Copy Backup Job", 2670, icons::button(Button::Copy)),
        addButton("cmdBackup", "&Execute", "Execute Backup Job Now", 3540,
                  icons::button(Button::Execute)),
    };
    for (std::size_t i = 1; i < buttons.size(); ++i)
        setTabOrder(buttons[i - 1], buttons[i]);
    connect(buttons[0], &QPushButton::clicked, this, [this] { cmdAddJob_Click(); });
    connect(buttons[1], &QPushButton::clicked, this, [this] { cmdDelJob_Click(); });
    connect(buttons[2], &QPushButton::clicked, this, [this] { cmdEditJob_Click(); });
    connect(buttons[3], &QPushButton::clicked, this, [this] { cmdCopyJob_Click(); });
    connect(buttons[4], &QPushButton::clicked, this, [this] { cmdBackup_Click(); });
}

QAction* frmSchedule::addItem(QMenu* menu, const char* name, const char* caption,
                              std::function<void()> command)
{
    QAction* action = menu->addAction(QString::fromLatin1(caption));
    action->setObjectName(QString::fromLatin1(name));
    connect(action, &QAction::triggered, this, std::move(command));
    return action;
}

void frmSchedule::addSeparator(QMenu* menu, const char* name)
{
    menu->addSeparator()->setObjectName(QString::fromLatin1(name));
}

void frmSchedule::createMenus()
{
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("mnuFile"));
    addItem(file, "mnuFilePreferences", "Preferences", [this] { mnuFilePreferences_Click(); });
    addSeparator(file, "SlashFile1");
    addItem(file, "mnuFileClose", "Close", [this] { hide(); });

    QMenu* action = menuBar()->addMenu(QStringLiteral("&Action"));
    action->setObjectName(QStringLiteral("mnuAction"));
    addItem(action, "mnuActionAdd", "&New Database Job", [this] { cmdAddJob_Click(); });
    addItem(action, "mnuActionDelete", "&Remove Database Job", [this] { cmdDelJob_Click(); });
    addItem(action, "mnuActionEdit", "&Open Database Job", [this] { cmdEditJob_Click(); });
    addItem(action, "mnuActionCopy", "&Copy Database Job", [this] { cmdCopyJob_Click(); });
    addSeparator(action, "SlashAction1");
    addItem(action, "mnuActionRun", "Execute &Database Job Now", [this] { cmdBackup_Click(); });
    addSeparator(action, "SlashAction2");
    addItem(action, "mnuActionViewTransactionLog", "View &Transaction Log File",
            [this] { mnuActionViewTransactionLog_Click(); });
    addItem(action, "mnuActionViewErrorLog", "View &Error Log File",
            [this] { mnuActionViewErrorLog_Click(); });

    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    help->setObjectName(QStringLiteral("mnuHelp"));
    addItem(help, "mnuHelpContents", "Contents", [this] { mnuHelpContents_Click(); });
    addSeparator(help, "SlashHelp1");
    addItem(help, "mnuHelpLicense", "License Agreement", [this] { showHelp(HelpItem::License); });
    addSeparator(help, "SlashHelp2");
    addItem(help, "mnuHelpHomepage", "Quorvex Homepage", [this] {
        showHelp(HelpItem::Homepage);
    })->setVisible(!homepageAddress().empty());
    addItem(help, "mnuHelpAbout", "About", [this] { showHelp(HelpItem::About); });
}

void frmSchedule::createStatusBar()
{
    QStatusBar* bar = statusBar();
    bar->setObjectName(QStringLiteral("sbarSchedule"));
    bar->setSizeGripEnabled(false);
    drawAsEnabled(bar);
    m_panelCount = panel(bar, "NbrDatabaseJobs");
    m_panelCount->setText(QStringLiteral("X Database Jobs"));
    m_panelCount->setFixedWidth(twipsX(*this, kPanelCountWidth));
    m_panelMessage = panel(bar, "StatusBar");
    // A long message is cut off rather than widening the window.
    m_panelMessage->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    m_panelLights = panel(bar, "Lights");
    m_panelLights->setFixedWidth(twipsX(*this, kPanelLightsWidth));
    bar->addWidget(m_panelCount);
    bar->addWidget(m_panelMessage, 1);
    bar->addPermanentWidget(m_panelLights);

    auto* lights = new QWidget(m_panelLights);
    lights->setObjectName(QStringLiteral("picLight"));
    lights->setFixedSize(twipsX(*this, kLightsWidth), twipsY(*this, kLightsHeight));
    auto* place = new QHBoxLayout(m_panelLights);
    place->setContentsMargins(twipsX(*this, kLightsLeft), 1, 0, 1);
    place->addWidget(lights, 0, Qt::AlignLeft | Qt::AlignVCenter);
    const int side = lights->height();
    for (int i = 0; i < kLightCount; ++i) {
        auto* image = new Lamp(lights);
        image->setObjectName(QStringLiteral("imgLight(%1)").arg(i));
        image->setPixmap(icons::light(i, side));
        // 0 and 1 share the left place, 2 and 3 the right one.
        image->setGeometry(i < 2 ? 0 : lights->width() - side, 0, side, side);
        m_imgLight[i] = image;
    }
    // The idle picture until a job runs.
    for (int i = 0; i < kLightCount; ++i)
        m_imgLight[i]->setVisible(i == 0 || i == 3);
}

// ---- rows -----------------------------------------------------------------------------------

void frmSchedule::AddItemListView(const std::string& sBackupName, DateTime dDateLastRun,
                                  DateTime dDateNextRun, DateTime dStartTime, int16_t iJobType,
                                  const std::string& sBackupFilename)
{
    trapFatal(kModule, "AddItemListView()", [&] {
        auto* item = new JobRow();
        fillRow(item, sBackupName, dDateLastRun, dDateNextRun, dStartTime, iJobType,
                sBackupFilename);
        m_list->addTopLevelItem(item);
        if (m_sorted)
            sortList();
    });
}

void frmSchedule::setRow(int index, const std::string& sBackupName, DateTime dDateLastRun,
                         DateTime dDateNextRun, DateTime dStartTime, int16_t iJobType,
                         const std::string& sBackupFilename)
{
    fillRow(row(index), sBackupName, dDateLastRun, dDateNextRun, dStartTime, iJobType,
            sBackupFilename);
}

void frmSchedule::fillRow(QTreeWidgetItem* item, const std::string& name, DateTime lastRun,
                          DateTime nextRun, DateTime startTime, int16_t jobType,
                          const std::string& file)
{
    m_earliestDue.reset();
    item->setText(kColName, qs(name));
    const bool known = jobType > 0 && jobType < int16_t(m_jobTypeIcons.size());
    item->setIcon(kColName, m_jobTypeIcons[known ? jobType : 0]);
    setDateCell(item, kColLastRun, formatDate(lastRun), lastRun);
    setDateCell(item, kColNextRun, formatDate(nextRun), nextRun);
    setDateCell(item, kColStartTime, formatTime(startTime), startTime);
    item->setText(kColJobType, QString::number(jobType));
    item->setText(kColJobFile, qs(file));
}

DateTime frmSchedule::rowDueMoment(int index) const
{
    return dueMoment(rowDateNextRun(index), rowStartTime(index));
}

DateTime frmSchedule::earliestDueMoment() const
{
    if (m_earliestDue)
        return *m_earliestDue;
    DateTime earliest = DateTime::fromDate(9999, 12, 31);
    for (int i = 1; i <= rowCount(); ++i)
        earliest = std::min(earliest, rowDueMoment(i));
    m_earliestDue = earliest;
    return earliest;
}

int frmSchedule::selectedRow() const
{
    QTreeWidgetItem* current = m_list->currentItem();
    if (current == nullptr || !current->isSelected())
        return 0;
    return m_list->indexOfTopLevelItem(current) + 1;
}

void frmSchedule::setDateCell(QTreeWidgetItem* item, int column, const std::string& text,
                              DateTime value)
{
    item->setText(column, qs(text));
    item->setData(column, Qt::UserRole, QVariant::fromValue<qint64>(value.serialSeconds()));
    item->setData(column, kMissedRunRole, QVariant());
}

void frmSchedule::DeleteItemListView(int iIndexNumber)
{
    trapFatal(kModule, "DeleteItemListView()", [&] {
        delete row(iIndexNumber);
        m_earliestDue.reset();
    });
}

int frmSchedule::rowCount() const
{
    return m_list->topLevelItemCount();
}

QTreeWidgetItem* frmSchedule::row(int index) const
{
    QTreeWidgetItem* item = m_list->topLevelItem(index - 1);
    if (item == nullptr)
        throw RuntimeError::fromNumber(err::SubscriptOutOfRange);
    return item;
}

DateTime frmSchedule::dateCell(int index, int column) const
{
    return DateTime::fromSerialSeconds(row(index)->data(column, Qt::UserRole).toLongLong());
}

DateTime frmSchedule::rowDateLastRun(int index) const
{
    return dateCell(index, kColLastRun);
}

DateTime frmSchedule::rowDateNextRun(int index) const
{
    return dateCell(index, kColNextRun);
}

DateTime frmSchedule::rowStartTime(int index) const
{
    return dateCell(index, kColStartTime);
}

std::string frmSchedule::rowJobFile(int index) const
{
    return row(index)->text(kColJobFile).toStdString();
}

void frmSchedule::setMissedRun(int index, DateTime missed)
{
    QTreeWidgetItem* item = row(index);
    setDateCell(item, kColNextRun, formatDate(missed), missed.datePart());
    item->setData(kColNextRun, kMissedRunRole, QVariant::fromValue<qint64>(missed.serialSeconds()));
    m_earliestDue.reset();
}

std::optional<DateTime> frmSchedule::rowMissedRun(int index) const
{
    const QVariant missed = row(index)->data(kColNextRun, kMissedRunRole);
    if (!missed.isValid())
        return std::nullopt;
    return DateTime::fromSerialSeconds(missed.toLongLong());
}

void frmSchedule::setRowRuns(int index, DateTime dDateLastRun, DateTime dDateNextRun)
{
    QTreeWidgetItem* item = row(index);
    setDateCell(item, kColLastRun, formatDate(dDateLastRun), dDateLastRun);
    setDateCell(item, kColNextRun, formatDate(dDateNextRun), dDateNextRun);
    m_earliestDue.reset();
}

void frmSchedule::selectOnlyRow(int index)
{
    QTreeWidgetItem* item = row(index);
    m_list->setCurrentItem(item, 0, QItemSelectionModel::ClearAndSelect);
}

void frmSchedule::clearSelection()
{
    m_list->clearSelection();
}

bool frmSchedule::isRowSelected(int index) const
{
    return row(index)->isSelected();
}

void frmSchedule::sortList()
{
    m_list->header()->setSortIndicatorShown(true);
    m_list->sortItems(m_sortColumn, m_sortOrder);
}

void frmSchedule::lvwSchedule_ColumnClick(int column)
{
    trapFatal(kModule, "lvwSchedule_ColumnClick()", [&] {
        m_sortOrder = m_sortOrder == Qt::AscendingOrder ? Qt::DescendingOrder : Qt::AscendingOrder;
        m_sortColumn = column;
        m_sorted = true;
        sortList();
    });
}

// ---- status display -------------------------------------------------------------------------

void frmSchedule::setStatusBarCount(int count)
{
    trapFatal(kModule, "Let StatusBarCount()",
              [&] { m_panelCount->setText(QStringLiteral("%1 Database Jobs").arg(count)); });
}

void frmSchedule::updateCount()
{
    setStatusBarCount(rowCount());
}

void frmSchedule::setMessageText(const std::string& text)
{
    trapFatal(kModule, "Let MessageText()", [&] {
        m_messageText = text;
        m_panelMessage->setText(qs(text));
        repaint();
    });
}

void frmSchedule::setLightVisible(int index, bool visible)
{
    if (index < 0 || index >= kLightCount)
        throw RuntimeError::fromNumber(err::SubscriptOutOfRange);
    m_imgLight[index]->setVisible(visible);
}

void frmSchedule::refresh()
{
    repaint();
}

// ---- window events --------------------------------------------------------------------------

void frmSchedule::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && !m_activated) {
        m_activated = true;
        Form_Activate();
    }
}

void frmSchedule::Form_Activate()
{
    trapFatal(kModule, "Form_Activate()", [&] {
        raise();
        updateCount();
        if (rowCount() > 0)
            selectOnlyRow(1);
        m_sortColumn = kColName;
        m_sortOrder = Qt::AscendingOrder;
        m_sorted = true;
        sortList();
    });
}

// The window keeps its minimum size itself (Qt refuses anything smaller), so only the
// controls follow the area between the menu and the status bar; the lights sit in their panel.
void frmSchedule::Form_Resize()
{
    if (isMinimized())
        return;
    const QSize inner = centralWidget()->size();
    const int listTop = twipsY(*this, kListTop);
    m_toolbar->setGeometry(0, 0, inner.width() - twipsX(*this, kToolbarMargin), listTop);
    m_list->setGeometry(0, listTop, inner.width(), std::max(0, inner.height() - listTop));
}

void frmSchedule::closeEvent(QCloseEvent* event)
{
    hide();
    if (m_killForm)
        event->accept();
    else
        event->ignore();
}

void frmSchedule::keyReleaseEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_F1 && !event->isAutoRepeat()) {
        mnuHelpContents_Click();
        return;
    }
    QMainWindow::keyReleaseEvent(event);
}

void frmSchedule::mnuHelpContents_Click()
{
    trapFatal(kModule, "mnuHelpContents_Click()", [&] { showHelp(HelpItem::Contents); });
}

void frmSchedule::showHelp(HelpItem item)
{
    if (m_helpHandler)
        m_helpHandler(item);
}

} // namespace quorvex
