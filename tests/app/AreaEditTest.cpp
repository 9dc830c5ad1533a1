// Correcting the detected areas by hand through the window: an edge
// dragged, an area deleted, added with Shift+drag, split at the cursor and
// merged with the next, every step undone and redone by its keys (a new
// step after an undo leaving nothing to redo), the list beside the view
// following, and the export writing the areas as edited. Corrections not yet
// kept are asked for before they would go, and come back with their
// recording.
#include "DetectionSupport.h"

#include "app/AreaList.h"
#include "app/ClockText.h"
#include "app/PaintBox.h"
#include "app/RecordingDocument.h"
#include "engine/ExportFolder.h"
#include "engine/LabelFile.h"
#include "platform/Exception.h"
#include "wave/ZuWAVE.h"

#include <QAction>
#include <QApplication>
#include <QDialogButtonBox>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QHeaderView>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <functional>

using namespace apptest;

namespace {

constexpr int Zoom = 20; // 8000 Hz: 400 columns a second

// The window's modal dialogs answered as the user answers them, one after
// the other as they come up: a timer looks for each in turn, never waiting
// inside a dialog's own loop for the next one.
class TModalAnswers : public QObject {
public:
    TModalAnswers()
    {
        FTimer.setInterval(10);
        connect(&FTimer, &QTimer::timeout, this, [this] {
            QWidget *Modal = QApplication::activeModalWidget();
            if (!FSteps.empty() && Modal != nullptr && FSteps.front()(Modal))
                FSteps.erase(FSteps.begin());
            if (FSteps.empty())
                FTimer.stop();
        });
    }
    // The next message box, by a click on the button captioned Caption;
    // Text gets its text.
    TModalAnswers &Box(const QString &Caption, QString *Text = nullptr)
    {
        return Then([Caption, Text](QWidget *Modal) {
            auto *Box = qobject_cast<QMessageBox *>(Modal);
            if (Box == nullptr)
                return false;
            if (Text != nullptr)
                *Text = Box->text();
            for (QAbstractButton *Button : Box->buttons())
                if (Button->text() == Caption) {
                    QTest::mouseClick(Button, Qt::LeftButton);
                    return true;
                }
            ADD_FAILURE() << "no button " << Caption.toStdString();
            Box->reject();
            return true;
        });
    }
    TModalAnswers &Then(std::function<bool(QWidget *Modal)> Step)
    {
        FSteps.push_back(std::move(Step));
        FTimer.start();
        return *this;
    }
    bool Done() const { return FSteps.empty(); }

private:
    QTimer FTimer;
    std::vector<std::function<bool(QWidget *)>> FSteps;
};

class AreaEditTest : public CommandTest {
protected:
    void SetUp() override
    {
        CommandTest::SetUp();
        Source = wavtest::PcmFile(1, 8000, 16, wavtest::Samples16(Levels16({{1000, 0}, {2000, 6000}, {1000, 0},
                                                                              {2000, 6000}, {1000, 0}, {2000, 6000},
                                                                              {1000, 0}})));
        Load(Source);
        Form->N5Click();
        Detected = Areas();
        ASSERT_EQ(Detected.size(), 3u);
        Form->SBHZ->setValue(Zoom);
        Form->activateWindow();
        QApplication::setActiveWindow(Form.get());
    }

    void Mouse(QEvent::Type Type, int X, Qt::KeyboardModifiers Shift = Qt::NoModifier)
    {
        const QPointF At(X, 100);
        const Qt::MouseButton Button = Type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
        const Qt::MouseButtons Held = Type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent Event(Type, At, Form->PB->mapToGlobal(At), Button, Held, Shift);
        QApplication::sendEvent(Form->PB, &Event);
    }
    void Drag(int From, int To, Qt::KeyboardModifiers Shift = Qt::NoModifier)
    {
        Mouse(QEvent::MouseButtonPress, From, Shift);
        Mouse(QEvent::MouseMove, (From + To) / 2, Shift);
        Mouse(QEvent::MouseMove, To, Shift);
        Mouse(QEvent::MouseButtonRelease, To, Shift);
    }
    void Click(int X) { Drag(X, X); }
    void Key(int Key, Qt::KeyboardModifiers Shift = Qt::NoModifier)
    {
        QTest::keyClick(Form.get(), Qt::Key(Key), Shift);
    }

    QString Listed(int Row, int Column) const { return Form->AreaListModel->index(Row, Column).data().toString(); }

    wavtest::Bytes Source;
    std::vector<TTrimArea> Detected;
};

} // namespace

