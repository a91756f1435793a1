#include "execution/access_job_test.hpp"
#include "fakes/job_files_test.hpp"
#include "jobs/job_directory.hpp"
#include "run_quorvexctl.hpp"
#include "ui/wizard/frm_wiz_job_definition.hpp"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>

#include <memory>

namespace quorvex::test {
namespace {

// Access is registered for database files; a test without the probe file beside the program
// sees a machine without it.
const auto* const g_associations =
    ::testing::AddGlobalTestEnvironment(new AccessAssociations(true));

const std::string kAccessMissing =
    "Microsoft Access has not been installed on this computer.\r\nMicrosoft Access is required "
    "for the Repair/Compact and \r\nAutoExecute actions to function.\r\n\r\nThe only action "
    "available on this system is database \r\nbackups.";

class WizardTest : public JobFilesTest {
public: // the page changes of the check table reach the helpers through a fixture reference
    void SetUp() override
    {
        JobFilesTest::SetUp();
        std::filesystem::copy_file(builtAppDir() / "TestForAccess.mdb",
                                   dir() / "TestForAccess.mdb");
    }
    void withoutAccess() { std::filesystem::remove(dir() / "TestForAccess.mdb"); }

    // The wizard shown (not modally) for a new job or for the selected row's job.
    frmWIZ_JobDefinition& open(bool addJob)
    {
        m_wizard = std::make_unique<frmWIZ_JobDefinition>(m_schedule);
        m_wizard->setAddJob(addJob);
        m_wizard->show();
        m_wizard->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(m_wizard.get()));
        return *m_wizard;
    }
    template <class T = QWidget> T* find(const QString& name) const
    {
        T* widget = m_wizard->findChild<T*>(name);
        EXPECT_NE(widget, nullptr) << name.toStdString();
        return widget;
    }
    QLineEdit* box(const char* name) const { return find<QLineEdit>(name); }
    void click(const QString& name) { find<QAbstractButton>(name)->click(); }
    void next(int times = 1)
    {
        for (int i = 0; i < times; ++i)
            click("cmdNext");
    }
    // "Step n of 5", the page shown, and which of Back, Next and Finish are enabled ("BNF").
    std::string state() const
    {
        std::string shown;
        for (int p = 0; p < frmWIZ_JobDefinition::kPageCount; ++p)
            if (find<QWidget>(QStringLiteral("fraWizSteps(%1)").arg(p))->isVisible())
                shown +=
                    find<QLabel>(QStringLiteral("lblFrameTitle(%1)").arg(p))->text().toStdString();
        std::string buttons;
        for (const char* name : {"cmdBack", "cmdNext", "cmdFinish"})
            buttons += find<QPushButton>(name)->isEnabled() ? name[3] : '-';
        return find<QLabel>("lblStepNbr")->text().toStdString() + " " + shown + " " + buttons;
    }
    std::string ticked() const
    {
        std::string days;
        for (const char* day :
             {"Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday", "Sunday"})
            days += find<QCheckBox>(QStringLiteral("chk") + day)->isChecked() ? day[0] : '-';
        return days;
    }
    std::string focused() const
    {
        return QApplication::focusWidget() ? QApplication::focusWidget()->objectName().toStdString()
                                           : "";
    }
    // Fills the pages of a valid daily backup job of data/Orders.mdb into the target.
    void fillBackupJob(const std::string& name)
    {
        click("optAction(3)");
        box("txtDatabaseJobName")->setText(QString::fromStdString(name));
        writeFile(dir() / "data" / "Orders.mdb", "orders");
        box("txtBackupSourceMDB")->setText(QString::fromStdString(path("data/Orders.mdb")));
        box("txtBackupTargetPath")->setText(QString::fromStdString(backupTarget().string() + "/"));
    }

