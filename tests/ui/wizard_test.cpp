#include "execution/access_job_test.hpp"
#include "jobs/job_directory.hpp"
#include "run_quorvexctl.hpp"
#include "ui/form_test.hpp"
#include "ui/wizard/frm_wiz_job_definition.hpp"

#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <memory>

namespace quorvex::test {
namespace {

// Access is registered for database files; a test without the probe file beside the program
// sees a machine without it.
const auto* const g_associations = ::testing::AddGlobalTestEnvironment(new AccessAssociations);

const QString kDays =
    "chkMonday chkTuesday chkWednesday chkThursday chkFriday chkSaturday chkSunday";
const QString kActions = "optAction(1) optAction(2) optAction(3)";
// The step and which of Back, Next and Finish are enabled.
const QString kStep = "lblStepNbr cmdBack cmdNext cmdFinish";

class WizardTest : public FormTest {
protected:
    void SetUp() override
    {
        FormTest::SetUp();
        std::filesystem::copy_file(builtAppDir() / "TestForAccess.mdb",
                                   dir() / "TestForAccess.mdb");
    }

    // The wizard shown (not modally) for a new job or for the selected row's job.
    void open(bool addJob)
    {
        m_wizard = std::make_unique<frmWIZ_JobDefinition>(m_schedule);
        m_wizard->setAddJob(addJob);
        m_wizard->show();
        m_wizard->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(m_wizard.get()));
        m_form = m_wizard.get();
    }
    void toLastStep()
    {
        while (find("cmdNext")->isEnabled())
            click("cmdNext");
    }
    // Fills the pages of a valid daily backup job of data/Orders.mdb into the target and goes
    // to the last step.
    void fillBackupJob(const std::string& name)
    {
        writeFile(dir() / "data" / "Orders.mdb", "orders");
        set("optAction(3)=on;txtDatabaseJobName=" + name +
            ";txtBackupSourceMDB=<dir>/data/Orders.mdb;txtBackupTargetPath=<dir>/target/");
        toLastStep();
    }
    // Opens the first row's job, names it and finishes; its file may go meanwhile.
    void rename(const std::string& name, bool fileGoes = false)
    {
        m_schedule.selectOnlyRow(1);
        open(false);
        if (fileGoes)
            std::filesystem::remove(m_schedule.rowJobFile(1));
        set("txtDatabaseJobName=" + name);
        toLastStep();
        click("cmdFinish");
    }

