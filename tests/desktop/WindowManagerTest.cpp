// The windows under a window manager (scripts/with-window-manager), which
// frames, places and minimises them: the tool window's outer frame as wide
// as the panel and 30 pixels above the screen's bottom, and the tool window
// back when the main window is restored.
#include "app/StartUp.h"
#include "app/Unit1.h"
#include "app/Unit2.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QScreen>
#include <QTemporaryDir>
#include <QWindow>

#include <gtest/gtest.h>

namespace {

bool WaitFor(const std::function<bool()> &Ready)
{
    QElapsedTimer Clock;
    Clock.start();
    while (!Ready() && Clock.elapsed() < 10000)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    return Ready();
}

} // namespace

TEST(WindowManagerTest, TheFramedToolWindowFitsAndComesBackWithTheMainWindow)
{
    ASSERT_EQ(QGuiApplication::platformName(), QStringLiteral("xcb"));
    QTemporaryDir Home;
    ASSERT_TRUE(Home.isValid());
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(Home.filePath(QStringLiteral("config"))));
    qputenv("XDG_DATA_HOME", QFile::encodeName(Home.filePath(QStringLiteral("data"))));
    TForm1 Form1;
    TForm2 Form2(Form1);
    ShowAtStart(Form1, Form2);
    const int ScreenHeight = Form2.screen()->geometry().height();
    // Framed, and the limits and place set again for the frame.
    ASSERT_TRUE(WaitFor([&] {
        return Form2.windowHandle()->isExposed() && Form2.windowHandle()->frameMargins().top() > 0
            && Form2.frameGeometry().width() == 449 && Form2.frameGeometry().bottom() + 1 == ScreenHeight - 30;
    })) << Form2.frameGeometry().width() << " wide, bottom at " << Form2.frameGeometry().bottom() + 1 << ", exposed "
        << Form2.windowHandle()->isExposed() << ", visible " << Form2.isVisible() << ", frame top "
        << Form2.windowHandle()->frameMargins().top() << ", main exposed " << Form1.windowHandle()->isExposed()
        << " framed " << Form1.windowHandle()->frameMargins().top();
    EXPECT_EQ(Form2.frameGeometry().left(), 10);
    EXPECT_TRUE(Form2.screen()->availableGeometry().contains(Form1.frameGeometry()));

    Form2.showMinimized();
    ASSERT_TRUE(WaitFor([&] { return Form2.isMinimized(); }));
    Form1.showMinimized();
    ASSERT_TRUE(WaitFor([&] { return Form1.isMinimized(); }));
    Form1.showNormal();
    EXPECT_TRUE(WaitFor([&] { return !Form1.isMinimized() && !Form2.isMinimized() && Form2.windowHandle()->isExposed(); }));
}
