// Loading a recording, the right-click on the view and the "Move" joystick,
// driven through real events where the user would give them.
#include "WindowTestSupport.h"

#include "app/PaintBox.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>

using namespace apptest;

namespace {

class NavigationTest : public FormTest {
protected:
    void Mouse(QWidget *Target, QEvent::Type Type, Qt::MouseButton Button, QPoint At)
    {
        const Qt::MouseButtons Held = Type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(Button);
        QMouseEvent Event(Type, QPointF(At), QPointF(Target->mapToGlobal(At)), Button, Held, Qt::NoModifier);
        QApplication::sendEvent(Target, &Event);
    }
};

} // namespace

TEST_F(NavigationTest, RightClickSetsTheClickedSamplePositionAndOpensTheMenu)
{
    Open(WriteFile("long.wav", Silence16(20000)));
    Form->SBHZ->setValue(100);
    Form->SB->setValue(5000);
    Mouse(Form->PB, QEvent::MouseButtonPress, Qt::RightButton, QPoint(20, 200));
    EXPECT_EQ(Form->FClickPos, 7000);
    EXPECT_TRUE(Form->PM->isVisible());
    EXPECT_EQ(Form->PM->pos(), Form->PB->mapToGlobal(QPoint(20, 200)));
    Form->PM->hide();

    // Its one item plays the area under the click: in a gap it is greyed,
    // inside an area (not on its borders) it may be chosen.
    Form->FAreas = {{6000, 8000}};
    Form->FAreaCount = 1;
    for (const auto &[X, Playable] : {std::pair{20, true}, {10, false}, {30, false}, {50, false}}) {
        Mouse(Form->PB, QEvent::MouseButtonPress, Qt::RightButton, QPoint(X, 200));
        EXPECT_EQ(Form->Playthistrimarea1->isEnabled(), Playable) << "click at " << Form->FClickPos;
        Form->PM->hide();
    }
}

TEST_F(NavigationTest, LeftAndMiddleClicksDoNothing)
{
    Form->FClickPos = -1;
    Mouse(Form->PB, QEvent::MouseButtonPress, Qt::LeftButton, QPoint(30, 100));
    Mouse(Form->PB, QEvent::MouseButtonPress, Qt::MiddleButton, QPoint(30, 100));
    EXPECT_EQ(Form->FClickPos, -1);
    EXPECT_FALSE(Form->PM->isVisible());
}

TEST_F(NavigationTest, HeldMoveButtonScrollsByTheMouseDistanceEveryTick)
{
    Mouse(Form->Button2, QEvent::MouseButtonPress, Qt::LeftButton, QPoint(10, 10));
    EXPECT_TRUE(Form->FMoving);
    Mouse(Form->Button2, QEvent::MouseMove, Qt::LeftButton, QPoint(15, 13));
    Paints = 0;
    Form->Timer1Timer();
    EXPECT_EQ(Form->SB->value(), 5);
    EXPECT_EQ(Form->SBV->value(), 3);
    EXPECT_EQ(Paints, 2);
    Form->Timer1Timer();
    EXPECT_EQ(Form->SB->value(), 10);
    EXPECT_EQ(Form->SBV->value(), 6);

    Mouse(Form->Button2, QEvent::MouseButtonRelease, Qt::LeftButton, QPoint(15, 13));
    EXPECT_FALSE(Form->FMoving);
    Form->Timer1Timer();
    EXPECT_EQ(Form->SB->value(), 10);
    EXPECT_EQ(Form->SBV->value(), 6);
}