TEST_F(AreaEditTest, EveryCorrectionIsAStepTheExportWritesAsEdited)
{
    const TTrimArea First = Detected[0];
    ASSERT_EQ(Form->AreaListModel->rowCount(), 3);
    const int EndColumn = int(First.EndPos / Zoom - 1);

    // A click on the border selects the area and moves nothing.
    Click(EndColumn);
    EXPECT_EQ(Form->Document.Editor().Selected(), 0);
    EXPECT_EQ(Areas(), Detected);
    // The end edge dragged ten columns on, by its border column.
    Drag(EndColumn, EndColumn + 10);
    const TTrimArea Longer{First.StartPos, std::int64_t(EndColumn + 11) * Zoom};
    EXPECT_EQ(Areas()[0], Longer);
    EXPECT_EQ(Listed(0, 2), ClockTextMs(Longer.EndPos / 8));
    EXPECT_EQ(Listed(0, 3), ClockTextMs((Longer.EndPos - Longer.StartPos) / 8));
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Areas(), Detected);
    Key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(Areas()[0], Longer);

    // A click inside the second area selects it; Delete removes it.
    Click(int((Detected[1].StartPos + Detected[1].EndPos) / 2 / Zoom));
    EXPECT_EQ(Form->Document.Editor().Selected(), 1);
    Key(Qt::Key_Delete);
    EXPECT_EQ(Areas(), (std::vector<TTrimArea>{Longer, Detected[2]}));

    // Shift+drag over the silence after the last adds an area there.
    const std::int64_t Silence = Detected[2].EndPos + 200;
    Drag(int(Silence / Zoom), int(Silence / Zoom) + 20, Qt::ShiftModifier);
    const TTrimArea Added{Silence / Zoom * Zoom, (Silence / Zoom + 20) * Zoom};
    EXPECT_EQ(Areas(), (std::vector<TTrimArea>{Longer, Detected[2], Added}));
    EXPECT_EQ(Form->AreaListModel->rowCount(), 3);

    // Split the first at a click's cursor; merge the second with the added.
    const std::int64_t Cut = (First.StartPos / Zoom + 30) * Zoom;
    Click(int(Cut / Zoom));
    Key(Qt::Key_S);
    Click(int((Detected[2].StartPos + Detected[2].EndPos) / 2 / Zoom));
    Key(Qt::Key_M);
    const std::vector<TTrimArea> Edited{
        {Longer.StartPos, Cut}, {Cut, Longer.EndPos}, {Detected[2].StartPos, Added.EndPos}};
    ASSERT_EQ(Areas(), Edited);
    EXPECT_EQ(Form->AreaListModel->rowCount(), 3);

    Form->N6Click();
    const wavtest::Bytes Samples(Source.begin() + 44, Source.end());
    for (std::size_t I = 0; I < Edited.size(); ++I) {
        const TWavContent Saved = ReadWav(ExportFileName(ProgramDir + "/MakedFile", std::int32_t(I)));
        EXPECT_TRUE(Saved.Data == wavtest::Bytes(Samples.begin() + 2 * Edited[I].StartPos,
                                                 Samples.begin() + 2 * Edited[I].EndPos))
            << "piece " << I;
    }

    // Undone step by step, back past the detection itself; then redone.
    int Steps = 0;
    while (Form->UndoAction->isEnabled() && Steps < 20) {
        Key(Qt::Key_Z, Qt::ControlModifier);
        ++Steps;
    }
    EXPECT_EQ(Steps, 6); // the merge, split, add, delete, drag and the detection
    EXPECT_TRUE(Areas().empty());
    Key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(Areas(), Detected);
    for (int I = 0; I < 10; ++I)
        Key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(Areas(), Edited);

    // A new step after an undo drops what was undone: nothing is left to
    // redo, and the undo goes back to before that step.
    Key(Qt::Key_Z, Qt::ControlModifier);
    const std::vector<TTrimArea> Unmerged = Areas();
    ASSERT_NE(Unmerged, Edited);
    ASSERT_TRUE(Form->RedoAction->isEnabled());
    Click(int((Unmerged[0].StartPos + Unmerged[0].EndPos) / 2 / Zoom));
    Key(Qt::Key_Delete);
    const std::vector<TTrimArea> Removed(Unmerged.begin() + 1, Unmerged.end());
    ASSERT_EQ(Areas(), Removed);
    EXPECT_FALSE(Form->RedoAction->isEnabled());
    Key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(Areas(), Removed);
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Areas(), Unmerged);
}

