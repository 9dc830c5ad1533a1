// The tool window: placed at the bottom left, holding Form1's panel, and
// resizable in height only.
#include "WindowTestSupport.h"

#include "app/Unit2.h"

#include <QAction>
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

// The designed panel and the column of the settings' equivalents: the
// frame's width, with the client inside it.
constexpr int PanelWidth = 449;

} // namespace

TEST_F(ToolWindowTest, StandsTenPixelsInAndThirtyAboveTheBottomShowingEverySetting)
{
    EXPECT_EQ(Form2->windowTitle(), QStringLiteral("Tool Window"));
    EXPECT_EQ(Form2->frameGeometry().width(), PanelWidth);
    EXPECT_EQ(Form->ScrollBox1->verticalScrollBar()->maximum(), 0);
    EXPECT_EQ(Form->ScrollBox1->viewport()->height(), Form->ScrollBox1->widget()->height());
    const int ScreenHeight = Form2->screen()->geometry().height();
    EXPECT_EQ(Form2->frameGeometry().left(), 10);
    EXPECT_EQ(Form2->frameGeometry().bottom() + 1, ScreenHeight - 30);
}

TEST_F(ToolWindowTest, IsAToolWindowOfTheMainWindowWithoutButtons)
{
    const Qt::WindowFlags Flags = Form2->windowFlags();
    EXPECT_EQ(Flags & Qt::WindowType_Mask, Qt::Tool);
    EXPECT_EQ(Form2->parentWidget(), Form.get());
    EXPECT_EQ(Form2->windowHandle()->transientParent(), Form->windowHandle());
    EXPECT_FALSE(Flags & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(Flags & Qt::WindowTitleHint);
    EXPECT_FALSE(Flags & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(Flags & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(Flags & Qt::WindowMaximizeButtonHint);
    EXPECT_FALSE(Flags & Qt::WindowSystemMenuHint);
}

// Minimised on its own, or hidden, the window comes back from the menu and
// when the main window is restored.
TEST_F(ToolWindowTest, ComesBackFromTheMenuAndWithTheMainWindow)
{
    Form2->showMinimized();
    QApplication::processEvents();
    Form->ToolWindow1->trigger();
    QApplication::processEvents();
    EXPECT_TRUE(Form2->isVisible());
    EXPECT_FALSE(Form2->isMinimized());

    Form2->showMinimized();
    Form->showMinimized();
    QApplication::processEvents();
    Form->showNormal();
    QApplication::processEvents();
    EXPECT_TRUE(Form2->isVisible());
    EXPECT_FALSE(Form2->isMinimized());
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

// The limits hold the outer frame, which the offscreen platform draws
// two pixels wide.
TEST_F(ToolWindowTest, ResizesInHeightOnlyAndNotBelowOneHundred)
{
    const int Width = PanelWidth;
    const QMargins Frame = Form2->windowHandle()->frameMargins();
    ASSERT_GT(Frame.left() + Frame.right(), 0);
    const int VisibleRows = Form->ScrollBox1->viewport()->height();
    Form2->resize(600, 150);
    QApplication::processEvents();
    EXPECT_EQ(Form2->frameGeometry().width(), Width);
    EXPECT_EQ(Form->ControlPanel->size(), Form2->size());
    EXPECT_LT(Form->ScrollBox1->viewport()->height(), VisibleRows);

    Form2->resize(Width, 40);
    QApplication::processEvents();
    EXPECT_EQ(Form2->frameGeometry().height(), 100);
    EXPECT_EQ(Form2->frameGeometry().width(), Width);
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
