#include "ui/about/frm_preferences.hpp"

#include "support/desktop.hpp"
#include "support/error_handler.hpp"
#include "support/preferences.hpp"
#include "ui/twips.hpp"

#include <QCheckBox>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

#include <algorithm>

namespace quorvex {

namespace {

constexpr const char* kModule = "frmPreferences";
constexpr const char* kVerificationError = "Verification Error";
constexpr int kMaxCopies = 99;
constexpr int kAddedHeight = 720;

} // namespace

frmPreferences::frmPreferences(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmPreferences"));
    setWindowTitle(QStringLiteral("Quorvex Preferences"));
    // Grown by the rows of the two check boxes.
    setFixedSize(twipsX(*this, 5505), twipsY(*this, 2355 + kAddedHeight));

    auto label = [this](int index, const char* text, int top) {
        auto* item = new QLabel(QString::fromLatin1(text), this);
        item->setObjectName(QStringLiteral("lblItem(%1)").arg(index));
        item->setWordWrap(true);
        item->setGeometry(twipsRect(*this, 900, top, 4515, 435));
    };
    label(0, "Maximum number of Backup Copies in drop-down box at Job Definition Wizard?", 240);
    label(1,
          "Stop appliction and popup message box if error encountered while executing database "
          "job?",
          900);

    m_maxBackupCopies = new QComboBox(this);
    m_maxBackupCopies->setObjectName(QStringLiteral("cmbMaxBackupCopies"));
    m_maxBackupCopies->setGeometry(twipsRect(*this, 60, 240, 735, 315));
    m_stopOnError = new QComboBox(this);
    m_stopOnError->setObjectName(QStringLiteral("cmbStopOnError"));
    m_stopOnError->setGeometry(twipsRect(*this, 60, 900, 735, 315));

    m_catchUpMissedRuns =
        new QCheckBox(QStringLiteral("Run missed jobs when Quorvex starts"), this);
    m_catchUpMissedRuns->setObjectName(QStringLiteral("chkCatchUpMissedRuns"));
    m_catchUpMissedRuns->setGeometry(twipsRect(*this, 900, 1500, 4515, 300));
    m_verifyBackups = new QCheckBox(QStringLiteral("Check each backup after writing it"), this);
    m_verifyBackups->setObjectName(QStringLiteral("chkVerifyBackups"));
    m_verifyBackups->setGeometry(twipsRect(*this, 900, 1860, 4515, 300));

    auto* ok = new QPushButton(QStringLiteral("&Ok"), this);
    ok->setObjectName(QStringLiteral("cmdOk"));
    ok->setGeometry(twipsRect(*this, 1665, 1860 + kAddedHeight, 1095, 375));
    connect(ok, &QPushButton::clicked, this, [this] { cmdOk_Click(); });
    // Escape presses Cancel: QDialog rejects on Escape, which is Cancel's own action.
    auto* cancel = new QPushButton(QStringLiteral("&Cancel"), this);
    cancel->setObjectName(QStringLiteral("cmdCancel"));
    cancel->setGeometry(twipsRect(*this, 2985, 1860 + kAddedHeight, 1095, 375));
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    Form_Load();
}

frmPreferences::~frmPreferences() = default;

void frmPreferences::Form_Load()
{
    trapFatal(kModule, "Form_Load()", [&] {
        for (int copies = 1; copies <= kMaxCopies; ++copies)
            m_maxBackupCopies->addItem(QString::number(copies));
        m_stopOnError->addItems({QStringLiteral("Yes"), QStringLiteral("No")});
        // A hand-edited Quorvex.ini may hold values out of range; they show as the nearest
        // valid entry instead of ending the program. Any non-zero StopOnError is true.
        const Preferences& prefs = preferences();
        m_stopOnError->setCurrentIndex(prefs.StopOnError != 0 ? 0 : 1);
        m_maxBackupCopies->setCurrentIndex(std::clamp<int>(prefs.NumberCopies, 1, kMaxCopies) - 1);
        m_catchUpMissedRuns->setChecked(prefs.CatchUpMissedRuns != 0);
        m_verifyBackups->setChecked(prefs.VerifyBackups != 0);
    });
}

void frmPreferences::cmdOk_Click()
{
    trapFatal(kModule, "cmdOK_Click()", [&] {
        if (m_maxBackupCopies->currentIndex() < 0) {
            MsgBox(std::string("You must select a value between 1 and 99 ") + kCrLf +
                       "for the 'Maximum Number of Backup Copies' " + kCrLf + "drop-down box.",
                   mb::OkOnly, kVerificationError);
            return;
        }
        if (m_stopOnError->currentIndex() < 0) {
            MsgBox(std::string("You must select either Yes or No from ") + kCrLf +
                       "the 'Stop on Error' drop-down box. ",
                   mb::OkOnly, kVerificationError);
            return;
        }
        Preferences& prefs = preferences();
        prefs.NumberCopies = int16_t(m_maxBackupCopies->currentIndex() + 1);
        prefs.StopOnError = int16_t(m_stopOnError->currentIndex() - 1);
        prefs.CatchUpMissedRuns = m_catchUpMissedRuns->isChecked() ? -1 : 0;
        prefs.VerifyBackups = m_verifyBackups->isChecked() ? -1 : 0;
        SavePreferences();
        accept();
    });
}

} // namespace quorvex
