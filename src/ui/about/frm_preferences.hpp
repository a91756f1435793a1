#pragma once

#include <QDialog>

class QCheckBox;
class QComboBox;

namespace quorvex {

// The preferences dialog: the maximum number of backup copies, whether a failed job stops
// with a message, whether runs missed while the agent was not running are made up, and
// whether backups are checked after they are written. It shows the in-memory preferences; OK stores
// and saves them, Cancel, Escape and the close box discard the choice.
class frmPreferences : public QDialog {
    Q_OBJECT

public:
    explicit frmPreferences(QWidget* parent = nullptr);
    ~frmPreferences() override;

    void cmdOk_Click();

private:
    void Form_Load();

    QComboBox* m_maxBackupCopies = nullptr;
    QComboBox* m_stopOnError = nullptr;
    QCheckBox* m_catchUpMissedRuns = nullptr;
    QCheckBox* m_verifyBackups = nullptr;
};

} // namespace quorvex