    frmSchedule m_schedule;
    std::unique_ptr<frmWIZ_JobDefinition> m_wizard;
};

TEST_F(WizardTest, NextAndBackFollowTheStepTableAndStepFiveShowsTheChosenAction)
{
    const char* pages[] = {"REPAIR & COMPACT MDB FILE", "AUTO EXECUTE MDB FILE", "BACKUP MDB FILE"};
    for (int action = 1; action <= 3; ++action) {
        open(true);
        click(QStringLiteral("optAction(%1)").arg(action));
        std::vector<std::string> seen{state()};
        // Where the focus rule places the focus; page 4 without security has no place for it.
        for (int i = 0; i < 4; ++i) {
            next();
            seen.push_back(state() + (i == 2 ? "" : " " + focused()));
        }
        next(); // disabled on step 5: nothing happens
        EXPECT_EQ(m_wizard->stepNumber(), 5);
        for (int i = 0; i < 4; ++i) {
            click("cmdBack");
            seen.push_back(state());
        }
        const std::string path[] = {"txtRepairCompactMDB", "txtAutoExecMDB", "txtBackupSourceMDB"};
        EXPECT_EQ(
            seen,
            (std::vector<std::string>{
                "Step 1 of 5 DATABASE JOB TYPE -N-",
                "Step 2 of 5 DATABASE JOB NAME BN- txtDatabaseJobName",
                "Step 3 of 5 SCHEDULING BN- txtStartTime", "Step 4 of 5 DATABASE SECURITY BN-",
                "Step 5 of 5 " + std::string(pages[action - 1]) + " B-F " + path[action - 1],
                "Step 4 of 5 DATABASE SECURITY BN-", "Step 3 of 5 SCHEDULING BN-",
                "Step 2 of 5 DATABASE JOB NAME BN-", "Step 1 of 5 DATABASE JOB TYPE -N-"}))
            << action;
    }
}

TEST_F(WizardTest, FrequencySecurityAndActionReactions)
{
    open(true);
    QComboBox* frequency = find<QComboBox>("cmbFrequency");
    QComboBox* dayOfMonth = find<QComboBox>("cmbDayOfMonth");
    next(2);
    frequency->setCurrentText("Weekly");
    EXPECT_EQ(ticked(), "------S");
    find<QCheckBox>("chkTuesday")->setChecked(true);
    frequency->setCurrentText("Monthly");
    EXPECT_EQ(dayOfMonth->currentText(), "1");
    EXPECT_TRUE(dayOfMonth->isVisible());
    EXPECT_FALSE(find<QCheckBox>("chkMonday")->isVisible());
    EXPECT_EQ(find<QLabel>("lblSelectDayOf")->text(), "Select the day of the month:");
    frequency->setCurrentText("Daily");
    EXPECT_EQ(ticked(), "MTWTFSS");
    EXPECT_FALSE(dayOfMonth->isVisible());

    next();
    box("txtUserID")->setText("kept");
    const auto security = [this] {
        std::string shown;
        for (const char* name : {"txtMDWFile", "txtUserID", "txtPassword"})
            shown += std::to_string(box(name)->isEnabled()) +
                     box(name)->palette().color(QPalette::Base).name().toStdString() + " ";
        return shown + std::to_string(find<QPushButton>("cmdBrowseMDWFile")->isEnabled());
    };
    EXPECT_EQ(security(), "0#c0c0c0 0#c0c0c0 0#c0c0c0 0");
    click("optUserLevelSecurity");
    EXPECT_EQ(security(), "1#ffffff 1#ffffff 1#ffffff 1");
    click("optNoSecurity");
    EXPECT_EQ(security(), "0#c0c0c0 0#c0c0c0 0#c0c0c0 0");
    EXPECT_EQ(box("txtUserID")->text(), "kept");

    // Exactly one action stays selected, also when the selected one is clicked again.
    for (int clicked : {2, 2, 3}) {
        click(QStringLiteral("optAction(%1)").arg(clicked));
        for (int i = 1; i <= 3; ++i)
            EXPECT_EQ(find<QToolButton>(QStringLiteral("optAction(%1)").arg(i))->isChecked(),
                      i == clicked);
    }
}

TEST_F(WizardTest, JobNameKeysAndStartTimeAreCheckedAsTheyAreEntered)
{
    open(true);
    next();
    // F1 reaches the Help Contents command; no browser is registered for web pages here.
    std::filesystem::create_directories(dir() / "Help");
    writeFile(dir() / "Help" / "Quorvex_Help.htm", "<html></html>");
    QLineEdit* name = box("txtDatabaseJobName");
    QTest::keyRelease(name, Qt::Key_F1);
    EXPECT_EQ(boxes(), (std::vector<Box>{{"You do not have a browser currently installed",
                                          mb::Exclamation, "Verification Error"}}));
    m_desktop = {};
    QCoreApplication::processEvents(); // the selection follows the focus
    EXPECT_EQ(name->selectedText(), "New Database Job");
    name->clear();
    QTest::keyClicks(name, "Sales-2 .x/");
    EXPECT_EQ(name->text(), "Sales2 .x");
    EXPECT_EQ(m_desktop.beeps(), 2);
    EXPECT_EQ(boxes(),
              (std::vector<Box>{{"The character '-' is not allowed in a Database Job name.",
                                 mb::OkOnly, "Keypress Error"},
                                {"The character '/' is not allowed in a Database Job name.",
                                 mb::OkOnly, "Keypress Error"}}));

    next();
    QLineEdit* start = box("txtStartTime");
    const std::string rule = "  Please correct the value now using the format 'hh:mm' where "
                             "between 00:00 - 23:59.";
    const struct {
        const char* typed;
        const char* kept;
        const char* problem;
    } cases[] = {{"3:05", "03:05", nullptr},
                 {"15:30", "15:30", nullptr},
                 {"11:45 PM", "23:45", nullptr},
                 {"", "", "The Start Time field cannot be left blank."},
                 {"25:00", "25:00", "The time you entered is not valid."}};
    for (const auto& c : cases) {
        const size_t before = boxes().size();
        start->setFocus();
        start->setText(c.typed);
        find<QComboBox>("cmbFrequency")->setFocus();
        EXPECT_EQ(start->text().toStdString(), c.kept);
        if (c.problem == nullptr) {
            EXPECT_EQ(boxes().size(), before) << c.typed;
            continue;
        }
        ASSERT_EQ(boxes().size(), before + 1) << c.typed;
        EXPECT_EQ(boxes().back(), (Box{c.problem + rule, mb::OkOnly, "Verification Error"}));
        EXPECT_EQ(focused(), "txtStartTime");
    }
}

TEST_F(WizardTest, NewJobDefaultsAndTheFreeDefaultName)
{
    open(true);
    EXPECT_EQ(m_wizard->windowTitle(), "Add New Database Job");
    EXPECT_TRUE(find<QToolButton>("optAction(1)")->isChecked());
    EXPECT_EQ(box("txtStartTime")->text(), "03:00");
    EXPECT_EQ(find<QComboBox>("cmbFrequency")->currentText(), "Daily");
    EXPECT_EQ(ticked(), "MTWTFSS");
    EXPECT_TRUE(find<QRadioButton>("optNoSecurity")->isChecked());
    EXPECT_TRUE(find<QRadioButton>("optCompression(1)")->isChecked());
    EXPECT_EQ(find<QComboBox>("cmbNumberFilesToKeep")->currentText(), "3");
    EXPECT_EQ(find<QComboBox>("cmbNumberFilesToKeep")->count(), 100);
    EXPECT_TRUE(box("txtBackupSourceMDB")->text().isEmpty());
    EXPECT_TRUE(boxes().empty());

    const struct {
        const char* listed;
        const char* name;
    } names[] = {{"Nightly", "New Database Job"},
                 {"New Database Job", "New Database Job 2"},
                 {"New Database Job 7", "New Database Job 8"},
                 {"new database job 9", "New Database Job 8"},
                 {"New Database Job 99999", "New Database Job 8"}};
    for (const auto& n : names) {
        m_schedule.AddItemListView(n.listed, {}, {}, {}, job_type::Backup, "/x.tsk");
        open(true);
        EXPECT_EQ(box("txtDatabaseJobName")->text().toStdString(), n.name) << n.listed;
    }
}

TEST_F(WizardTest, WithoutAccessOnlyBackupsAreOfferedAndAFewCopiesSelectTheLast)
{
    withoutAccess();
    preferences().NumberCopies = 2;
    listBackupJob(m_schedule, "Compact", {}, at(2026, 12, 1));
    CDatabaseJob job;
    job.OpenDatabaseJob(m_schedule.rowJobFile(1));
    job.setJobType(job_type::RepairCompact);
    job.SaveDatabaseJob(m_schedule.rowJobFile(1));
    m_schedule.selectOnlyRow(1);
    for (bool addJob : {true, false}) {
        open(addJob);
        EXPECT_FALSE(find<QToolButton>("optAction(1)")->isEnabled());
        EXPECT_FALSE(find<QToolButton>("optAction(2)")->isEnabled());
        EXPECT_TRUE(find<QToolButton>("optAction(3)")->isChecked());
    }
    EXPECT_EQ(find<QComboBox>("cmbNumberFilesToKeep")->count(), 3);
    open(true);
    EXPECT_EQ(find<QComboBox>("cmbNumberFilesToKeep")->currentText(), "2");
    EXPECT_EQ(boxes(), std::vector<Box>(
                           3, Box{kAccessMissing, mb::OkOnly | mb::Exclamation, "Notification"}));
}

TEST_F(WizardTest, EditingShowsTheStoredValuesAndOddValuesSelectSoundEntries)
{
    CDatabaseJob job;
    job.setJobName("Mailing");
    job.setJobType(job_type::AutoExecute);
    job.setStartTime(DateTime::fromTime(15, 30));
    job.setFrequency(frequency::Daily);
    job.SetDayOfWeek(true, false, false, false, true, false, false);
    job.setDayOfMonth(12);
    job.setSecurity(true);
    job.setMDWFile("/data/system.mdw");
    job.setUserID("admin");
    job.setPassword("secret word");
    job.setNumberCopies(7);
    job.setAutoExecuteMDB("/data/mail.mdb");
    job.setBackupTargetDirectory("/backup/");
    const std::string file = (jobsDir() / "Mailing.tsk").string();
    job.SaveDatabaseJob(file);
    m_schedule.AddItemListView("Mailing", {}, {}, {}, job_type::AutoExecute, file);
    m_schedule.selectOnlyRow(1);
    open(false);
    EXPECT_EQ(m_wizard->windowTitle(), "Edit New Database Job");
    EXPECT_TRUE(find<QToolButton>("optAction(2)")->isChecked());
    EXPECT_EQ(box("txtDatabaseJobName")->text(), "Mailing");
    EXPECT_EQ(box("txtStartTime")->text(), "15:30");
    EXPECT_EQ(ticked(), "M---F--");
    EXPECT_EQ(find<QComboBox>("cmbDayOfMonth")->currentText(), "12");
    EXPECT_TRUE(find<QRadioButton>("optUserLevelSecurity")->isChecked());
    EXPECT_TRUE(box("txtUserID")->isEnabled());
    EXPECT_EQ(box("txtMDWFile")->text() + box("txtUserID")->text() + box("txtPassword")->text(),
              "/data/system.mdwadminsecret word");
    EXPECT_TRUE(find<QRadioButton>("optCompression(0)")->isChecked());
    EXPECT_EQ(find<QComboBox>("cmbNumberFilesToKeep")->currentText(), "7");
    EXPECT_EQ(box("txtAutoExecMDB")->text() + box("txtBackupTargetPath")->text(),
              "/data/mail.mdb/backup/");

    // A hand-edited file: a type, a day of the month and a number of copies without an entry.
    writeFile(file, "[General]\r\nJobName=Odd\r\nJobType=9\r\n[Schedule]\r\nFrequency=3\r\n"
                    "DayOfMonth=31\r\n[Backup]\r\nNumberCopies=150\r\n");
    open(false);
    EXPECT_TRUE(find<QToolButton>("optAction(1)")->isChecked());
    EXPECT_EQ(find<QComboBox>("cmbDayOfMonth")->currentIndex(), -1);
    EXPECT_EQ(find<QComboBox>("cmbNumberFilesToKeep")->currentText(), "99");
}

TEST_F(WizardTest, FinishRefusesDuplicatesAndReturnsToThePageOfTheFirstProblem)
{
    listBackupJob(m_schedule, "Nightly-Backup", {}, at(2026, 12, 1));
    writeFile(dir() / "system.mdw", "mdw");
    writeFile(dir() / ".hidden.mdw", "mdw");
    using Change = std::function<void(WizardTest&)>;
    const auto text = [](const char* name, std::string value) {
        return [=](WizardTest& t) { t.box(name)->setText(QString::fromStdString(value)); };
    };
    const auto security = [](std::string mdw, const char* user, const char* password) {
        return [=](WizardTest& t) {
            t.click("optUserLevelSecurity");
            t.box("txtMDWFile")->setText(QString::fromStdString(mdw));
            t.box("txtUserID")->setText(user);
            t.box("txtPassword")->setText(password);
        };
    };
    const std::string mdw = path("system.mdw");
    const struct {
        Change change;
        std::string message;
        std::string state;
    } cases[] = {
        {text("txtDatabaseJobName", "Nightly-Backup"),
         "This name has already been used; please enter a different name.",
         "Step 1 of 5 DATABASE JOB TYPE -N-"},
        {text("txtDatabaseJobName", "Nightly-Backup!"),
         "A derivative of this name has already been used; please enter a different name.",
         "Step 1 of 5 DATABASE JOB TYPE -N-"},
        {text("txtDatabaseJobName", ""),
         "The Database Job Name must not be blank.  Please enter a name now.",
         "Step 2 of 5 DATABASE JOB NAME BN-"},
        {text("txtDatabaseJobName", "../.."),
         "The Database Job Name must not be blank.  Please enter a name now.",
         "Step 2 of 5 DATABASE JOB NAME BN-"},
        {text("txtStartTime", "9.99"),
         "The time you entered is not valid.  Please correct the value now using the format "
         "'hh:mm' where between 00:00 - 23:59.",
         "Step 3 of 5 SCHEDULING BN-"},
        {[](WizardTest& t) {
             t.find<QCheckBox>("chkWednesday")->setChecked(false);
             t.find<QComboBox>("cmbFrequency")->setCurrentText("Weekly");
             t.find<QCheckBox>("chkSunday")->setChecked(false);
         },
         "For a Frequency set to Daily or Weekly, you must select at least one day of the week "
         "from the checkboxes provided.  Please make a selection now.",
         "Step 3 of 5 SCHEDULING BN-"},
        {[](WizardTest& t) {
             t.find<QComboBox>("cmbFrequency")->setCurrentText("Monthly");
             t.find<QComboBox>("cmbDayOfMonth")->setCurrentIndex(-1);
         },
         "For a Frequency set to Monthly, you must select a day of the month from the drop down "
         "box provided.  Please make a selection now.",
         "Step 3 of 5 SCHEDULING BN-"},
        {text("txtBackupSourceMDB", ""),
         "The Backup source database filename is blank.  Please select a filename now.",
         "Step 5 of 5 BACKUP MDB FILE B-F"},
        {security("", "u", "p"), "The MDW File is blank.  Please select a security file now.",
         "Step 4 of 5 DATABASE SECURITY BN-"},
        {security(path(".hidden.mdw"), "u", "p"),
         "The MDW File entered does not exist.  Please select a security file now.",
         "Step 4 of 5 DATABASE SECURITY BN-"},
        {security(mdw, "u", ""),
         "The password is blank.  Please enter a password for the security file now.",
         "Step 4 of 5 DATABASE SECURITY BN-"},
        {text("txtBackupTargetPath", path("data/")),
         "The Backup Target Path must be different from the path of the Source MDB file.",
         "Step 5 of 5 BACKUP MDB FILE B-F"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        m_desktop = {};
        open(true);
        fillBackupJob("Orders");
        next(4);
        c.change(*this);
        click("cmdFinish");
        EXPECT_EQ(boxes(), (std::vector<Box>{{c.message, mb::Information, "Verification Error"}}));
        EXPECT_EQ(state(), c.state);
        EXPECT_TRUE(m_wizard->isVisible());
    }
    EXPECT_EQ(m_schedule.rowCount(), 1);
    EXPECT_EQ(listJobFiles(jobsDir().string()).size(), 1u);
    EXPECT_FALSE(m_desktop.busy());
}

// What the wizard saves is the record a user would expect, written as any job is written.
TEST_F(WizardTest, FinishSavesTheJobAddsItsRowAndARenameReplacesTheFileAfterwards)
{
    m_clock.set(2026, 12, 5, 10, 0, 0); // a Saturday
    open(true);
    fillBackupJob("Orders (Daily)");
    box("txtStartTime")->setText("23:30");
    next(4);
    click("cmdFinish");
    ASSERT_FALSE(m_wizard->isVisible());
    EXPECT_EQ(m_wizard->result(), QDialog::Accepted);

    CDatabaseJob expected;
    expected.setJobName("Orders (Daily)");
    expected.setJobType(job_type::Backup);
    expected.setStartTime(DateTime::fromTime(23, 30));
    expected.setFrequency(frequency::Daily);
    expected.SetDayOfWeek(true, true, true, true, true, true, true);
    expected.setCompress(true);
    expected.setNumberCopies(3);
    expected.setBackupSourceMDB(path("data/Orders.mdb"));
    expected.setBackupTargetDirectory(backupTarget().string() + "/");
    expected.setDateLastRun(at(2026, 12, 5));
    expected.SaveDatabaseJob(path("expected.tsk"));
    const auto saved = jobsDir() / "OrdersDaily.tsk";
    EXPECT_EQ(readFile(saved), readFile(path("expected.tsk")));
    ASSERT_EQ(m_schedule.rowCount(), 1);
    EXPECT_EQ(m_schedule.rowDateNextRun(1), at(2026, 12, 5));
    EXPECT_EQ(m_schedule.rowJobFile(1), saved.string());

    // A rename that cannot be written keeps the old file and the row, and says why.
    std::filesystem::create_directory(jobsDir() / "Orders.tsk");
    m_schedule.selectOnlyRow(1);
    open(false);
    box("txtDatabaseJobName")->setText("Orders");
    next(4);
    click("cmdFinish");
    EXPECT_TRUE(m_wizard->isVisible());
    EXPECT_EQ(boxes(), (std::vector<Box>{{"The Database Job could not be saved to '" +
                                              (jobsDir() / "Orders.tsk").string() +
                                              "'.\r\n\r\nIs a directory",
                                          mb::OkOnly | mb::Exclamation, "Save Error"}}));
    EXPECT_TRUE(std::filesystem::exists(saved));
    EXPECT_EQ(m_schedule.lvwSchedule()->topLevelItem(0)->text(0), "Orders (Daily)");

    // Once it can be written, the new file replaces the old one in the same row; a previous
    // file that is already gone is no error.
    std::filesystem::remove(jobsDir() / "Orders.tsk");
    for (const char* name : {"Orders", "Orders Weekly"}) {
        m_schedule.selectOnlyRow(1);
        open(false);
        box("txtDatabaseJobName")->setText(name);
        if (std::string(name) == "Orders Weekly")
            std::filesystem::remove(jobsDir() / "Orders.tsk");
        next(4);
        click("cmdFinish");
        EXPECT_FALSE(m_wizard->isVisible()) << name;
    }
    EXPECT_EQ(listJobFiles(jobsDir().string()),
              std::vector<std::string>{(jobsDir() / "OrdersWeekly.tsk").string()});
    ASSERT_EQ(m_schedule.rowCount(), 1);
    EXPECT_EQ(m_schedule.lvwSchedule()->topLevelItem(0)->text(0), "Orders Weekly");
    EXPECT_EQ(m_schedule.rowJobFile(1), (jobsDir() / "OrdersWeekly.tsk").string());
}

TEST_F(WizardTest, PickersAskAgainForWhatDoesNotExistAndACancelKeepsTheBox)
{
    writeFile(dir() / "data" / ".Hidden.mdb", "hidden");
    open(true);
    fillBackupJob("Orders");
    next(4);
    QLineEdit* source = box("txtBackupSourceMDB");
    QLineEdit* target = box("txtBackupTargetPath");
    const QString sourceBefore = source->text(), targetBefore = target->text();

    m_desktop.chooseNext(std::nullopt);
    click("cmdBrowseBackupSrc");
    EXPECT_EQ(source->text(), sourceBefore);
    m_desktop.chooseNext(path("data/Missing.mdb"));
    m_desktop.chooseNext(path("data/.Hidden.mdb"));
    click("cmdBrowseBackupSrc");
    EXPECT_EQ(source->text().toStdString(), path("data/.Hidden.mdb"));
    const auto& asked = m_desktop.fileDialogs();
    ASSERT_EQ(asked.size(), 3u);
    EXPECT_EQ(asked[1].title, "Browse for Microsoft Access Database");
    ASSERT_EQ(asked[1].filters.size(), 1u);
    EXPECT_EQ(asked[1].filters[0].description + asked[1].filters[0].pattern +
                  asked[1].defaultExtension,
              "Microsoft Access Database (*.mdb)*.mdb*.mdb");
    EXPECT_EQ(asked[1].fileName, "");
    EXPECT_EQ(asked[2].fileName, path("data/Missing.mdb")) << "the refused name is proposed again";

    // Folders: a cancel, a missing folder then a cancel, the root, and a real folder.
    for (const std::optional<std::string>& answer :
         {std::optional<std::string>(), std::optional<std::string>(path("gone")),
          std::optional<std::string>(), std::optional<std::string>("/")}) {
        m_desktop.chooseNext(answer);
        if (answer && *answer == path("gone"))
            continue;
        click("cmdBrowseBackupTarg");
        EXPECT_EQ(target->text(), targetBefore);
    }
    m_desktop.chooseNext(path("data"));
    click("cmdBrowseBackupTarg");
    EXPECT_EQ(target->text().toStdString(), path("data") + "/");
    EXPECT_EQ(
        m_desktop.folderDialogs(),
        std::vector<std::string>(5, "Please select a directory into which backup will be placed."));
    const Box noFile{"The specified database file does not exist; please try again.", mb::OkOnly,
                     "Quorvex"};
    const Box noFolder{"The specified directory does not exist; please try again.", mb::OkOnly,
                       "Quorvex"};
    EXPECT_EQ(boxes(), (std::vector<Box>{noFile, noFolder}));
}

// The schedule window opens the real wizard modally; the user's part is played while it waits.
TEST_F(WizardTest, NewJobFromTheScheduleWindowIsListedByQuorvexctlAndRuns)
{
    m_clock.set(SystemClock().now()); // quorvexctl has the real clock
    std::filesystem::copy_file(builtAppDir() / "zip", dir() / "zip");
    int played = 0;
    const auto whileModal = [&played](std::function<void(frmWIZ_JobDefinition&)> play) {
        QTimer::singleShot(0, [&played, play] {
            auto* wizard = qobject_cast<frmWIZ_JobDefinition*>(QApplication::activeModalWidget());
            ASSERT_NE(wizard, nullptr);
            ++played;
            play(*wizard);
        });
    };
    whileModal([this](frmWIZ_JobDefinition& wizard) {
        auto* name = wizard.findChild<QLineEdit*>("txtDatabaseJobName");
        name->setText("Orders");
        wizard.findChild<QToolButton*>("optAction(3)")->click();
        writeFile(dir() / "data" / "Orders.mdb", "orders");
        wizard.findChild<QLineEdit*>("txtBackupSourceMDB")
            ->setText(QString::fromStdString(path("data/Orders.mdb")));
        wizard.findChild<QLineEdit*>("txtBackupTargetPath")
            ->setText(QString::fromStdString(backupTarget().string()));
        for (int i = 0; i < 4; ++i)
            wizard.findChild<QPushButton*>("cmdNext")->click();
        wizard.findChild<QPushButton*>("cmdFinish")->click();
    });
    m_schedule.findChild<QPushButton*>("cmdAddJob")->click();
    ASSERT_EQ(m_schedule.rowCount(), 1);
    const std::string listed = runQuorvexctl({"list", "--app-dir", dir().string()}, dir()).out;
    const auto row = m_schedule.lvwSchedule()->topLevelItem(0);
    QStringList columns;
    for (int c = 0; c <= frmSchedule::kColJobFile; ++c)
        columns << row->text(c);
    EXPECT_EQ(listed, columns.join('\t').toStdString() + "\n");

    m_schedule.selectOnlyRow(1);
    m_schedule.cmdBackup_Click();
    EXPECT_EQ(readFile(backupTarget() / "Orders.zip").substr(0, 2), "PK");
    EXPECT_EQ(runsLogged(), Names{"Orders"});

    whileModal([](frmWIZ_JobDefinition& wizard) {
        EXPECT_EQ(wizard.windowTitle(), "Edit New Database Job");
        EXPECT_EQ(wizard.findChild<QLineEdit*>("txtDatabaseJobName")->text(), "Copy of Orders");
        wizard.findChild<QPushButton*>("cmdCancel")->click();
    });
    m_schedule.cmdCopyJob_Click();
    EXPECT_EQ(m_schedule.rowCount(), 2);
    EXPECT_EQ(played, 2);
}

} // namespace
} // namespace quorvex::test
