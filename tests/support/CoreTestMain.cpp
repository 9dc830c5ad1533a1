// GoogleTest entry of the test programs that need no window: the engine's
// and the command line's. A QCoreApplication exists for the whole run,
// because waves own QObjects; nothing here can open a display.
#include <QCoreApplication>

#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    QCoreApplication Application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
