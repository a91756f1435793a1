#include "agent/qt_desktop.hpp"

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

// Answers the next box with its default button; seen gets its title, text, text format, icon
// and number of buttons.
void answerWithDefault(QStringList& seen)
{
    QTimer::singleShot(0, [&seen] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        seen = QStringList{box->windowTitle(), box->text(), QString::number(box->textFormat()),
                           QString::number(box->icon()), QString::number(box->buttons().size())};
        box->defaultButton()->click();
    });
}

TEST(QtDesktopTest, BoxShowsTextTitleAndIconAndReturnsThePressedButton)
{
    QtDesktop desktop;
    QStringList seen;
    answerWithDefault(seen);
    EXPECT_EQ(desktop.messageBox("Database Job 'X' has failed.\r\n\r\nSee the log.",
                                 mb::YesNoCancel | mb::Exclamation | mb::DefaultButton2,
                                 "Backup Error"),
              mb::No);
    const QString plain = QString::number(Qt::PlainText);
    EXPECT_EQ(seen, (QStringList{"Backup Error", "Database Job 'X' has failed.\n\nSee the log.",
                                 plain, QString::number(QMessageBox::Warning), "3"}));
    // Without a title the box carries the application's.
    answerWithDefault(seen);
    EXPECT_EQ(desktop.messageBox("<b>not markup</b>", mb::OkOnly, ""), mb::Ok);
    EXPECT_EQ(seen, (QStringList{"Quorvex", "<b>not markup</b>", plain,
                                 QString::number(QMessageBox::NoIcon), "1"}));
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
