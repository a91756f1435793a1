#include "agent/qt_desktop.hpp"

#include <QAbstractButton>
#include <QApplication>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

namespace quorvex::test {
namespace {

TEST(QtDesktopLayoutTest, DefaultButtonBeyondTheLastIsTheFirstAndNoAnswerIsTheCautiousOne)
{
    EXPECT_EQ(QtDesktop::layoutFor(mb::YesNoCancel | mb::DefaultButton3).defaultIndex, 2);
    EXPECT_EQ(QtDesktop::layoutFor(mb::YesNo | mb::DefaultButton3).defaultIndex, 0);
    EXPECT_EQ(QtDesktop::layoutFor(mb::OkOnly | mb::DefaultButton2).defaultIndex, 0);

    EXPECT_EQ(QtDesktop::answerFor(QMessageBox::NoButton, mb::OkOnly), mb::Ok);
    EXPECT_EQ(QtDesktop::answerFor(QMessageBox::NoButton, mb::YesNo), mb::No);
    EXPECT_EQ(QtDesktop::answerFor(QMessageBox::NoButton, mb::YesNoCancel), mb::Cancel);
    EXPECT_EQ(QtDesktop::answerFor(QMessageBox::Retry, mb::RetryCancel), mb::Retry);
}

struct BoxSeen {
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    int buttons = 0;
};

// Answers the box that comes up next with its default button, noting what it showed.
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
    EXPECT_EQ(desktop.messageBox("Database Job 'X' has failed.\r\n\r\nSee the log.",
                                 mb::YesNoCancel | mb::Exclamation | mb::DefaultButton2,
                                 "Backup Error"),
              mb::No);
    EXPECT_EQ(seen.title, "Backup Error");
    EXPECT_EQ(seen.text, "Database Job 'X' has failed.\n\nSee the log.");
    EXPECT_EQ(seen.icon, QMessageBox::Warning);
    EXPECT_EQ(seen.buttons, 3);

    answerWithDefault(seen);
    EXPECT_EQ(desktop.messageBox("<b>not markup</b>", mb::OkOnly, ""), mb::Ok);
    EXPECT_EQ(seen.title, "Quorvex") << "a box without a title carries the application's";
    EXPECT_EQ(seen.text, "<b>not markup</b>");
}

TEST(QtDesktopTest, BusyPointerIsSetOnceAndRestoredAlsoWhenTheDesktopGoes)
{
    {
        QtDesktop desktop;
        desktop.setBusyPointer(true);
        desktop.setBusyPointer(true);
        ASSERT_NE(QApplication::overrideCursor(), nullptr);
        EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
        desktop.setBusyPointer(false);
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
        desktop.setBusyPointer(true);
    }
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

} // namespace
} // namespace quorvex::test