TEST_F(NavigationTest, MoveScrollsBackwardAndStopsAtTheEnds)
{
    Form->SB->setValue(98);
    Form->SBV->setValue(10);
    Mouse(Form->Button2, QEvent::MouseButtonPress, Qt::RightButton, QPoint(30, 20));
    Mouse(Form->Button2, QEvent::MouseMove, Qt::RightButton, QPoint(35, 12));
    Form->Timer1Timer();
    EXPECT_EQ(Form->SB->value(), 100);
    EXPECT_EQ(Form->SBV->value(), 2);
    Form->Timer1Timer();
    EXPECT_EQ(Form->SB->value(), 100);
    EXPECT_EQ(Form->SBV->value(), -6);

    // Near the largest position the sum no longer fits 32 bits.
    Form->SB->setMaximum(INT32_MAX);
    Form->SB->setValue(INT32_MAX - 3);
    Form->FMoveDX = INT32_MAX;
    Form->Timer1Timer();
    EXPECT_EQ(Form->SB->value(), INT32_MAX);
}

TEST_F(NavigationTest, HoldingMoveWithoutMovingScrollsNothing)
{
    // Moves before the press do not count: the press starts from zero.
    Mouse(Form->Button2, QEvent::MouseMove, Qt::NoButton, QPoint(40, 30));
    Mouse(Form->Button2, QEvent::MouseButtonPress, Qt::LeftButton, QPoint(10, 10));
    Paints = 0;
    Form->Timer1Timer();
    EXPECT_EQ(Form->SB->value(), 0);
    EXPECT_EQ(Form->SBV->value(), 0);
    EXPECT_EQ(Paints, 0);
    Mouse(Form->Button2, QEvent::MouseButtonRelease, Qt::LeftButton, QPoint(10, 10));
}

TEST_F(NavigationTest, TheTimerDrivesTheJoystick)
{
    Mouse(Form->Button2, QEvent::MouseButtonPress, Qt::LeftButton, QPoint(10, 10));
    Mouse(Form->Button2, QEvent::MouseMove, Qt::LeftButton, QPoint(12, 10));
    QElapsedTimer Clock;
    Clock.start();
    while (Form->SB->value() < 4 && Clock.elapsed() < 5000)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    Mouse(Form->Button2, QEvent::MouseButtonRelease, Qt::LeftButton, QPoint(12, 10));
    EXPECT_GE(Form->SB->value(), 4);
    EXPECT_EQ(Form->SB->value() % 2, 0);
}

TEST_F(NavigationTest, CancelledDialogChangesNothing)
{
    Form->FAreas = {{1, 2}};
    Form->FAreaCount = 1;
    Form->SB->setValue(30);
    Paints = 0;
    Form->FileOpen();
    EXPECT_EQ(DialogRuns, 1);
    EXPECT_EQ(Form->FAreaCount, 1);
    EXPECT_EQ(Form->SB->maximum(), 100);
    EXPECT_EQ(Form->SB->value(), 30);
    EXPECT_EQ(Form->ZU->GetWaveSize(), 1);
    EXPECT_EQ(Paints, 0);
}

TEST_F(NavigationTest, LoadingEmptiesTheAreasAndKeepsTheScrollPositionInRange)
{
    Form->SB->setValue(50);
    Form->FAreas = {{1, 2}};
    Form->FAreaCount = 1;
    Paints = 0;
    Open(WriteFile("first.wav", Silence16(10000)));
    EXPECT_EQ(Form->FAreaCount, 0);
    EXPECT_EQ(Form->SB->maximum(), 10000);
    EXPECT_EQ(Form->SB->value(), 50);
    EXPECT_EQ(Paints, 1);

    Form->SB->setValue(9000);
    Open(WriteFile("shorter.wav", Silence16(3000)));
    EXPECT_EQ(Form->SB->maximum(), 3000);
    EXPECT_EQ(Form->SB->value(), 3000);
    EXPECT_EQ(Form->ZU->GetWaveSize(), 3000);
}