TEST_F(AreaEditTest, TheListShowsTheAreaClickedAndANewRecordingStartsAfresh)
{
    Form->SB->setValue(0);
    emit Form->AreaList->clicked(Form->AreaListModel->index(2, 0));
    EXPECT_EQ(Form->Document.Editor().Selected(), 2);
    // Its start a tenth of the view from the left edge.
    EXPECT_EQ(Form->SB->value(), Detected[2].StartPos - 68 * Zoom);
    Load(Source);
    EXPECT_FALSE(Form->UndoAction->isEnabled());
    EXPECT_EQ(Form->AreaListModel->rowCount(), 0);
    EXPECT_EQ(Form->Document.Editor().Selected(), -1);
}

TEST_F(AreaEditTest, CorrectionsAreAskedForBeforeTheyGoAndComeBackWithTheirRecording)
{
    const QString Recording = Dir.filePath(QStringLiteral("input1.wav"));
    // Detected areas are detected again at will: nothing to ask.
    Form->N5Click();
    Click(int((Detected[1].StartPos + Detected[1].EndPos) / 2 / Zoom));
    Key(Qt::Key_Delete);
    const std::vector<TTrimArea> Edited{Detected[0], Detected[2]};
    ASSERT_EQ(Areas(), Edited);
    EXPECT_TRUE(AreaQuestions.isEmpty());

    // Each way of losing them asks through the window's question; Cancel
    // keeps everything as it was.
    Form->AskSaveAreas = WindowAskSaveAreas;
    Form->SBN->setValue(2000);
    const QString Other = WriteFile("other.wav", Silence16(900));
    QString Asked;
    TModalAnswers Answers;
    Answers.Box(QStringLiteral("キャンセル"), &Asked);
    EXPECT_FALSE(Form->close());
    EXPECT_TRUE(Form->isVisible());
    EXPECT_EQ(Asked, QStringLiteral("手で直した範囲がまだ保存されていません。ラベルに書き出しますか？"));
    Answers.Box(QStringLiteral("キャンセル"));
    QTest::mouseClick(Form->Button1, Qt::LeftButton);
    Answers.Box(QStringLiteral("キャンセル"));
    Form->Defaults1->trigger();
    EXPECT_EQ(Form->SBN->value(), 2000);
    Answers.Box(QStringLiteral("キャンセル"));
    Open(Other);
    EXPECT_TRUE(Answers.Done());
    EXPECT_EQ(Form->ZU->GetWaveSize(), std::int32_t(Source.size() - 44) / 2);
    EXPECT_EQ(Areas(), Edited);
    EXPECT_TRUE(Errors.isEmpty()) << Errors.join('\n').toStdString();

    // Saved as labels, through the label dialog, which suggests NAME.txt
    // beside the recording: then the window closes.
    Messages.clear();
    QString Suggested;
    Answers.Box(QStringLiteral("ラベルに書き出す(&S)")).Then([&Suggested](QWidget *Modal) {
        auto *Dialog = qobject_cast<QFileDialog *>(Modal);
        if (Dialog == nullptr)
            return false;
        Suggested = Dialog->selectedFiles().value(0);
        auto *Buttons = Dialog->findChild<QDialogButtonBox *>();
        if (Buttons == nullptr || Buttons->button(QDialogButtonBox::Save) == nullptr) {
            ADD_FAILURE() << "no Save button";
            Dialog->reject();
            return true;
        }
        QTest::mouseClick(Buttons->button(QDialogButtonBox::Save), Qt::LeftButton);
        return true;
    });
    EXPECT_TRUE(Form->close());
    EXPECT_TRUE(Answers.Done());
    EXPECT_EQ(Suggested, Dir.filePath(QStringLiteral("input1.txt")));
    EXPECT_EQ(Messages, QStringList{QStringLiteral("2個の範囲をラベルに書き出しました")});
    const wavtest::Bytes Written = wavtest::ReadFileBytes(Suggested.toStdString());
    EXPECT_EQ(std::count(Written.begin(), Written.end(), '\n'), 2);
    // Kept now: closing again asks nothing.
    Form->AskSaveAreas = [this](const QString &Text) {
        AreaQuestions << Text;
        return AreaAnswer;
    };
    Form->show();
    EXPECT_TRUE(Form->close());
    EXPECT_TRUE(AreaQuestions.isEmpty());

    // Not saved: another recording opens without them, and they come back
    // when this one opens again.
    Form->show();
    QApplication::setActiveWindow(Form.get());
    Click(int((Detected[0].StartPos + Detected[0].EndPos) / 2 / Zoom));
    Key(Qt::Key_Delete);
    const std::vector<TTrimArea> EditedTwice{Detected[2]};
    ASSERT_EQ(Areas(), EditedTwice);
    Form->AskSaveAreas = WindowAskSaveAreas;
    Answers.Box(QStringLiteral("書き出さない(&N)"));
    Open(Other);
    EXPECT_TRUE(Answers.Done());
    EXPECT_EQ(Form->ZU->GetWaveSize(), 900);
    EXPECT_TRUE(Areas().empty());
    EXPECT_TRUE(KeptOffers.isEmpty());
    TakeKept = true;
    Open(Recording);
    EXPECT_EQ(KeptOffers, QStringList{QStringLiteral("この録音を前に開いたときの1個の範囲があります。読み込みますか？")});
    EXPECT_EQ(Areas(), EditedTwice);
    EXPECT_EQ(Form->AreaListModel->rowCount(), 1);
    // Taken back as they were: nothing to ask on leaving them again.
    Open(Other);
    // A recording changed since is another: nothing is offered.
    KeptOffers.clear();
    WriteFile("input1.wav", Silence16(800));
    Open(Recording);
    EXPECT_TRUE(KeptOffers.isEmpty());
    EXPECT_TRUE(Areas().empty());
    EXPECT_TRUE(Errors.isEmpty()) << Errors.join('\n').toStdString();
}

