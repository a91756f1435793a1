#include "fakes/job_files_test.hpp"
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
    static QComboBox* stop(QWidget& d) { return d.findChild<QComboBox*>("cmbStopOnError"); }
    static QComboBox* copies(QWidget& d) { return d.findChild<QComboBox*>("cmbMaxBackupCopies"); }
    // What the two lists show, as "<stop on error> <copies>".
    static QString shown(QWidget& d)
    {
        return stop(d)->currentText() + " " + copies(d)->currentText();
    }
    // Picks an entry of each list by its index, -1 for none.
    static void pick(QWidget& d, int stopIndex, int copiesIndex)
    {
        stop(d)->setCurrentIndex(stopIndex);
        copies(d)->setCurrentIndex(copiesIndex);
    }
};

TEST_F(PreferencesDialogTest, OpensWithTheStoredValuesAndOkSavesExactlyTheChosenOnes)
{
    {
        frmPreferences dialog;
        EXPECT_EQ(dialog.windowTitle(), "Quorvex Preferences");
        EXPECT_EQ(shown(dialog), "Yes 99");
        pick(dialog, 1, 4);
        dialog.findChild<QPushButton*>("cmdOk")->click();
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
    }
    EXPECT_EQ(readFile(preferencesFilePath()),
              "[Preferences]\r\nStopOnError=0\r\nNumberCopies=5\r\nIEPath=/usr/bin/browser\r\n");
    frmPreferences reopened; // from the preferences in memory
    EXPECT_EQ(shown(reopened), "No 5");
}

TEST_F(PreferencesDialogTest, CancelEscapeAndCloseDiscardTheChoice)
{
    for (const std::string way : {"Cancel", "Escape", "Close"}) {
        SCOPED_TRACE(way);
        frmPreferences dialog;
        dialog.show();
        pick(dialog, 1, 0);
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
    pick(dialog, 0, -1);
    dialog.cmdOk_Click();
    pick(dialog, -1, 0);
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
    const std::tuple<int16_t, int16_t, QString> cases[] = {
        {1, 0, "Yes 1"}, {0, 150, "No 99"}, {-7, -3, "Yes 1"}, {0, 32767, "No 99"}};
    for (const auto& [stopOnError, numberCopies, expected] : cases) {
        preferences() = Preferences{stopOnError, numberCopies, ""};
        frmPreferences dialog;
        EXPECT_EQ(shown(dialog), expected) << numberCopies;
    }
    EXPECT_TRUE(boxes().empty());
}

} // namespace
} // namespace quorvex::test
