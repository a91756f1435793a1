#include "fakes/job_files_test.hpp"
#include "support/ini_file.hpp"
#include "ui/about/frm_preferences.hpp"

#include <QComboBox>
#include <QPushButton>
#include <QTest>

namespace quorvex::test {
namespace {

// Stored preferences of Yes and 99 copies, with a browser.
class PreferencesDialogTest : public JobFilesTest {
protected:
    void SetUp() override
    {
        JobFilesTest::SetUp();
        preferences().IEPath = "/usr/bin/browser";
    }
    static QComboBox* combo(QWidget& dialog, const char* name)
    {
        return dialog.findChild<QComboBox*>(name);
    }
    std::string stored(const char* key) const
    {
        std::string value;
        GetIniData("Preferences", key, "(missing)", value, path("Quorvex.ini"));
        return value;
    }
};

TEST_F(PreferencesDialogTest, OpensWithTheStoredValuesAndOkSavesExactlyTheChosenOnes)
{
    {
        frmPreferences dialog;
        EXPECT_EQ(dialog.windowTitle(), "Quorvex Preferences");
        EXPECT_EQ(combo(dialog, "cmbMaxBackupCopies")->currentText(), "99");
        EXPECT_EQ(combo(dialog, "cmbStopOnError")->currentText(), "Yes");
        combo(dialog, "cmbMaxBackupCopies")->setCurrentIndex(4);
        combo(dialog, "cmbStopOnError")->setCurrentIndex(1);
        dialog.findChild<QPushButton*>("cmdOk")->click();
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
    }
    EXPECT_EQ(preferences().NumberCopies, 5);
    EXPECT_EQ(preferences().StopOnError, 0);
    EXPECT_EQ(stored("NumberCopies"), "5");
    EXPECT_EQ(stored("StopOnError"), "0");
    EXPECT_EQ(stored("IEPath"), "/usr/bin/browser");

    frmPreferences reopened;
    EXPECT_EQ(combo(reopened, "cmbStopOnError")->currentText(), "No");
    EXPECT_EQ(combo(reopened, "cmbMaxBackupCopies")->currentText(), "5");
}

TEST_F(PreferencesDialogTest, CancelEscapeAndCloseDiscardTheChoice)
{
    for (const std::string way : {"Cancel", "Escape", "Close"}) {
        SCOPED_TRACE(way);
        frmPreferences dialog;
        dialog.show();
        combo(dialog, "cmbMaxBackupCopies")->setCurrentIndex(0);
        combo(dialog, "cmbStopOnError")->setCurrentIndex(1);
        if (way == "Cancel")
            dialog.findChild<QPushButton*>("cmdCancel")->click();
        else if (way == "Escape")
            QTest::keyClick(&dialog, Qt::Key_Escape);
        else
            dialog.close();
        EXPECT_EQ(dialog.result(), QDialog::Rejected);
    }
    EXPECT_EQ(preferences().NumberCopies, 99);
    EXPECT_EQ(preferences().StopOnError, -1);
    EXPECT_FALSE(std::filesystem::exists(preferencesFilePath()));
}

TEST_F(PreferencesDialogTest, OkWithoutASelectionAsksForOneAndKeepsTheDialogOpen)
{
    frmPreferences dialog;
    combo(dialog, "cmbMaxBackupCopies")->setCurrentIndex(-1);
    dialog.cmdOk_Click();
    combo(dialog, "cmbMaxBackupCopies")->setCurrentIndex(0);
    combo(dialog, "cmbStopOnError")->setCurrentIndex(-1);
    dialog.cmdOk_Click();
    EXPECT_EQ(boxes(), (std::vector<Box>{{"You must select a value between 1 and 99 \r\nfor the "
                                          "'Maximum Number of Backup Copies' \r\ndrop-down box.",
                                          mb::OkOnly, "Verification Error"},
                                         {"You must select either Yes or No from \r\nthe 'Stop "
                                          "on Error' drop-down box. ",
                                          mb::OkOnly, "Verification Error"}}));
    EXPECT_EQ(dialog.result(), 0);
    EXPECT_FALSE(std::filesystem::exists(preferencesFilePath()));
}

TEST_F(PreferencesDialogTest, HandEditedValuesOutOfRangeShowTheNearestEntry)
{
    const struct {
        int16_t stopOnError, numberCopies;
        const char *stop, *copies;
    } cases[] = {
        {1, 0, "Yes", "1"}, {0, 150, "No", "99"}, {-7, -3, "Yes", "1"}, {0, 32767, "No", "99"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.numberCopies);
        preferences() = Preferences{c.stopOnError, c.numberCopies, ""};
        frmPreferences dialog;
        EXPECT_EQ(combo(dialog, "cmbStopOnError")->currentText(), c.stop);
        EXPECT_EQ(combo(dialog, "cmbMaxBackupCopies")->currentText(), c.copies);
    }
    EXPECT_TRUE(boxes().empty());
}

} // namespace
} // namespace quorvex::test
