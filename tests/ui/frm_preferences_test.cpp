#include "fakes/test_environment.hpp"
#include "support/ini_file.hpp"
#include "support/preferences.hpp"
#include "ui/about/frm_preferences.hpp"

#include <QComboBox>
#include <QPushButton>
#include <QTest>

namespace quorvex::test {
namespace {

class PreferencesDialogTest : public AppDirTest {
protected:
    void SetUp() override
    {
        AppDirTest::SetUp();
        preferences() = Preferences{-1, 99, "/usr/bin/browser"};
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
    for (const char* way : {"Cancel", "Escape", "Close"}) {
        SCOPED_TRACE(way);
        frmPreferences dialog;
        dialog.show();
        combo(dialog, "cmbMaxBackupCopies")->setCurrentIndex(0);
        combo(dialog, "cmbStopOnError")->setCurrentIndex(1);
        if (way == std::string("Cancel"))
            dialog.findChild<QPushButton*>("cmdCancel")->click();
        else if (way == std::string("Escape"))
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

    ASSERT_EQ(m_desktop.boxes().size(), 2u);
    EXPECT_EQ(m_desktop.boxes()[0].text, "You must select a value between 1 and 99 \r\n"
                                         "for the 'Maximum Number of Backup Copies' \r\n"
                                         "drop-down box.");
    EXPECT_EQ(m_desktop.boxes()[1].text, "You must select either Yes or No from \r\n"
                                         "the 'Stop on Error' drop-down box. ");
    for (const auto& box : m_desktop.boxes()) {
        EXPECT_EQ(box.title, "Verification Error");
        EXPECT_EQ(box.style, mb::OkOnly);
    }
    EXPECT_EQ(dialog.result(), 0);
    EXPECT_FALSE(std::filesystem::exists(preferencesFilePath()));
}

TEST_F(PreferencesDialogTest, HandEditedValuesOutOfRangeShowTheNearestEntry)
{
    struct Case {
        int16_t stopOnError;
        int16_t numberCopies;
        const char* stop;
        const char* copies;
    };
    for (const Case& c : {Case{1, 0, "Yes", "1"}, Case{0, 150, "No", "99"},
                          Case{-7, -3, "Yes", "1"}, Case{0, 32767, "No", "99"}}) {
        SCOPED_TRACE(c.numberCopies);
        preferences() = Preferences{c.stopOnError, c.numberCopies, ""};
        frmPreferences dialog;
        EXPECT_EQ(combo(dialog, "cmbStopOnError")->currentText(), c.stop);
        EXPECT_EQ(combo(dialog, "cmbMaxBackupCopies")->currentText(), c.copies);
    }
    EXPECT_TRUE(m_desktop.boxes().empty());
}

} // namespace
} // namespace quorvex::test
