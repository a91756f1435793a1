#include "ui/wizard/frm_wiz_job_definition.hpp"

#include "support/date_text.hpp"
#include "support/desktop.hpp"
#include "support/error_handler.hpp"
#include "support/files.hpp"
#include "ui/icons.hpp"
#include "ui/schedule/frm_schedule.hpp"
#include "ui/twips.hpp"
#include "ui/wizard/browse.hpp"

#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QFrame>
#include <QGroupBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTimer>
#include <QToolButton>

#include <algorithm>

namespace quorvex {

namespace {

constexpr const char* kModule = "frmWIZ_JobDefinition.frm";

// The design, in twips.
constexpr int kWidth = 6700;
constexpr int kHeight = 4600; // 5000 with the frame's title bar
constexpr int kHeaderHeight = 700;
constexpr int kPageLeft = 200;
constexpr int kPageTop = 750;
constexpr int kPageWidth = 6135;
constexpr int kPageHeight = 3015;
constexpr int kFooterTop = 3960;
constexpr int kButtonTop = 4080;
constexpr int kButtonWidth = 1095;
constexpr int kButtonHeight = 375;
constexpr int kTextHeight = 315;
constexpr int kBrowseLeft = 5640;
constexpr int kPathWidth = 5400;
// Pages wait outside the visible area until the repaint moves the current one in.
constexpr int kParkedLeft = 20000;

const QColor kGrey(192, 192, 192);
const QColor kWhite(255, 255, 255);

QString name(const char* text)
{
    return QString::fromLatin1(text);
}

QString indexed(const char* base, int index)
{
    return QStringLiteral("%1(%2)").arg(QLatin1String(base)).arg(index);
}

void setBackground(QLineEdit* box, const QColor& colour)
{
    QPalette palette = box->palette();
    palette.setColor(QPalette::Base, colour);
    box->setPalette(palette);
}

} // namespace

frmWIZ_JobDefinition::frmWIZ_JobDefinition(frmSchedule& schedule)
    : QDialog(&schedule), m_schedule(schedule)
{
    setObjectName(name("frmWIZ_JobDefinition"));
    setWindowTitle(name("Database Job Definition Wizard"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setModal(true);
    createHeaderAndFooter();
    createPages();
    applyTabOrder();
}

frmWIZ_JobDefinition::~frmWIZ_JobDefinition() = default;

// ---- building the window --------------------------------------------------------------------

void frmWIZ_JobDefinition::createHeaderAndFooter()
{
    auto* header = new QFrame(this);
    header->setObjectName(name("picHeader"));
    header->setGeometry(twipsRect(*this, 0, 0, kWidth, kHeaderHeight));
    header->setAutoFillBackground(true);
    QPalette white = header->palette();
    white.setColor(QPalette::Window, kWhite);
    header->setPalette(white);
    auto* icon = new QLabel(header);
    icon->setObjectName(name("imgIcon"));
    const QRect iconRect = twipsRect(*this, 150, 110, 480, 480);
    icon->setGeometry(iconRect);
    icon->setPixmap(icons::wizard().pixmap(iconRect.size()));
    auto* title = addLabel(header, name("lblWizTitle"), "Database Job Definition Wizard", 780, 160,
                           5800, 400);
    QFont big = title->font();
    big.setPointSizeF(13.5);
    big.setBold(true);
    title->setFont(big);

    // Two lines each, dark over light, under the header and over the footer.
    const int lineTops[] = {kHeaderHeight, kHeaderHeight + 15, kFooterTop, kFooterTop + 15};
    for (int i = 0; i < 4; ++i) {
        auto* line = new QFrame(this);
        line->setObjectName(indexed("linDiv", i));
        line->setFrameShape(QFrame::HLine);
        line->setFrameShadow(i % 2 == 0 ? QFrame::Sunken : QFrame::Plain);
        line->setGeometry(0, twipsY(*this, lineTops[i]), twipsX(*this, kWidth), 2);
    }

    auto* footer = new QWidget(this);
    footer->setObjectName(name("picFooter"));
    footer->setGeometry(twipsRect(*this, 0, kFooterTop + 30, kWidth, kHeight - kFooterTop - 30));
    m_lblStepNbr = addLabel(footer, name("lblStepNbr"), "Step 1 of 3", 200,
                            kButtonTop - kFooterTop - 30 + 60, 1500, 300);
    const auto button = [&](const char* objectName, const char* caption, int left) {
        auto* b = new QPushButton(name(caption), footer);
        b->setObjectName(name(objectName));
        b->setAutoDefault(false);
        b->setGeometry(
            twipsRect(*this, left, kButtonTop - kFooterTop - 30, kButtonWidth, kButtonHeight));
        return b;
    };
    m_cmdCancel = button("cmdCancel", "&Cancel", 1800);
    m_cmdBack = button("cmdBack", "< &Back", 3000);
    m_cmdNext = button("cmdNext", "&Next >", 4200);
    m_cmdFinish = button("cmdFinish", "&Finish", 5400);
    m_cmdNext->setDefault(true);
    m_cmdBack->setEnabled(false);
    m_cmdFinish->setEnabled(false);
    registerTabIndex(m_cmdCancel, 0, false);
    registerTabIndex(m_cmdBack, 32, false);
    registerTabIndex(m_cmdNext, 33, false);
    registerTabIndex(m_cmdFinish, 34, false);
    // Escape rejects the dialog, which is what Cancel does.
    connect(m_cmdCancel, &QPushButton::clicked, this, [this] { cmdCancel_Click(); });
    connect(m_cmdBack, &QPushButton::clicked, this, [this] { cmdBack_Click(); });
    connect(m_cmdNext, &QPushButton::clicked, this, [this] { cmdNext_Click(); });
    connect(m_cmdFinish, &QPushButton::clicked, this, [this] { cmdFinish_Click(); });
}

QLabel* frmWIZ_JobDefinition::addLabel(QWidget* parent, const QString& objectName,
                                       const char* caption, int left, int top, int width,
                                       int height)
{
    // Captions are written as stored, "&&" for one "&"; these labels carry no access key.
    auto* label = new QLabel(
        QString::fromLatin1(caption).replace(QStringLiteral("&&"), QStringLiteral("&")), parent);
    label->setObjectName(objectName);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setGeometry(twipsRect(*this, left, top, width, height));
    return label;
}

QLineEdit* frmWIZ_JobDefinition::addTextBox(QWidget* parent, const char* objectName, int left,
                                            int top, int width, int tabIndex)
{
    auto* box = new QLineEdit(parent);
    box->setObjectName(name(objectName));
    box->setGeometry(twipsRect(*this, left, top, width, kTextHeight));
    // No length limit beyond the box's own.
    registerTabIndex(box, tabIndex, true);
    return box;
}

// A locked path box with its browse button at the right.
QLineEdit* frmWIZ_JobDefinition::addPathBox(QWidget* parent, const char* objectName,
                                            const char* browseName, int top, int tabIndex)
{
    QLineEdit* box = addTextBox(parent, objectName, 120, top, kPathWidth, tabIndex);
    box->setReadOnly(true);
    auto* browse = new QPushButton(parent);
    browse->setObjectName(name(browseName));
    browse->setAutoDefault(false);
    browse->setIcon(icons::browse());
    browse->setToolTip(name("Browse for Target Directory"));
    browse->setGeometry(twipsRect(*this, kBrowseLeft, top - 20, 420, kTextHeight + 40));
    registerTabIndex(browse, tabIndex + 1, false);
    return box;
}

void frmWIZ_JobDefinition::registerTabIndex(QWidget* control, int tabIndex, bool takesFocus)
{
    m_tabStops.push_back({control, tabIndex, takesFocus});
}

void frmWIZ_JobDefinition::applyTabOrder()
{
    std::sort(m_tabStops.begin(), m_tabStops.end(),
              [](const TabStop& a, const TabStop& b) { return a.tabIndex < b.tabIndex; });
    for (size_t i = 1; i < m_tabStops.size(); ++i)
        setTabOrder(m_tabStops[i - 1].control, m_tabStops[i].control);
}

QWidget* frmWIZ_JobDefinition::createPage(int index, const char* title)
{
    auto* page = new QFrame(this);
    page->setObjectName(indexed("fraWizSteps", index));
    page->setFrameShape(QFrame::NoFrame);
    page->setGeometry(twipsRect(*this, kParkedLeft, kPageTop, kPageWidth, kPageHeight));
    QFont text(QStringLiteral("Arial"));
    text.setPointSizeF(8.25);
    page->setFont(text);
    QLabel* heading = addLabel(page, indexed("lblFrameTitle", index), title, 0, 0, kPageWidth, 300);
    QFont bold = text;
    bold.setBold(true);
    heading->setFont(bold);
    m_fraWizSteps[static_cast<size_t>(index)] = page;
    return page;
}

void frmWIZ_JobDefinition::createPages()
{
    createActionPage(createPage(0, "DATABASE JOB TYPE"));
    createNamePage(createPage(1, "DATABASE JOB NAME"));
    createSchedulePage(createPage(2, "SCHEDULING"));
    createSecurityPage(createPage(3, "DATABASE SECURITY"));
    m_txtRepairCompactMDB = createDatabasePage(
        createPage(4, "REPAIR && COMPACT MDB FILE"),
        {1, 0, "Select MDB file to repair and compact:", "txtRepairCompactMDB",
         "cmdBrowseRepairCompactMDB", 21, 6,
         "Microsoft Access databases should be maintained with repair and compact operations "
         "performed on a routine basis.  The repair operation will fix a corrupted or partially "
         "corrupted database.  The compact operation will reclaim extra space that builds up "
         "with record deletions, code changes in modules, control deletions or changes in forms "
         "and reports, etc."});
    m_txtAutoExecMDB = createDatabasePage(
        createPage(5, "AUTO EXECUTE MDB FILE"),
        {2, 1, "Select MDB file to automatically load and run:", "txtAutoExecMDB",
         "cmdBrowseAutoExecMDB", 23, 8,
         "There are many, many, powerful automation techniques you can perform by setting up an "
         "MS-Access MDB file to automatically run on a routine schedule.  Simply create a blank "
         "MDB, link in tables from another MDB, setup a Startup form, and you can have "
         "auto-emails sent, auto reports built, auto-exports run, etc.  There are no limits to "
         "what you can easily code."});
    createBackupPage(createPage(6, "BACKUP MDB FILE"));
}

void frmWIZ_JobDefinition::createActionPage(QWidget* page)
{
    const struct {
        int label;
        const char* text;
    } actions[] = {
        {2, "Repair && Compact - database to prevent corruption and reduce size of database."},
        {0, "Auto Execute - MDB file to perform auto-emails, generate reports, import or export "
            "data, etc."},
        {3, "Backup Database - Routinely backup database to zip file and maintain up to 99 older "
            "copies."},
    };
    for (int i = 1; i <= 3; ++i) {
        const int top = 420 + (i - 1) * 860;
        auto* option = new QToolButton(page);
        option->setObjectName(indexed("optAction", i));
        option->setCheckable(true);
        option->setIcon(icons::jobType(i));
        option->setIconSize(twipsRect(*this, 0, 0, 480, 480).size());
        option->setGeometry(twipsRect(*this, 120, top, 700, 700));
        registerTabIndex(option, i, false);
        connect(option, &QToolButton::clicked, this, [this, i] {
            m_optAction[static_cast<size_t>(i)]->setChecked(true);
            optAction_Click(i);
        });
        m_optAction[static_cast<size_t>(i)] = option;
        addLabel(page, indexed("lblInstrux", actions[i - 1].label), actions[i - 1].text, 960,
                 top + 120, 5100, 500);
    }
}

void frmWIZ_JobDefinition::createNamePage(QWidget* page)
{
    addLabel(page, indexed("lblInstrux", 4),
             "Enter a name that uniquely identifies this database job:", 120, 600, 5800, 300);
    m_txtDatabaseJobName = addTextBox(page, "txtDatabaseJobName", 120, 960, 5800, 4);
    m_txtDatabaseJobName->installEventFilter(this);
}

void frmWIZ_JobDefinition::createSchedulePage(QWidget* page)
{
    addLabel(page, indexed("lblStep", 2),
             "Select the time, frequency, and day you want this backup job to start.", 120, 420,
             5800, 300);
    addLabel(page, indexed("lblStep", 3), "Start time:", 120, 900, 1000, 300);
    m_txtStartTime = addTextBox(page, "txtStartTime", 1140, 860, 900, 5);
    m_txtStartTime->installEventFilter(this);
    addLabel(page, indexed("lblStep", 5), "Frequency:", 2500, 900, 1000, 300);
    m_cmbFrequency = new QComboBox(page);
    m_cmbFrequency->setObjectName(name("cmbFrequency"));
    m_cmbFrequency->setGeometry(twipsRect(*this, 3520, 860, 1600, kTextHeight));
    registerTabIndex(m_cmbFrequency, 6, true);
    connect(m_cmbFrequency, &QComboBox::currentIndexChanged, this,
            [this] { cmbFrequency_Click(); });

    m_lblSelectDayOf =
        addLabel(page, name("lblSelectDayOf"),
                 "Select the day(s) of the week or day of month below:", 120, 1380, 5800, 300);
    m_cmbDayOfMonth = new QComboBox(page);
    m_cmbDayOfMonth->setObjectName(name("cmbDayOfMonth"));
    m_cmbDayOfMonth->setGeometry(twipsRect(*this, 300, 1700, 900, kTextHeight));
    registerTabIndex(m_cmbDayOfMonth, 7, true);

    const char* days[] = {"Monday", "Tuesday",  "Wednesday", "Thursday",
                          "Friday", "Saturday", "Sunday"};
    for (int i = 0; i < 7; ++i) {
        auto* box = new QCheckBox(name(days[i]), page);
        box->setObjectName(QStringLiteral("chk") + name(days[i]));
        const bool rightColumn = i >= 5;
        box->setGeometry(twipsRect(*this, rightColumn ? 2700 : 300,
                                   1700 + (rightColumn ? i - 5 : i) * 255, 2000, 255));
        registerTabIndex(box, 8 + i, true);
        m_weekdays[static_cast<size_t>(i)] = box;
    }
}

void frmWIZ_JobDefinition::createSecurityPage(QWidget* page)
{
    m_optNoSecurity = new QRadioButton(name("No Security"), page);
    m_optNoSecurity->setObjectName(name("optNoSecurity"));
    m_optNoSecurity->setGeometry(twipsRect(*this, 120, 420, 3000, 285));
    m_optNoSecurity->setChecked(true);
    registerTabIndex(m_optNoSecurity, 15, false);
    m_optUserLevelSecurity = new QRadioButton(name("User Level Security"), page);
    m_optUserLevelSecurity->setObjectName(name("optUserLevelSecurity"));
    m_optUserLevelSecurity->setGeometry(twipsRect(*this, 120, 720, 3000, 285));
    registerTabIndex(m_optUserLevelSecurity, 16, false);
    connect(m_optNoSecurity, &QRadioButton::clicked, this, [this] { optNoSecurity_Click(); });
    connect(m_optUserLevelSecurity, &QRadioButton::clicked, this,
            [this] { optUserLevelSecurity_Click(); });

    addLabel(page, indexed("lblStep", 11), "Select MDW Security File associated with MDB:", 120,
             1140, 5800, 300);
    m_txtMDWFile = addPathBox(page, "txtMDWFile", "cmdBrowseMDWFile", 1440, 17);
    m_cmdBrowseMDWFile = page->findChild<QPushButton*>(name("cmdBrowseMDWFile"));
    connect(m_cmdBrowseMDWFile, &QPushButton::clicked, this,
            [this] { browseFileInto(m_txtMDWFile, ".mdw", "Microsoft Access Security File"); });
    addLabel(page, indexed("lblStep", 7), "User ID:", 120, 2000, 1100, 300);
    m_txtUserID = addTextBox(page, "txtUserID", 1300, 1960, 2600, 19);
    addLabel(page, indexed("lblStep", 12), "Password:", 120, 2440, 1100, 300);
    m_txtPassword = addTextBox(page, "txtPassword", 1300, 2400, 2600, 20);
    setSecurityEnabled(false);
}

// The page of an action on one database file: the file with its browse button, and a framed
// explanation beside the action's picture.
QLineEdit* frmWIZ_JobDefinition::createDatabasePage(QWidget* page, const DatabasePage& design)
{
    addLabel(page, indexed("lblStep", design.promptLabel), design.prompt, 120, 420, 5800, 300);
    QLineEdit* path = addPathBox(page, design.boxName, design.browseName, 720, design.tabIndex);
    connect(page->findChild<QPushButton*>(name(design.browseName)), &QPushButton::clicked, this,
            [this, path] { browseFileInto(path, ".mdb", "Microsoft Access Database"); });
    auto* box = new QFrame(page);
    box->setObjectName(indexed("shpBox", design.action - 1));
    box->setFrameShape(QFrame::Box);
    box->setGeometry(twipsRect(*this, 900, 1260, 5160, 1700));
    addLabel(box, indexed("lblStep", design.textLabel), design.text, 100, 80, 4960, 1540);
    auto* image = addLabel(page, indexed("imgAction", design.action - 1), "", 120, 1300, 600, 600);
    image->setPixmap(icons::jobType(design.action).pixmap(image->size()));
    return path;
}

void frmWIZ_JobDefinition::createBackupPage(QWidget* page)
{
    addLabel(page, indexed("lblStep", 9), "Select MDB file to backup:", 120, 380, 5800, 300);
    m_txtBackupSourceMDB = addPathBox(page, "txtBackupSourceMDB", "cmdBrowseBackupSrc", 660, 25);
    connect(page->findChild<QPushButton*>(name("cmdBrowseBackupSrc")), &QPushButton::clicked, this,
            [this] { browseFileInto(m_txtBackupSourceMDB, ".mdb", "Microsoft Access Database"); });
    addLabel(page, indexed("lblStep", 10),
             "Select folder into which you want backup zip file(s) to go:", 120, 1060, 5800, 300);
    m_txtBackupTargetPath =
        addPathBox(page, "txtBackupTargetPath", "cmdBrowseBackupTarg", 1340, 27);
    connect(page->findChild<QPushButton*>(name("cmdBrowseBackupTarg")), &QPushButton::clicked, this,
            [this] { browseFolderInto(m_txtBackupTargetPath); });

    auto* group = new QGroupBox(name("Type of Backup: "), page);
    group->setObjectName(name("Frame1"));
    group->setGeometry(twipsRect(*this, 900, 1800, 5160, 1180));
    const char* kinds[] = {"No Compression", "Zip Compression"};
    for (int i = 0; i < 2; ++i) {
        auto* option = new QRadioButton(name(kinds[i]), group);
        option->setObjectName(indexed("optCompression", i));
        option->setGeometry(twipsRect(*this, 150 + i * 2400, 300, 2200, 285));
        registerTabIndex(option, 29 + i, false);
        connect(option, &QRadioButton::clicked, this, [this] { optCompression_Click(); });
        m_optCompression[static_cast<size_t>(i)] = option;
    }
    m_optCompression[1]->setChecked(true);
    addLabel(group, name("lblNbrCopies"),
             "Number of previous backup database file copies to keep:", 150, 680, 3800, 420);
    m_cmbNumberFilesToKeep = new QComboBox(group);
    m_cmbNumberFilesToKeep->setObjectName(name("cmbNumberFilesToKeep"));
    m_cmbNumberFilesToKeep->setGeometry(twipsRect(*this, 4050, 680, 900, kTextHeight));
    registerTabIndex(m_cmbNumberFilesToKeep, 31, true);
    auto* image = addLabel(page, indexed("imgAction", 2), "", 120, 1900, 600, 600);
    image->setPixmap(icons::jobType(3).pixmap(image->size()));
}

// ---- loading and repainting -----------------------------------------------------------------

void frmWIZ_JobDefinition::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!m_loaded) {
        m_loaded = true;
        Form_Load();
    }
    Form_Paint();
}

void frmWIZ_JobDefinition::Form_Load()
{
    trapFatal(kModule, "Form_Load()", [&] {
        SetupForm();
        setFixedSize(twipsX(*this, kWidth), twipsY(*this, kHeight));
        if (const QScreen* screen = QGuiApplication::primaryScreen())
            move(screen->availableGeometry().center() - rect().center());
        // Every key stroke passes the window first, for F1 (the key preview).
        for (QWidget* child : findChildren<QWidget*>())
            child->installEventFilter(this);
    });
}

void frmWIZ_JobDefinition::Form_Paint()
{
    if (m_bInPaint)
        return;
    m_bInPaint = true;
    trapFatal(kModule, "Form_Paint()", [&] {
        m_lblStepNbr->setText(QStringLiteral("Step %1 of 5").arg(m_iStepNbr));
        for (int p = 1; p <= kPageCount; ++p) {
            QFrame* page = m_fraWizSteps[static_cast<size_t>(p - 1)];
            if (p == m_iFrameNbr) {
                page->move(twipsX(*this, kPageLeft), twipsY(*this, kPageTop));
                page->show();
            } else {
                page->hide();
            }
        }
        focusLowestTabIndex();
        m_cmdNext->setEnabled(m_iStepNbr < 5);
        m_cmdFinish->setEnabled(m_iStepNbr == 5);
    });
    m_bInPaint = false;
}

// Of the check boxes, lists and text boxes shown and enabled, the one first in tab order.
void frmWIZ_JobDefinition::focusLowestTabIndex()
{
    for (const TabStop& stop : m_tabStops) // sorted by tab index
        if (stop.takesFocus && stop.control->isVisible() && stop.control->isEnabled()) {
            stop.control->setFocus(Qt::OtherFocusReason);
            return;
        }
}

// ---- navigation -----------------------------------------------------------------------------

void frmWIZ_JobDefinition::cmdNext_Click()
{
    trapFatal(kModule, "cmdNext_Click()", [&] {
        switch (m_iStepNbr) {
        case 1:
        case 2:
        case 3:
            ++m_iStepNbr;
            m_iFrameNbr = m_iStepNbr;
            m_cmdBack->setEnabled(true);
            break;
        case 4:
            m_iStepNbr = 5;
            if (const int action = selectedAction(); action != 0)
                m_iFrameNbr = 4 + action;
            m_cmdNext->setEnabled(false);
            m_cmdFinish->setEnabled(true);
            break;
        default:
            return;
        }
        Form_Paint();
    });
}

void frmWIZ_JobDefinition::cmdBack_Click()
{
    trapFatal(kModule, "cmdBack_Click()", [&] {
        if (m_iStepNbr < 2 || m_iStepNbr > 5)
            return;
        --m_iStepNbr;
        m_iFrameNbr = m_iStepNbr;
        m_cmdBack->setEnabled(m_iStepNbr > 1);
        Form_Paint(); // enables Next and disables Finish below step 5
    });
}

void frmWIZ_JobDefinition::cmdCancel_Click()
{
    trapFatal(kModule, "cmdCancel_Click()", [&] { reject(); });
}

// ---- reactions ------------------------------------------------------------------------------

void frmWIZ_JobDefinition::optAction_Click(int index)
{
    const bool value = m_optAction[static_cast<size_t>(index)]->isChecked();
    for (int i = 1; i <= 3; ++i)
        if (i != index)
            m_optAction[static_cast<size_t>(i)]->setChecked(!value);
    if (m_cmdNext->isVisible())
        m_cmdNext->setFocus(Qt::OtherFocusReason);
}

void frmWIZ_JobDefinition::selectAction(int index)
{
    m_optAction[static_cast<size_t>(index)]->setChecked(true);
    optAction_Click(index);
}

int frmWIZ_JobDefinition::selectedAction() const
{
    for (int i = 1; i <= 3; ++i)
        if (m_optAction[static_cast<size_t>(i)]->isChecked())
            return i;
    return 0;
}

void frmWIZ_JobDefinition::cmbFrequency_Click()
{
    trapFatal(kModule, "cmbFrequency_Click()", [&] {
        const QString entry = m_cmbFrequency->currentText();
        const bool monthly = entry == QLatin1String("Monthly");
        if (entry == QLatin1String("Daily") || entry == QLatin1String("Weekly")) {
            const bool daily = entry == QLatin1String("Daily");
            for (size_t i = 0; i < m_weekdays.size(); ++i)
                m_weekdays[i]->setChecked(daily || i == 6);
            m_lblSelectDayOf->setText(name("Select the day(s) of the week:"));
        } else if (monthly) {
            m_cmbDayOfMonth->setCurrentIndex(0);
            m_lblSelectDayOf->setText(name("Select the day of the month:"));
        } else {
            return;
        }
        m_cmbDayOfMonth->setVisible(monthly);
        for (QCheckBox* day : m_weekdays)
            day->setVisible(!monthly);
    });
}

void frmWIZ_JobDefinition::optNoSecurity_Click()
{
    setSecurityEnabled(false);
}

void frmWIZ_JobDefinition::optUserLevelSecurity_Click()
{
    setSecurityEnabled(true);
}

// The texts stay as they are either way, and are saved as they are.
void frmWIZ_JobDefinition::setSecurityEnabled(bool enabled)
{
    m_cmdBrowseMDWFile->setEnabled(enabled);
    for (QLineEdit* box : {m_txtMDWFile, m_txtUserID, m_txtPassword}) {
        box->setEnabled(enabled);
        setBackground(box, enabled ? kWhite : kGrey);
    }
}

void frmWIZ_JobDefinition::optCompression_Click()
{
    trapFatal(kModule, "optCompression_Click()", [&] {
        if (m_cmbNumberFilesToKeep->isVisible())
            m_cmbNumberFilesToKeep->setFocus(Qt::OtherFocusReason);
    });
}

// Letters, digits, accented letters, "_", blank and "." make a name; anything else typed is
// refused with a beep and a box. Editing keys (Ctrl with a letter) are no characters.
bool frmWIZ_JobDefinition::txtDatabaseJobName_KeyPress(const QString& typed)
{
    for (const QChar c : typed) {
        const char16_t code = c.unicode();
        const bool accepted = (code >= u'A' && code <= u'Z') || (code >= u'a' && code <= u'z') ||
                              (code >= u'0' && code <= u'9') ||
                              (code >= 192 && code <= 255 && code != 247) || code == u'_' ||
                              code == u' ' || code == u'.' || code == 8 || code == 9 ||
                              code == 16 || code == 27;
        if (!accepted) {
            desktop().beep();
            MsgBox("The character '" + QString(c).toStdString() +
                       "' is not allowed in a Database Job name.",
                   mb::OkOnly, "Keypress Error");
            return false;
        }
    }
    return true;
}

void frmWIZ_JobDefinition::txtStartTime_LostFocus()
{
    trapFatal(kModule, "txtStartTime_LostFocus()", [&] {
        const std::string text = m_txtStartTime->text().toStdString();
        std::string problem;
        if (text.empty()) {
            problem = "The Start Time field cannot be left blank.";
        } else {
            try {
                m_txtStartTime->setText(QString::fromStdString(formatTime(parseTime(text))));
                return;
            } catch (const RuntimeError&) {
                problem = "The time you entered is not valid.";
            }
        }
        MsgBox(problem + "  Please correct the value now using " +
                   "the format 'hh:mm' where between 00:00 - 23:59.",
               mb::OkOnly, "Verification Error");
        m_txtStartTime->setFocus(Qt::OtherFocusReason);
    });
}

bool frmWIZ_JobDefinition::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::KeyRelease:
        if (static_cast<QKeyEvent*>(event)->key() == Qt::Key_F1 &&
            !static_cast<QKeyEvent*>(event)->isAutoRepeat()) {
            Form_KeyUp();
            return true;
        }
        break;
    case QEvent::KeyPress:
        if (watched == m_txtDatabaseJobName) {
            const auto* key = static_cast<QKeyEvent*>(event);
            const bool editingKey = key->modifiers().testFlag(Qt::ControlModifier) ||
                                    key->key() == Qt::Key_Delete || key->key() == Qt::Key_Return ||
                                    key->key() == Qt::Key_Enter;
            if (!editingKey && !key->text().isEmpty() && !txtDatabaseJobName_KeyPress(key->text()))
                return true;
        }
        break;
    case QEvent::FocusIn:
        if (watched == m_txtDatabaseJobName || watched == m_txtStartTime) {
            // After the click that gave the focus has placed the cursor.
            auto* box = static_cast<QLineEdit*>(watched);
            QTimer::singleShot(0, box, [box] { box->selectAll(); });
        }
        break;
    case QEvent::FocusOut: {
        // Switching to another window (or to the refusal box itself) is no leaving.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (watched == m_txtStartTime && reason != Qt::ActiveWindowFocusReason &&
            reason != Qt::PopupFocusReason && isVisible())
            txtStartTime_LostFocus();
        break;
    }
    default:
        break;
    }
    return QDialog::eventFilter(watched, event);
}

void frmWIZ_JobDefinition::Form_KeyUp()
{
    m_schedule.mnuHelpContents_Click();
}

// ---- pickers --------------------------------------------------------------------------------

// Each picker starts from an empty name; a cancel leaves the box as it was.
void frmWIZ_JobDefinition::browseFileInto(QLineEdit* box, const std::string& extension,
                                          const std::string& description)
{
    std::string chosen;
    BrowseFile(chosen, extension, description);
    if (!chosen.empty())
        box->setText(QString::fromStdString(chosen));
}

void frmWIZ_JobDefinition::browseFolderInto(QLineEdit* box)
{
    std::string chosen;
    BrowseFolder(chosen);
    if (!chosen.empty() && chosen != std::string(1, kPathSeparator))
        box->setText(QString::fromStdString(chosen));
}

} // namespace quorvex
