#include "agent/qt_desktop.hpp"

#include <QApplication>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

namespace quorvex::test {
namespace {

// Answers the next box with its default button; seen gets its title, text, text format, icon
// and number of buttons, apart by '|'.
void answerWithDefault(QString& seen)
{
    QTimer::singleShot(0, [&seen] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        seen = QStringList{box->windowTitle(), box->text(), QString::number(box->textFormat()),
                           QString::number(box->icon()), QString::number(box->buttons().size())}
                   .join('|');
        box->defaultButton()->click();
    });
}

// The text is plain text with Windows line ends made Unix ones; a box without a title carries
// the application's; a default button beyond the last is the first; a box closed without an
// answer gives the cautious one.
TEST(QtDesktopTest, BoxShowsTextTitleAndIconAndReturnsThePressedButton)
{
    QtDesktop desktop;
    QString seen;
    answerWithDefault(seen);
    EXPECT_EQ(desktop.messageBox("Database Job 'X' has failed.\r\n\r\nSee the log.",
                                 mb::YesNoCancel | mb::Exclamation | mb::DefaultButton2,
                                 "Backup Error"),
              mb::No);
    EXPECT_EQ(seen, QString("Backup Error|Database Job 'X' has failed.\n\nSee the log.|%1|%2|3")
                        .arg(Qt::PlainText)
                        .arg(QMessageBox::Warning));
    answerWithDefault(seen);
    EXPECT_EQ(desktop.messageBox("<b>not markup</b>", mb::YesNo | mb::DefaultButton3, ""), mb::Yes);
    EXPECT_EQ(
        seen,
        QString("Quorvex|<b>not markup</b>|%1|%2|2").arg(Qt::PlainText).arg(QMessageBox::NoIcon));
    EXPECT_EQ(QtDesktop::answerFor(QMessageBox::NoButton, mb::YesNo), mb::No);
    EXPECT_EQ(QtDesktop::answerFor(QMessageBox::NoButton, mb::YesNoCancel), mb::Cancel);
}

// Set twice, the pointer is restored by one call; the desktop restores it when it goes.
TEST(QtDesktopTest, BusyPointerIsSetOnceAndRestoredAlsoWhenTheDesktopGoes)
{
    {
        QtDesktop desktop;
        for (bool busy : {true, true, false, true})
            desktop.setBusyPointer(busy);
        ASSERT_NE(QApplication::overrideCursor(), nullptr);
        EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    }
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

} // namespace
} // namespace quorvex::test
