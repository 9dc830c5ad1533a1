// The windows on a Wayland session (scripts/with-weston): the program's
// start shows both, every time.
#include "app/StartUp.h"
#include "app/Unit1.h"
#include "app/Unit2.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QWindow>

#include <gtest/gtest.h>

TEST(WaylandStartTest, BothWindowsAreShownAtEveryStart)
{
    ASSERT_EQ(QGuiApplication::platformName(), QStringLiteral("wayland"));
    QTemporaryDir Home;
    ASSERT_TRUE(Home.isValid());
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(Home.filePath(QStringLiteral("config"))));
    qputenv("XDG_DATA_HOME", QFile::encodeName(Home.filePath(QStringLiteral("data"))));
    for (int Start = 0; Start < 3; ++Start) {
        SCOPED_TRACE(Start);
        TForm1 Form1;
        TForm2 Form2(Form1);
        ShowAtStart(Form1, Form2);
        const auto Exposed = [](const QWidget &Window) {
            return Window.windowHandle() != nullptr && Window.windowHandle()->isExposed();
        };
        QElapsedTimer Clock;
        Clock.start();
        while (!(Exposed(Form1) && Exposed(Form2)) && Clock.elapsed() < 10000)
            QApplication::processEvents(QEventLoop::AllEvents, 20);
        EXPECT_TRUE(Exposed(Form1));
        EXPECT_TRUE(Exposed(Form2));
        EXPECT_EQ(Form2.windowHandle()->transientParent(), Form1.windowHandle());
    }
}
