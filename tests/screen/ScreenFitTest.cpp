// The windows as the program opens them on the screen the test program was
// started with (see tests/CMakeLists.txt): inside the usable area, the tool
// window showing every setting where the screen has room for them.
#include "app/StartUp.h"
#include "app/Unit1.h"
#include "app/Unit2.h"

#include <QApplication>
#include <QFile>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

std::string Text(const QRect &Rect)
{
    return QStringLiteral("%1,%2 %3x%4").arg(Rect.x()).arg(Rect.y()).arg(Rect.width()).arg(Rect.height()).toStdString();
}

} // namespace

TEST(ScreenFitTest, BothWindowsOpenInsideTheScreen)
{
    QTemporaryDir Home;
    ASSERT_TRUE(Home.isValid());
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(Home.filePath(QStringLiteral("config"))));
    qputenv("XDG_DATA_HOME", QFile::encodeName(Home.filePath(QStringLiteral("data"))));
    TForm1 Form1;
    TForm2 Form2(Form1);
    ShowAtStart(Form1, Form2);
    QApplication::processEvents();

    const QRect Room = Form1.screen()->availableGeometry();
    SCOPED_TRACE("screen " + Text(Room) + " main " + Text(Form1.frameGeometry()) + " tool "
                 + Text(Form2.frameGeometry()));
    EXPECT_TRUE(Room.contains(Form1.frameGeometry()));
    EXPECT_TRUE(Room.contains(Form2.frameGeometry()));
    EXPECT_EQ(Form2.frameGeometry().width(), 449); // the panel with its column of equivalents
    EXPECT_EQ(Form2.frameGeometry().left(), 10);
    if (qEnvironmentVariableIntValue("SCREEN_HAS_ROOM") == 1) {
        EXPECT_EQ(Form1.ScrollBox1->verticalScrollBar()->maximum(), 0);
        EXPECT_EQ(Form2.frameGeometry().bottom() + 1, Room.height() - 30);
    }
}
