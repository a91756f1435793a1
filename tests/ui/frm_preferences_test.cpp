#include "ui/about/frm_preferences.hpp"
#include "ui/form_test.hpp"

#include <QDialog>

namespace quorvex::test {
namespace {

using PreferencesDialogTest = FormTest;

const QString kLists = "cmbStopOnError cmbMaxBackupCopies";

// Hand-edited values out of range show the nearest entry (data/ui/preferences_nearest_entry.txt).
TEST_F(PreferencesDialogTest, HandEditedValuesShowTheNearestEntryCancelDiscardsOkSavesTheChoice)
{
    for (const CaseFields& c : cases("preferences_nearest_entry.txt")) {
        preferences() = Preferences{int16_t(std::stoi(c[0])), int16_t(std::stoi(c[1])), ""};
        frmPreferences dialog;
        m_form = &dialog;
        EXPECT_EQ(form(kLists), c[2]) << c[1];
    }
    EXPECT_TRUE(m_desktop.boxes().empty());

    preferences() = Preferences{-1, 99, "/usr/bin/browser"};
    {
        frmPreferences cancelled;
        m_form = &cancelled;
        set("cmbStopOnError=No;cmbMaxBackupCopies=1");
        click("cmdCancel");
    }
    frmPreferences dialog;
    m_form = &dialog;
    EXPECT_EQ(form(kLists), "cmbStopOnError=Yes cmbMaxBackupCopies=99");
    // Without a selection OK asks for one.
    for (const char* unselected : {"cmbMaxBackupCopies=", "cmbStopOnError=;cmbMaxBackupCopies=1"}) {
        set(unselected);
        dialog.cmdOk_Click();
    }
    EXPECT_EQ(dialog.result(), 0);
    EXPECT_FALSE(std::filesystem::exists(preferencesFilePath()));
    set("cmbStopOnError=No;cmbMaxBackupCopies=5;chkCatchUpMissedRuns=on");
    click("cmdOk");
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

} // namespace
} // namespace quorvex::test
