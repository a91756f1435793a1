#include <QApplication>

#include <gtest/gtest.h>

// The main of the Qt test programs: their windows, timers and tray need one application
// object for the whole program. It is always off screen, whatever display there is: the
// window tests rely on its instant, certain activation.
int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    return RUN_ALL_TESTS();
}