    frmSchedule m_schedule;
    std::unique_ptr<frmWIZ_JobDefinition> m_wizard;
};

// The transcript notes, for each action, the steps and where the focus rule puts the focus,
// which tells the page (except on page 4 without security, which has no place for it; the fifth
// Next is disabled); then the keys refused in the name, each start time typed as "<typed> ->
// <kept>, focus on <control>", the schedule page for each frequency, the security page, and
// the actions after each click: exactly one stays selected.
//
// Then it notes the controls of a new job and the default name beside each name listed; the
// values of a stored job (data/ui/Mailing.tsk) and of a hand-edited one with a type, a day of
// the month and a number of copies that have no entry; then, without Access, the notice of each
// of three showings, before the window shows.
TEST_F(WizardTest, StepsPagesDefaultsAndStoredValuesOddOnesSelectSoundEntriesWithoutAccessBackups)
{
    const auto focused = [] { return QApplication::focusWidget()->objectName().toStdString(); };
    for (int action = 1; action <= 3; ++action) {
        open(true);
        click(QStringLiteral("optAction(%1)").arg(action));
        note(form(kStep));
        for (int i = 0; i < 5; ++i) {
            click("cmdNext");
            note(form(kStep) + (m_wizard->stepNumber() == 4 ? "" : " " + focused()));
        }
        for (int i = 0; i < 4; ++i) {
            click("cmdBack");
            note(form(kStep));
        }
    }
    click("cmdNext");
    auto* name = find<QLineEdit>("txtDatabaseJobName");
    name->clear();
    QTest::keyClicks(name, "Sales-2 .x/");
    EXPECT_EQ(name->text(), "Sales2 .x");
    EXPECT_EQ(m_desktop.beeps(), 2);

    click("cmdNext");
    auto* start = find<QLineEdit>("txtStartTime");
    for (const char* typed : {"3:05", "15:30", "11:45 PM", "", "25:00"}) {
        start->setFocus();
        start->setText(typed);
        find("cmbFrequency")->setFocus();
        note(std::string(typed) + " -> " + start->text().toStdString() + ", focus on " + focused());
    }
    set("txtStartTime=03:00");
    for (const char* chosen : {"Weekly", "Monthly", "Daily"}) {
        set(std::string("cmbFrequency=") + chosen);
        note(form(kDays + " cmbDayOfMonth lblSelectDayOf") + " " +
             std::to_string(find("cmbDayOfMonth")->isVisible()) +
             std::to_string(find("chkMonday")->isVisible()));
        set("chkTuesday=on");
    }
    click("cmdNext");
    set("txtUserID=kept");
    for (const char* option : {"optNoSecurity", "optUserLevelSecurity", "optNoSecurity"}) {
        set(std::string(option) + "=on");
        note(form("txtMDWFile txtUserID txtPassword cmdBrowseMDWFile"));
    }
    for (int clicked : {2, 2, 3}) {
        click(QStringLiteral("optAction(%1)").arg(clicked));
        note(form(kActions));
    }

    open(true);
    note(m_wizard->windowTitle().toStdString() + " " +
         std::to_string(find<QComboBox>("cmbNumberFilesToKeep")->count()) + " " +
         form(kDays + " optAction(1) txtStartTime cmbFrequency optNoSecurity optCompression(1) "
                      "cmbNumberFilesToKeep txtBackupSourceMDB"));
    for (const char* listed : {"Nightly", "New Database Job", "New Database Job 7",
                               "new database job 9", "New Database Job 99999"}) {
        m_schedule.AddItemListView(listed, {}, {}, {}, job_type::Backup, "/x.tsk");
        open(true);
        note(std::string(listed) + " -> " + form("txtDatabaseJobName"));
    }

    const std::string file = (jobsDir() / "Mailing.tsk").string();
    m_schedule.AddItemListView("Mailing", {}, {}, {}, job_type::AutoExecute, file);
    m_schedule.selectOnlyRow(6);
    for (const char* stored : {"Mailing.tsk", "Odd.tsk", "Mailing.tsk"}) {
        std::filesystem::copy_file(std::filesystem::path(QUORVEX_TEST_DATA_DIR) / stored, file,
                                   std::filesystem::copy_options::overwrite_existing);
        open(false);
        note(m_wizard->windowTitle().toStdString() + " " +
             form(kDays + " optAction(1) optAction(2) optAction(3) txtDatabaseJobName txtStartTime"
                          " cmbDayOfMonth optUserLevelSecurity txtMDWFile txtUserID txtPassword"
                          " optCompression(0) cmbNumberFilesToKeep txtAutoExecMDB"
                          " txtBackupTargetPath"));
        if (stored == std::string("Odd.tsk")) {
            std::filesystem::remove(dir() / "TestForAccess.mdb");
            preferences().NumberCopies = 2; // below the three copies of a new job
        }
    }
    note(std::to_string(find<QComboBox>("cmbNumberFilesToKeep")->count()));
    open(true);
    note(form(kActions + " cmbNumberFilesToKeep"));
    expectTranscript();
}

// On the backup page, the pickers (data/ui/picks.txt): a refused name is proposed again; a
// cancel, a missing folder then a cancel, or the root keep the boxes. Then a valid job with one
// change each (data/ui/finish_refusals.txt). The transcript has the boxes after each pick, the
// dialogs, each refusal and the step it returns to.
TEST_F(WizardTest, PickersAskAgainAndFinishRefusesReturningToThePageOfTheFirstProblem)
{
    writeFile(dir() / "data" / ".Hidden.mdb", "hidden");
    open(true);
    fillBackupJob("Orders");
    for (const CaseFields& pick : cases("picks.txt")) {
        for (auto answer = pick.begin() + 1; answer != pick.end(); ++answer)
            m_desktop.chooseNext(*answer == "cancel" ? std::nullopt : std::optional(path(*answer)));
        click(QString::fromStdString(pick[0]));
        note(form("txtBackupSourceMDB txtBackupTargetPath"));
    }
    for (const OpenFileRequest& asked : m_desktop.fileDialogs()) {
        note("file dialog: " + asked.title + " | " + asked.defaultExtension + " | " +
             asked.fileName);
        for (const auto& filter : asked.filters)
            note("  filter: " + filter.description + " | " + filter.pattern);
    }
    for (const std::string& prompt : m_desktop.folderDialogs())
        note("folder dialog: " + prompt);

    listBackupJob(m_schedule, "Nightly-Backup", {}, at(2026, 12, 1));
    // A job whose file is not named after it keeps its file.
    m_schedule.AddItemListView("Hand named", {}, {}, {}, job_type::Backup,
                               (jobsDir() / "Hand.tsk").string());
    writeFile(dir() / "system.mdw", "mdw");
    writeFile(dir() / ".hidden.mdw", "mdw");
    for (const CaseFields& change : cases("finish_refusals.txt")) {
        open(true);
        fillBackupJob("Orders");
        set(change[0]);
        click("cmdFinish");
        note(form(kStep) + (m_wizard->isVisible() ? "" : " closed"));
    }
    EXPECT_EQ(m_schedule.rowCount(), 2);
    EXPECT_EQ(listJobFiles(jobsDir().string()).size(), 1u);
    EXPECT_FALSE(m_desktop.busy());
    expectTranscript();
}

// The schedule window opens the real wizard modally; the user's part is played while it waits.
// What it saves is the job of data/ui/OrdersDaily.tsk with this folder's paths, written as any
// job is written, and quorvexctl lists the jobs (here the renamed one only) as the window does. The
// transcript has the rows after the first two Finishes.
TEST_F(WizardTest, FinishSavesTheJobAddsItsRowAndARenameReplacesTheFileAfterwards)
{
    m_clock.set(2026, 12, 5, 10, 0, 0); // a Saturday
    QTimer::singleShot(0, [this] {
        m_form = QApplication::activeModalWidget();
        ASSERT_NE(qobject_cast<frmWIZ_JobDefinition*>(m_form), nullptr);
        set("txtStartTime=23:30");
        fillBackupJob("Orders (Daily)");
        click("cmdFinish");
    });
    m_schedule.findChild<QPushButton*>("cmdAddJob")->click();
    CDatabaseJob expected;
    expected.OpenDatabaseJob(std::filesystem::path(QUORVEX_TEST_DATA_DIR) / "OrdersDaily.tsk");
    expected.setBackupSourceMDB(path("data/Orders.mdb"));
    expected.setBackupTargetDirectory(backupTarget().string() + "/");
    expected.SaveDatabaseJob(path("expected.tsk"));
    const auto saved = jobsDir() / "OrdersDaily.tsk";
    EXPECT_EQ(readFile(saved), readFile(path("expected.tsk")));
    note(rowsOf(m_schedule));

    // A rename that cannot be written keeps the old file and the row, and says why. Once it
    // can be written, the new file replaces the old one in the same row; a previous file that
    // is already gone is no error.
    std::filesystem::create_directory(jobsDir() / "Orders.tsk");
    rename("Orders");
    EXPECT_TRUE(m_wizard->isVisible());
    EXPECT_TRUE(std::filesystem::exists(saved));
    note(rowsOf(m_schedule));
    std::filesystem::remove(jobsDir() / "Orders.tsk");
    rename("Orders");
    EXPECT_FALSE(m_wizard->isVisible());
    m_clock.set(SystemClock().now()); // quorvexctl has the real clock
    rename("Orders Weekly", true);
    EXPECT_EQ(runQuorvexctl({"list", "--app-dir", dir().string()}, dir()).out,
              rowsOf(m_schedule, "\t") + "\n");
    expectTranscript();
}

} // namespace
} // namespace quorvex::test
