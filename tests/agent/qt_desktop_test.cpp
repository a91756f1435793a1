#include "agent/qt_desktop.hpp"

#include <QAbstractButton>
#include <QApplication>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

namespace quorvex::test {
namespace {

TEST(QtDesktopLayoutTest, DefaultButtonBeyondTheLastFallsBackToTheFirst)
{
    EXPECT_EQ(QtDesktop::layoutFor(mb::YesNoCancel | mb::DefaultButton3).defaultIndex, 2);
    EXPECT_EQ(QtDesktop::layoutFor(mb::YesNo | mb::DefaultButton3).defaultIndex, 0);
    EXPECT_EQ(QtDesktop::layoutFor(mb::OkOnly | mb::DefaultButton2).defaultIndex, 0);
}

TEST(QtDesktopLayoutTest, BoxClosedWithoutAnAnswerGivesTheCautiousOne)
{
    EXPECT_EQ(QtDesktop::answerFor(QMessageBox::NoButton, mb::OkOnly), mb::Ok);
    EXPECT_EQ(QtDesktop::answerFor(QMessageBox::NoButton, mb::YesNo), mb::No);
    EXPECT_EQ(QtDesktop::answerFor(QMessageBox::NoButton, mb::YesNoCancel), mb::Cancel);
    EXPECT_EQ(QtDesktop::answerFor(QMessageBox::Retry, mb::RetryCancel), mb::Retry);
}

// Answers the box that is up with its default button, noting what it showed.
struct BoxSeen {
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    int buttons = 0;
};

void answerWithDefault(BoxSeen& seen)
{
    QTimer::singleShot(0, [&seen] {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            auto* box = qobject_cast<QMessageBox*>(window);
            if (box == nullptr || !box->isVisible())
                continue;
            seen = {box->windowTitle(), box->text(), box->icon(),
                    static_cast<int>(box->buttons().size())};
            box->defaultButton()->click();
        }
    });
}

TEST(QtDesktopTest, BoxShowsTextTitleAndIconAndReturnsThePressedButton)
{
    QtDesktop desktop;
    BoxSeen seen;
    answerWithDefault(seen);
    const int answer =
        desktop.messageBox("Database Job 'X' has failed.\r\n\r\nSee the log.",
                           mb::YesNoCancel | mb::Exclamation | mb::DefaultButton2, "Backup Error");
    EXPECT_EQ(answer, mb::No);
    EXPECT_EQ(seen.title, "Backup Error");
    EXPECT_EQ(seen.text, "Database Job 'X' has failed.\n\nSee the log.");
    EXPECT_EQ(seen.icon, QMessageBox::Warning);
    EXPECT_EQ(seen.buttons, 3);
}

TEST(QtDesktopTest, BoxWithoutTitleCarriesTheApplicationTitle)
{
    QtDesktop desktop;
    BoxSeen seen;
    answerWithDefault(seen);
    EXPECT_EQ(desktop.messageBox("<b>not markup</b>", mb::OkOnly, ""), mb::Ok);
    EXPECT_EQ(seen.title, "Quorvex");
    EXPECT_EQ(seen.text, "<b>not markup</b>");
}

TEST(QtDesktopTest, BusyPointerIsSetOnceAndRestored)
{
    QtDesktop desktop;
    desktop.setBusyPointer(true);
    desktop.setBusyPointer(true);
    ASSERT_NE(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    desktop.setBusyPointer(false);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST(QtDesktopTest, BusyPointerIsRestoredWhenTheDesktopGoes)
{
    {
        QtDesktop desktop;
        desktop.setBusyPointer(true);
    }
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

} // namespace
} // namespace quorvex::test