TEST_F(AreaEditTest, EveryColumnOfTheListShowsWholeAndTheSelectedAreaStandsOut)
{
    // Times past ten hours, as long recordings have them.
    Form->FAreas = {{0, 8000LL * 36000}, {8000LL * 36000, 8000LL * 36001}};
    Form->FAreaCount = 2;
    Form->PB->repaint();
    QApplication::processEvents();
    const QHeaderView *Header = Form->AreaList->horizontalHeader();
    const QFontMetrics Metrics(Form->AreaList->font());
    for (int Column = 0; Column < Form->AreaListModel->columnCount(); ++Column) {
        SCOPED_TRACE(Column);
        EXPECT_LE(Header->sectionViewportPosition(Column) + Header->sectionSize(Column),
                  Form->AreaList->viewport()->width());
        EXPECT_GT(Header->sectionSize(Column), Metrics.horizontalAdvance(Listed(1, Column)));
    }
    EXPECT_EQ(Form->AreaList->horizontalScrollBar()->maximum(), 0);

    // The selected area's band in a colour of its own, not only its borders.
    Load(Source);
    Form->N5Click();
    Form->SBHZ->setValue(Zoom);
    // Away from the cursor the click leaves.
    const int Inside = int((Detected[1].StartPos + Detected[1].EndPos) / 2 / Zoom);
    const std::string Before = At(View(), Inside + 10, 5);
    Click(Inside);
    ASSERT_EQ(Form->Document.Editor().Selected(), 1);
    EXPECT_NE(At(View(), Inside + 10, 5), Before);
    EXPECT_EQ(At(View(), int((Detected[0].StartPos + Detected[0].EndPos) / 2 / Zoom), 5), Before);
}

// The document keeps the user's work without a window: which areas count as
// kept, the undo of a correction, and the labels that hold only while the
// areas stay as they were read.
TEST(RecordingDocumentTest, TheWorkOnTheAreasIsTrackedWithoutAWindow)
{
    TRecordingDocument Document;
    Document.TakeDetected({{10, 20}, {30, 40}, {50, 50}}, 2);
    EXPECT_EQ(Document.ShownAreas(), (std::vector<TTrimArea>{{10, 20}, {30, 40}}));
    EXPECT_FALSE(Document.HasUnsavedAreas());
    ASSERT_TRUE(Document.Editor().Remove(0));
    EXPECT_EQ(Document.ShownAreas(), (std::vector<TTrimArea>{{30, 40}}));
    EXPECT_TRUE(Document.HasUnsavedAreas());
    ASSERT_TRUE(Document.Editor().Undo());
    EXPECT_FALSE(Document.HasUnsavedAreas());
    EXPECT_TRUE(Document.CurrentAreaLabels().isEmpty());

    Document.TakeLabeled({{{5, 9}, QStringLiteral("a")}, {{12, 18}, QStringLiteral("b")}});
    EXPECT_EQ(Document.AreaCount, 2);
    EXPECT_EQ(Document.CurrentAreaLabels(), (QStringList{QStringLiteral("a"), QStringLiteral("b")}));
    EXPECT_FALSE(Document.HasUnsavedAreas());
    ASSERT_TRUE(Document.Editor().SplitAt(15));
    EXPECT_TRUE(Document.CurrentAreaLabels().isEmpty());
    EXPECT_TRUE(Document.HasUnsavedAreas());

    TZuWave Scratch(nullptr);
    EXPECT_THROW(Document.ExtractArea(3, Scratch), Exception);
}
