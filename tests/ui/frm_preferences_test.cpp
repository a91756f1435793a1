#include "fakes/job_files_test.hpp"
#include "ui/about/frm_preferences.hpp"

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>

namespace quorvex::test {
namespace {

class PreferencesDialogTest : public JobFilesTest {
protected:
    // What the two lists show, as "<stop on error> <copies>".
    static QString shown(QWidget& d)
    {
        return d.findChild<QComboBox*>("cmbStopOnError")->currentText() + " " +
               d.findChild<QComboBox*>("cmbMaxBackupCopies")->currentText();
    }
    // Picks an entry of each list by its index, -1 for none.
    static void pick(QWidget& d, int stopIndex, int copiesIndex)
    {
        d.findChild<QComboBox*>("cmbStopOnError")->setCurrentIndex(stopIndex);
        d.findChild<QComboBox*>("cmbMaxBackupCopies")->setCurrentIndex(copiesIndex);
    }
};

TEST_F(PreferencesDialogTest, CancelDiscardsOkWithoutASelectionAsksOkSavesTheChoice)
{
    preferences().IEPath = "/usr/bin/browser";
    {
        frmPreferences cancelled;
        pick(cancelled, 1, 0);
        cancelled.findChild<QPushButton*>("cmdCancel")->click();
    }
    frmPreferences dialog;
    EXPECT_EQ(shown(dialog), "Yes 99");
    pick(dialog, 0, -1);
    dialog.cmdOk_Click();
    pick(dialog, -1, 0);
    dialog.cmdOk_Click();
    EXPECT_EQ(dialog.result(), 0);
    EXPECT_FALSE(std::filesystem::exists(preferencesFilePath()));
    pick(dialog, 1, 4);
    dialog.findChild<QCheckBox*>("chkCatchUpMissedRuns")->setChecked(true);
    dialog.findChild<QPushButton*>("cmdOk")->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);

    preferences() = Preferences{};
    LoadPreferences();
    const Preferences& saved = preferences();
    EXPECT_EQ(std::tuple(saved.StopOnError, saved.NumberCopies, saved.IEPath,
                         saved.CatchUpMissedRuns, saved.VerifyBackups),
              std::tuple(int16_t(0), int16_t(5), std::string("/usr/bin/browser"), int16_t(-1),
                         int16_t(0)));
    expectTranscript();
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
    EXPECT_TRUE(m_desktop.boxes().empty());
}

} // namespace
} // namespace quorvex::test
