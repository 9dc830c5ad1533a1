// The tool window: placed at the bottom left, holding Form1's panel, and
// resizable in height only.
#include "WindowTestSupport.h"

#include "app/Unit2.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLineEdit>
#include <QScrollBar>
#include <QScreen>
#include <QScrollArea>
#include <QTimer>
#include <QWindow>

using namespace apptest;

namespace {

class ToolWindowTest : public FormTest {
protected:
    void SetUp() override
    {
        FormTest::SetUp();
        Form2 = std::make_unique<TForm2>(*Form);
        Form2->show();
        QApplication::processEvents();
    }
    void TearDown() override
    {
        Form2.reset();
        FormTest::TearDown();
    }

    std::unique_ptr<TForm2> Form2;
};

} // namespace

TEST_F(ToolWindowTest, StandsTenPixelsInAndThirtyAboveTheBottom)
{
    EXPECT_EQ(Form2->windowTitle(), QStringLiteral("Tool Window"));
    EXPECT_EQ(Form2->size(), QSize(Form->ControlPanel->width(), 121));
    const int ScreenHeight = Form2->screen()->geometry().height();
    EXPECT_EQ(Form2->frameGeometry().left(), 10);
    EXPECT_EQ(Form2->frameGeometry().bottom() + 1, ScreenHeight - 30);
}

TEST_F(ToolWindowTest, IsAStayOnTopToolWindowWithoutButtons)
{
    const Qt::WindowFlags Flags = Form2->windowFlags();
    EXPECT_EQ(Flags & Qt::WindowType_Mask, Qt::Tool);
    EXPECT_TRUE(Flags & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(Flags & Qt::WindowTitleHint);
    EXPECT_FALSE(Flags & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(Flags & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(Flags & Qt::WindowMaximizeButtonHint);
    EXPECT_FALSE(Flags & Qt::WindowSystemMenuHint);
}

TEST_F(ToolWindowTest, HoldsTheParameterPanelOverItsWholeClientArea)
{
    EXPECT_EQ(Form->ControlPanel->parentWidget(), Form2.get());
    EXPECT_TRUE(Form->ControlPanel->isVisible());
    EXPECT_EQ(Form->ControlPanel->geometry(), Form2->rect());
    // Events of the panel still reach Form1.
    Form->SBNW->setValue(123);
    EXPECT_EQ(Form->Edit2->text(), QStringLiteral("123"));
}

TEST_F(ToolWindowTest, ResizesInHeightOnlyAndNotBelowOneHundred)
{
    const int Width = Form->ControlPanel->width();
    EXPECT_EQ(Form2->minimumWidth(), Width);
    EXPECT_EQ(Form2->maximumWidth(), Width);
    EXPECT_EQ(Form2->minimumHeight(), 100);

    const int VisibleRows = Form->ScrollBox1->viewport()->height();
    Form2->resize(600, 300);
    QApplication::processEvents();
    EXPECT_EQ(Form2->size(), QSize(Width, 300));
    EXPECT_EQ(Form->ControlPanel->size(), QSize(Width, 300));
    EXPECT_GT(Form->ScrollBox1->viewport()->height(), VisibleRows);

    Form2->resize(Width, 40);
    QApplication::processEvents();
    EXPECT_EQ(Form2->height(), 100);
}

TEST_F(ToolWindowTest, GivesThePanelBackWhenItGoes)
{
    Form2.reset();
    ASSERT_NE(Form->ControlPanel, nullptr);
    EXPECT_EQ(Form->ControlPanel->parentWidget(), Form->Panel2);
    EXPECT_FALSE(Form->ControlPanel->isVisible());
    Form->SBNW->setValue(124);
    EXPECT_EQ(Form->Edit2->text(), QStringLiteral("124"));
}

// The window manager's close (its menu, Alt+F4) reaches the window as a
// close request from the window system: refused, the window stays and its
// settings stay in reach. Closing the main window still ends the program,
// the tool window with it, instead of leaving it running.
TEST_F(ToolWindowTest, WindowManagersCloseIsRefusedButTheMainWindowEndsBoth)
{
    QCloseEvent FromWindowManager;
    QApplication::sendEvent(Form2->windowHandle(), &FromWindowManager);
    QApplication::processEvents();
    EXPECT_FALSE(FromWindowManager.isAccepted());
    EXPECT_TRUE(Form2->isVisible());
    EXPECT_TRUE(Form->ControlPanel->isVisible());
    Form->SBNW->setValue(321);
    EXPECT_EQ(Form->Edit2->text(), QStringLiteral("321"));

    bool Stuck = false;
    QTimer Watchdog;
    Watchdog.setSingleShot(true);
    QObject::connect(&Watchdog, &QTimer::timeout, [&] {
        Stuck = true;
        QCoreApplication::exit(1);
    });
    Watchdog.start(10000);
    QTimer::singleShot(0, Form.get(), [this] { Form->close(); });
    EXPECT_EQ(QApplication::exec(), 0);
    EXPECT_FALSE(Stuck) << "the tool window kept the program running";
    EXPECT_FALSE(Form2->isVisible());
}
