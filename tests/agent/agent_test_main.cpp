#include <QApplication>

#include <gtest/gtest.h>

// The agent's windows, timer and tray need one application object for the whole program;
// they are tested on the offscreen platform, whatever display there is.
int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    return RUN_ALL_TESTS();
}
