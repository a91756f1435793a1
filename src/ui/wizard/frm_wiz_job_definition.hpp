#pragma once

#include <QDialog>

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

class QAbstractButton;
class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QToolButton;

namespace quorvex {

class frmSchedule;

// The job definition wizard: five steps on seven pages (the fifth step shows the page of the
// chosen action) that define a new job or change the one selected in the schedule window.
// Nothing is checked or saved before Finish, but the job-name keys and the start time.
class frmWIZ_JobDefinition : public QDialog {
    Q_OBJECT

public:
    // Pages by number, from 1.
    static constexpr int kPageCount = 7;

    explicit frmWIZ_JobDefinition(frmSchedule& schedule);
    ~frmWIZ_JobDefinition() override;

    // True defines a new job, false edits the schedule window's selected one. Set before the
    // wizard is shown: showing it loads it.
    void setAddJob(bool addJob) { m_addJob = addJob; }

    int stepNumber() const { return m_iStepNbr; }
    int frameNumber() const { return m_iFrameNbr; }

    void cmdNext_Click();
    void cmdBack_Click();
    void cmdCancel_Click();
    void cmdFinish_Click();

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Building the window (frm_wiz_job_definition.cpp).
    void createHeaderAndFooter();
    void createPages();
    void createActionPage(QWidget* page);
    void createNamePage(QWidget* page);
    void createSchedulePage(QWidget* page);
    void createSecurityPage(QWidget* page);
    struct DatabasePage {
        int action;
        int promptLabel;
        const char* prompt;
        const char* boxName;
        const char* browseName;
        int tabIndex;
        int textLabel;
        const char* text;
    };
    QLineEdit* createDatabasePage(QWidget* page, const DatabasePage& design);
    void createBackupPage(QWidget* page);
    QWidget* createPage(int index, const char* title);
    QLabel* addLabel(QWidget* parent, const QString& name, const char* caption, int left, int top,
                     int width, int height);
    QLineEdit* addTextBox(QWidget* parent, const char* name, int left, int top, int width,
                          int tabIndex);
    QLineEdit* addPathBox(QWidget* parent, const char* name, const char* browseName, int top,
                          int tabIndex);
    void registerTabIndex(QWidget* control, int tabIndex, bool takesFocus);
    void applyTabOrder();

    // Navigation and reactions.
    void Form_Load();
    void Form_Paint();
    void Form_KeyUp();
    void focusLowestTabIndex();
    void optAction_Click(int index);
    void selectAction(int index);
    int selectedAction() const;
    void cmbFrequency_Click();
    void optNoSecurity_Click();
    void optUserLevelSecurity_Click();
    void setSecurityEnabled(bool enabled);
    void optCompression_Click();
    bool txtDatabaseJobName_KeyPress(const QString& typed);
    void txtStartTime_LostFocus();
    void browseFileInto(QLineEdit* box, const std::string& extension,
                        const std::string& description);
    void browseFolderInto(QLineEdit* box);

    // Set-up of a new or an existing job (frm_wiz_setup.cpp).
    void SetupForm();
    void setUpNewJob();
    void setUpExistingJob();
    void noAccessHandling();
    std::string defaultJobName() const;

    // Finish (frm_wiz_finish.cpp).
    std::string nameProblem() const;
    struct PageProblem {
        std::string message;
        int step;
        int page;
    };
    std::optional<PageProblem> pageProblem() const;
    void returnToPage(const std::string& message, int step, int page);
    bool saveJob();
    bool weekdayTicked() const;

    frmSchedule& m_schedule;
    bool m_addJob = true;
    int m_iStepNbr = 1;
    int m_iFrameNbr = 1;
    bool m_bInPaint = false;
    bool m_loaded = false;

    std::array<QFrame*, kPageCount> m_fraWizSteps{};
    QLabel* m_lblStepNbr = nullptr;
    QPushButton* m_cmdCancel = nullptr;
    QPushButton* m_cmdBack = nullptr;
    QPushButton* m_cmdNext = nullptr;
    QPushButton* m_cmdFinish = nullptr;
    // optAction(1) to optAction(3) at their indices; 0 is unused.
    std::array<QToolButton*, 4> m_optAction{};
    QLineEdit* m_txtDatabaseJobName = nullptr;
    QLineEdit* m_txtStartTime = nullptr;
    QComboBox* m_cmbFrequency = nullptr;
    QLabel* m_lblSelectDayOf = nullptr;
    QComboBox* m_cmbDayOfMonth = nullptr;
    // Monday to Sunday.
    std::array<QCheckBox*, 7> m_weekdays{};
    QRadioButton* m_optNoSecurity = nullptr;
    QRadioButton* m_optUserLevelSecurity = nullptr;
    QLineEdit* m_txtMDWFile = nullptr;
    QPushButton* m_cmdBrowseMDWFile = nullptr;
    QLineEdit* m_txtUserID = nullptr;
    QLineEdit* m_txtPassword = nullptr;
    QLineEdit* m_txtRepairCompactMDB = nullptr;
    QLineEdit* m_txtAutoExecMDB = nullptr;
    QLineEdit* m_txtBackupSourceMDB = nullptr;
    QLineEdit* m_txtBackupTargetPath = nullptr;
    std::array<QRadioButton*, 2> m_optCompression{};
    QComboBox* m_cmbNumberFilesToKeep = nullptr;

    // Every control by its tab index; those that the focus rule may choose are marked.
    struct TabStop {
        QWidget* control;
        int tabIndex;
        bool takesFocus;
    };
    std::vector<TabStop> m_tabStops;
};

} // namespace quorvex
