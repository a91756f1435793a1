#include "ui/about/frm_about.hpp"

#include "support/app_info.hpp"
#include "support/error_handler.hpp"
#include "ui/about/help.hpp"
#include "ui/icons.hpp"
#include "ui/schedule/notepad.hpp"
#include "ui/twips.hpp"

#include <QFrame>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

#include <tuple>

namespace quorvex {

namespace {

constexpr const char* kModule = "frmAbout.frm";

} // namespace

frmAbout::frmAbout(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("About Quorvex"));
    QFont text = font();
    text.setPointSizeF(8.25);
    setFont(text);
    setFixedSize(twipsX(*this, 6600), twipsY(*this, 4455));

    auto* icon = addLabel("imgIcon", {}, 120, 240, 480, 480);
    icon->setPixmap(icons::application().pixmap(icon->size()));
    m_lblTitle =
        addLabel("lblTitle", QStringLiteral("Quorvex <Ver> (Bld <Bld>)"), 780, 240, 3915, 255);
    QFont bold = m_lblTitle->font();
    bold.setBold(true);
    m_lblTitle->setFont(bold);
    addLabel("lblFor", QStringLiteral("Database Job Scheduling Agent"), 780, 480, 3915, 255);
    addLabel("lblCopyright", QStringLiteral("Copyright \u00a9 2026 the Quorvex developers"), 780,
             840, 3915, 255);
    addSeparator(3, 2, 1140, 120, 4750);
    // Where the maker's request and postal address would stand: what the program is for.
    addLabel("lblPenalty(2)",
             QStringLiteral("Quorvex repairs and compacts Microsoft Access databases, backs "
                            "them up with numbered copies, and opens them in Access so that "
                            "their own start-up code runs, each on its own schedule."),
             120, 1860, 4575, 1380);
    addSeparator(5, 4, 1740, 120, 4750);
    addSeparator(0, 1, 3300, 60, 4690);

    const QString mail = QString::fromStdString(supportMailAddress());
    const QString homepage = QString::fromStdString(homepageAddress());
    if (!mail.isEmpty()) {
        addLabel("lblPenalty(1)",
                 QStringLiteral("If you have any suggestions for product improvement, bugs, "
                                "etc. please email them to:"),
                 120, 3420, 4575, 435);
        m_lblMailTo = addLink("lblMailTo", QStringLiteral("mailto: ") + mail, 360, 3840, 4300);
    }
    if (!homepage.isEmpty())
        m_lblWebsite = addLink("lblWebsite", homepage, 360, 4080, 4300);

    auto* buttons = new QFrame(this);
    buttons->setObjectName(QStringLiteral("fraButtons"));
    buttons->setGeometry(twipsRect(*this, 4800, -60, 1755, 4455));
    auto* errorLog = new QPushButton(QStringLiteral("Error &Log"), buttons);
    errorLog->setObjectName(QStringLiteral("cmdErrorLog"));
    errorLog->setToolTip(QStringLiteral("Display Error Log File"));
    errorLog->setAutoDefault(false);
    errorLog->setGeometry(twipsRect(*this, 90, 3540, 1575, 325));
    connect(errorLog, &QPushButton::clicked, this, [this] { cmdErrorLog_Click(); });
    // OK is the default button, and Escape rejects the box, which is what OK does too.
    auto* close = new QPushButton(QStringLiteral("OK"), buttons);
    close->setObjectName(QStringLiteral("cmdClose"));
    close->setDefault(true);
    close->setGeometry(twipsRect(*this, 90, 4020, 1575, 325));
    connect(close, &QPushButton::clicked, this, [this] { cmdClose_Click(); });

    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    Form_Load();
}

frmAbout::~frmAbout() = default;

QLabel* frmAbout::addLabel(const char* name, const QString& text, int left, int top, int width,
                           int height)
{
    auto* label = new QLabel(text, this);
    label->setObjectName(QString::fromLatin1(name));
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setGeometry(twipsRect(*this, left, top, width, height));
    return label;
}

// A link: blue, underlined, opened by a click.
QLabel* frmAbout::addLink(const char* name, const QString& text, int left, int top, int width)
{
    QLabel* link = addLabel(name, text, left, top, width, 240);
    QFont underlined = link->font();
    underlined.setUnderline(true);
    link->setFont(underlined);
    QPalette blue = link->palette();
    blue.setColor(QPalette::WindowText, Qt::blue);
    link->setPalette(blue);
    link->setCursor(Qt::PointingHandCursor);
    link->installEventFilter(this);
    return link;
}

// A grey line with a white one under it, which reads as an engraved rule.
void frmAbout::addSeparator(int grey, int white, int top, int left, int right)
{
    for (const auto& [index, colour, offset] :
         {std::tuple{grey, QColor(128, 128, 128), 0}, std::tuple{white, QColor(Qt::white), 15}}) {
        auto* line = new QFrame(this);
        line->setObjectName(QStringLiteral("linSeparator(%1)").arg(index));
        line->setGeometry(twipsX(*this, left), twipsY(*this, top + offset),
                          twipsX(*this, right - left), 1);
        line->setAutoFillBackground(true);
        QPalette palette = line->palette();
        palette.setColor(QPalette::Window, colour);
        line->setPalette(palette);
    }
}

void frmAbout::Form_Load()
{
    trapFatal(kModule, "Form_Load()", [&] {
        QString title = m_lblTitle->text();
        title.replace(title.indexOf(QLatin1String("<Ver>")), 5,
                      QStringLiteral("%1.%2").arg(app().major).arg(app().minor));
        title.replace(title.indexOf(QLatin1String("<Bld>")), 5, QString::number(app().revision));
        m_lblTitle->setText(title);
    });
}

bool frmAbout::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonRelease) {
        if (watched == m_lblMailTo)
            lblMailTo_Click();
        else if (watched == m_lblWebsite)
            lblWebsite_Click();
    }
    return QDialog::eventFilter(watched, event);
}

void frmAbout::keyReleaseEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_F1 && !event->isAutoRepeat()) {
        emit helpRequested();
        return;
    }
    QDialog::keyReleaseEvent(event);
}

void frmAbout::cmdClose_Click()
{
    trapFatal(kModule, "cmdClose_Click()", [&] { accept(); });
}

void frmAbout::cmdErrorLog_Click()
{
    trapFatal(kModule, "cmdErrorLog_Click()", [&] { openInNotepad(errorLogPath()); });
}

void frmAbout::lblMailTo_Click()
{
    trapFatal(kModule, "lblMailTo_Click()", [&] { RunIE("mailto:" + supportMailAddress()); });
}

void frmAbout::lblWebsite_Click()
{
    trapFatal(kModule, "lblWebsite_Click()", [&] { RunIE(homepageAddress()); });
}

} // namespace quorvex
