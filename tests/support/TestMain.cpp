// GoogleTest entry shared by every test program. A QApplication exists for
// the whole run, because waves own QObjects and the GUI tests need widgets;
// the waves play through the system's audio output, as the program's do.
#include "platform/audio/SystemAudioOutput.h"

#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication Application(argc, argv);
    InstallSystemAudioOutput();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
