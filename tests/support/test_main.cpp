// One main for every test executable: GoogleTest inside a QApplication, so
// tests may create widgets, timers and queued calls on the main thread.
#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
