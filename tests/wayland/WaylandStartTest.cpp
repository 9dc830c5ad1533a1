// The windows on a Wayland session (scripts/with-weston): the program's
// start shows both, every time.
#include "app/StartUp.h"
#include "app/Unit1.h"
#include "app/Unit2.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <QProcessEnvironment>
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

// The program itself, with an X display named that does not answer: Wayland
// answers, so it runs instead of saying there is no display.
TEST(WaylandStartTest, TheProgramRunsWhereOnlyWaylandAnswers)
{
    QTemporaryDir Home;
    ASSERT_TRUE(Home.isValid());
    QProcessEnvironment Environment = QProcessEnvironment::systemEnvironment();
    Environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
    Environment.insert(QStringLiteral("DISPLAY"), QStringLiteral(":31999"));
    Environment.insert(QStringLiteral("XDG_CONFIG_HOME"), Home.path());
    Environment.insert(QStringLiteral("XDG_DATA_HOME"), Home.path());
    QProcess Program;
    Program.setProcessEnvironment(Environment);
    Program.start(QStringLiteral(REDIVEV_PROGRAM), {});
    ASSERT_TRUE(Program.waitForStarted(10000));
    EXPECT_FALSE(Program.waitForFinished(3000)) << Program.readAllStandardError().toStdString();
    Program.kill();
    Program.waitForFinished(10000);
}
