#pragma once

#include "execution/status_display.hpp"
#include "support/date_time.hpp"
#include "ui/about/help.hpp"

#include <QIcon>
#include <QMainWindow>

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class QAction;
class QLabel;
class QMenu;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace quorvex {

// The schedule window: the job list, which is also the agent's in-memory table of jobs, the
// status bar with the lights, and the commands on jobs. Closing it only hides it until
// KillForm is set. Rows are counted from 1, as the list's users count them.
class frmSchedule : public QMainWindow, public StatusDisplay {
    Q_OBJECT

public:
    // Shows the job definition wizard modally, owned by this window: addJob true defines a new
    // job, false edits the job of the selected row. The wizard adds or rewrites the row itself.
    using JobWizard = std::function<void(frmSchedule& owner, bool addJob)>;
    using HelpHandler = std::function<void(HelpItem item)>;

    // Columns of lvwSchedule.
    static constexpr int kColName = 0;
    static constexpr int kColLastRun = 1;
    static constexpr int kColNextRun = 2;
    static constexpr int kColStartTime = 3;
    static constexpr int kColJobType = 4;
    static constexpr int kColJobFile = 5;

    explicit frmSchedule(QWidget* parent = nullptr);
    ~frmSchedule() override;

    // Appends one row; the caller sets StatusBarCount afterwards.
    void AddItemListView(const std::string& sBackupName, DateTime dDateLastRun,
                         DateTime dDateNextRun, DateTime dStartTime, int16_t iJobType,
                         const std::string& sBackupFilename);
    // Removes the row at iIndexNumber (from 1). Positions and counts are plain ints, so a list
    // longer than 32767 rows never removes or counts the wrong row.
    void DeleteItemListView(int iIndexNumber);
    // "N Database Jobs" in the first status bar panel.
    void setStatusBarCount(int count);
    const std::string& MessageText() const { return m_messageText; }
    // True lets the window really close (the agent's Exit).
    void setKillForm(bool kill) { m_killForm = kill; }

    // StatusDisplay: the text goes to the second panel and the window repaints at once.
    void setMessageText(const std::string& text) override;
    void setLightVisible(int index, bool visible) override;
    void refresh() override;

    // The list as the due-job check and the wizard use it.
    QTreeWidget* lvwSchedule() const { return m_list; }
    int rowCount() const;
    // The values kept beside the texts of row i (from 1).
    DateTime rowDateLastRun(int row) const;
    DateTime rowDateNextRun(int row) const;
    DateTime rowStartTime(int row) const;
    // When the row falls due, by its next run and start time as the list shows them.
    DateTime rowDueMoment(int row) const;
    // The earliest due moment of all rows, the far future without rows. It depends on the rows
    // alone, so it is kept until a row is added, removed or rewritten, and a due-job check
    // costs nothing while nothing is due.
    DateTime earliestDueMoment() const;
    std::string rowJobFile(int row) const;
    // Rewrites the Last Run and Next Run columns of row i, texts and values.
    void setRowRuns(int row, DateTime dDateLastRun, DateTime dDateNextRun);
    // Rewrites every column and the picture of row i, as AddItemListView fills a new one.
    void setRow(int row, const std::string& sBackupName, DateTime dDateLastRun,
                DateTime dDateNextRun, DateTime dStartTime, int16_t iJobType,
                const std::string& sBackupFilename);
    // The position (from 1) of the current row when it is selected, else 0: the job that
    // Open and Copy hand to the wizard.
    int selectedRow() const;
    // Shows a run that passed while the agent was not running as row i's next run, so the
    // due-job check makes it up; rewriting the row's runs forgets it.
    void setMissedRun(int row, DateTime missed);
    std::optional<DateTime> rowMissedRun(int row) const;
    // Makes row i the current row and the only selected one.
    void selectOnlyRow(int row);
    void clearSelection();
    bool isRowSelected(int row) const;

    // Commands (toolbar buttons, Action and File menus).
    void cmdAddJob_Click();
    void cmdEditJob_Click();
    void cmdCopyJob_Click();
    void cmdDelJob_Click();
    void cmdBackup_Click();
    void mnuActionViewTransactionLog_Click();
    void mnuActionViewErrorLog_Click();
    void mnuFilePreferences_Click();
    void mnuHelpContents_Click();

    // The job definition wizard and the help entries are installed from the start; tests put
    // their own in their place.
    void setJobWizard(JobWizard wizard) { m_jobWizard = std::move(wizard); }
    void setHelpHandler(HelpHandler handler) { m_helpHandler = std::move(handler); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

private:
    void createList();
    void createToolbar();
    void createMenus();
    void createStatusBar();
    QPushButton* addButton(const char* name, const char* caption, const char* tip, int left,
                           const QIcon& picture);
    QAction* addItem(QMenu* menu, const char* name, const char* caption,
                     std::function<void()> command);
    static void addSeparator(QMenu* menu, const char* name);

    void Form_Activate();
    void Form_Resize();
    void lvwSchedule_ColumnClick(int column);
    void sortList();

    QTreeWidgetItem* row(int index) const;
    DateTime dateCell(int index, int column) const;
    static void setDateCell(QTreeWidgetItem* item, int column, const std::string& text,
                            DateTime value);
    void fillRow(QTreeWidgetItem* item, const std::string& name, DateTime lastRun, DateTime nextRun,
                 DateTime startTime, int16_t jobType, const std::string& file);
    // The two checks before a command on jobs; false after showing the message.
    bool checkSelection();
    // Positions (from 1) of the selected rows, in ascending order.
    std::vector<int> selectedRows() const;
    void selectRowsNamed(const QString& name, const std::string& path);
    void showJobWizard(bool addJob);
    void showHelp(HelpItem item);
    void updateCount();

    // The pictures of JobType 1 to 3 at their positions; 0 for any other value.
    std::array<QIcon, 4> m_jobTypeIcons;
    QTreeWidget* m_list = nullptr;
    QWidget* m_toolbar = nullptr;
    QLabel* m_panelCount = nullptr;
    QLabel* m_panelMessage = nullptr;
    QLabel* m_panelLights = nullptr;
    std::array<QLabel*, kLightCount> m_imgLight{};

    mutable std::optional<DateTime> m_earliestDue;
    std::string m_messageText;
    bool m_killForm = false;
    bool m_activated = false;
    bool m_sorted = false;
    int m_sortColumn = kColName;
    Qt::SortOrder m_sortOrder = Qt::AscendingOrder;

    JobWizard m_jobWizard;
    HelpHandler m_helpHandler;
};

} // namespace quorvex