TEST_F(NavigationTest, FileThatCannotBeOpenedLeavesEverything)
{
    Open(WriteFile("first.wav", Silence16(500)));
    Form->FAreas = {{10, 20}};
    Form->FAreaCount = 1;
    Paints = 0;
    try {
        Open(Dir.filePath(QStringLiteral("missing.wav")));
        ADD_FAILURE() << "no error";
    } catch (const EFOpenError &Error) {
        EXPECT_NE(std::string(Error.what()).find("は開けません"), std::string::npos);
    }
    EXPECT_EQ(Form->FAreaCount, 1);
    EXPECT_EQ(Form->SB->maximum(), 500);
    EXPECT_EQ(Form->ZU->GetWaveSize(), 500);
    EXPECT_EQ(Paints, 0);
}

// A file the readers refuse is read into a component of its own and never
// takes the place of the recording shown: the recording, its areas with
// their corrections and history, and the view stay; the library's message
// says which file it was.
TEST_F(NavigationTest, RejectedFileKeepsTheRecordingAndItsEditedAreas)
{
    Open(WriteFile("first.wav", Mono16(std::vector<std::int16_t>(500, 321))));
    Form->SB->setValue(200);
    ASSERT_TRUE(Form->Document.Editor().Add({10, 20}));
    ASSERT_TRUE(Form->Document.Editor().Add({30, 60}));
    ASSERT_TRUE(Form->Document.Editor().Undo());
    const QString Title = Form->windowTitle();
    struct TRefused {
        const char *Name;
        wavtest::Bytes Content;
    };
    for (const TRefused &Refused : {TRefused{"x.wav", wavtest::Bytes{'n', 'o', 't', ' ', 'a', ' ', 'w', 'a', 'v'}},
                                    TRefused{"empty.wav", {}}, TRefused{"bad.wav", wavtest::Bytes(64, 'x')}}) {
        SCOPED_TRACE(Refused.Name);
        Errors.clear();
        const QString Path = WriteFile(Refused.Name, Refused.Content);
        Form->RunOpenDialog = [Path]() -> std::optional<QString> { return Path; };
        Form->WAV1->trigger();

        EXPECT_EQ(Errors, QStringList{QStringLiteral("TZuInternalWave.LoadFromFile:Not a waveform-audio file.\n") + Path});
        EXPECT_EQ(Form->ZU->GetWaveSize(), 500);
        EXPECT_EQ(Form->ZU->GetPosValue(0, 499), 321);
        EXPECT_EQ(Form->FAreaCount, 1);
        EXPECT_EQ(Form->FAreas[0].StartPos, 10);
        EXPECT_EQ(Form->FAreas[0].EndPos, 20);
        EXPECT_TRUE(Form->Document.Editor().CanRedo());
        EXPECT_EQ(Form->SB->maximum(), 500);
        EXPECT_EQ(Form->SB->value(), 200);
        EXPECT_EQ(Form->windowTitle(), Title);
    }
    ASSERT_TRUE(Form->Document.Editor().Redo());
    EXPECT_EQ(Form->FAreaCount, 2);
}

// The library's walk would step through a file of zeros eight bytes at a
// time: seconds for a few GiB. Its first bytes say enough.
TEST_F(NavigationTest, FileThatIsNoRecordingIsRefusedAtOnceWhateverItsSize)
{
    const QString Path = Dir.filePath(QStringLiteral("zeros.wav"));
    QFile Zeros(Path);
    ASSERT_TRUE(Zeros.open(QIODevice::WriteOnly) && Zeros.resize(qint64(6) << 30));
    Zeros.close();
    Open(WriteFile("first.wav", Silence16(700)));
    Form->RunOpenDialog = [Path]() -> std::optional<QString> { return Path; };
    QElapsedTimer Clock;
    Clock.start();
    Form->WAV1->trigger();
    EXPECT_LT(Clock.elapsed(), 1000);
    EXPECT_EQ(Errors, QStringList{QStringLiteral("TZuInternalWave.LoadFromFile:Not a waveform-audio file.\n") + Path});
    EXPECT_EQ(Form->ZU->GetWaveSize(), 700);
}
