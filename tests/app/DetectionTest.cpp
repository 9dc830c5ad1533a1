// The automatic cut-out as the window runs it, on recordings loaded from
// disk, with the panel's settings unless a test moves a bar. The rules
// alone are tested in tests/engine/DetectionRulesTest.cpp.
#include "DetectionSupport.h"

#include "app/Detection.h"
#include "app/PaintBox.h"
#include "app/Session.h"
#include "engine/SuggestSettings.h"
#include "engine/TrimDetection.h"
#include "SpeechLike.h"

#include <QApplication>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QProcess>
#include <QScrollBar>
#include <QTest>

using namespace apptest;
using TAreas = std::vector<TTrimArea>;

namespace {

class DetectionTest : public CommandTest {
protected:
    // Runs the command and returns the list it built.
    TAreas Detect()
    {
        Form->N5Click();
        return Areas();
    }
};

TEST_F(DetectionTest, BurstBetweenSilencesEndsBeforeItsLastLoudPosition)
{
    LoadLevels({{1000, 0}, {300, 5000}, {1000, 0}});
    EXPECT_EQ(Detect(), (TAreas{{1000, 1299}}));
    EXPECT_EQ(Messages, QStringList{"1個に分割されました"});
}

// A pause longer than the bar reaches joins two bursts only when typed.
TEST_F(DetectionTest, ASilenceWidthTypedBeyondItsBarIsTheOneUsed)
{
    LoadLevels({{1000, 0}, {300, 5000}, {5500, 0}, {300, 5000}, {8000, 0}});
    Form->SBNW->setValue(Form->SBNW->maximum());
    EXPECT_EQ(Detect().size(), 2u);
    TypeInto(Form->Edit2, QStringLiteral("6000"));
    EXPECT_EQ(Detect(), (TAreas{{1000, 7099}}));
}

TEST_F(DetectionTest, AreaAsLongAsTheMinimumSizeIsDroppedOneLongerIsKept)
{
    LoadLevels({{1000, 0}, {101, 5000}, {1000, 0}});
    EXPECT_EQ(Detect(), TAreas{});
    LoadLevels({{1000, 0}, {102, 5000}, {1000, 0}});
    EXPECT_EQ(Detect(), (TAreas{{1000, 1101}}));
    EXPECT_EQ(Messages, (QStringList{"0個に分割されました", "1個に分割されました"}));
}

TEST_F(DetectionTest, RecordingEndingInSoundKeepsItsLastPiece)
{
    LoadLevels({{1000, 0}, {300, 5000}});
    EXPECT_EQ(Detect(), (TAreas{{1000, 1300}}));
    EXPECT_EQ(Messages, QStringList{"1個に分割されました"});
}

TEST_F(DetectionTest, FullScaleNegativeSampleHasTheHighestLevel)
{
    Form->SBN->setValue(30000);
    EXPECT_EQ(Form->SBCSL->value(), 30000);
    LoadLevels({{500, 0}, {2, 32768}, {300, 0}});
    EXPECT_EQ(SampleLevel(*Form, 500), 32768);
    // Neither search finds a level below 10000, so both boundaries fall
    // where the scan decided.
    EXPECT_EQ(Detect(), (TAreas{{500, 601}}));
}

TEST_F(DetectionTest, SoundOnEitherStereoChannelCounts)
{
    // Right channel loud, left silent; then left loud, right silent.
    std::vector<std::int16_t> Frames;
    auto Add = [&](int Count, std::int16_t Left, std::int16_t Right) {
        for (int I = 0; I < Count; ++I) {
            Frames.push_back(I % 2 ? Left : std::int16_t(-Left));
            Frames.push_back(I % 2 ? Right : std::int16_t(-Right));
        }
    };
    Add(1000, 0, 0);
    Add(300, 0, 5000);
    Add(1000, 0, 0);
    Add(300, 7000, 100);
    Add(1000, 0, 0);
    Load(Stereo16(Frames));
    EXPECT_EQ(Detect(), (TAreas{{1000, 1299}, {2300, 2599}}));
    EXPECT_EQ(SampleLevel(*Form, 1000), 5000);
    EXPECT_EQ(SampleLevel(*Form, 2300), 7000);
}

TEST_F(DetectionTest, EightBitLevelsAreMeasuredAtSixteenBitScale)
{
    // Stored 132 is level 1024 (above 1000), 124 is 1024, 127 is 256.
    wavtest::Bytes Data(1000, 128);
    Data.insert(Data.end(), 150, 132);
    Data.insert(Data.end(), 150, 124);
    Data.insert(Data.end(), 1000, 127);
    Load(wavtest::PcmFile(1, 8000, 8, Data));
    EXPECT_EQ(SampleLevel(*Form, 1000), 1024);
    EXPECT_EQ(SampleLevel(*Form, 1150), 1024);
    EXPECT_EQ(SampleLevel(*Form, 1300), 256);
    EXPECT_EQ(Detect(), (TAreas{{1000, 1299}}));
}

TEST_F(DetectionTest, ListIsRebuiltOnEveryRunAndGrowsOnlyWhileScanning)
{
    // 25 pieces of 200 loud positions, each followed by 200 silent ones.
    std::vector<std::int16_t> Samples(200, 0);
    for (int Piece = 0; Piece < 25; ++Piece) {
        const auto Loud = Levels16({{200, 4000}});
        Samples.insert(Samples.end(), Loud.begin(), Loud.end());
        Samples.insert(Samples.end(), 200, 0);
    }
    Load(Mono16(Samples));
    const TAreas First = Detect();
    ASSERT_EQ(First.size(), 25u);
    for (int Piece = 0; Piece < 25; ++Piece)
        EXPECT_EQ(First[Piece], (TTrimArea{200 + 400 * Piece, 399 + 400 * Piece}));
    EXPECT_EQ(Form->FAreas.size(), 34u);
    EXPECT_EQ(Detect(), First);

    // A minimum size no piece reaches: the first opening sets the length to
    // 10 again, and the count says nothing is valid.
    Form->SBML->setValue(300);
    EXPECT_EQ(Detect(), TAreas{});
    EXPECT_EQ(Form->FAreas.size(), 10u);
    EXPECT_EQ(Messages.last(), "0個に分割されました");
}

TEST_F(DetectionTest, EmptyOrUnloadedRecordingGivesNoArea)
{
    // The component's initial wave: one silent frame.
    EXPECT_EQ(Detect(), TAreas{});
    EXPECT_EQ(Messages, QStringList{"0個に分割されました"});
}

TEST_F(DetectionTest, SampleLayoutTheAccessRefusesEndsTheCommandWithItsError)
{
    // 12-bit PCM loads, but no sample of it can be read.
    Load(wavtest::PcmFile(1, 44100, 12, wavtest::Bytes(500, 0)));
    Form->FAreaCount = 3;
    EXPECT_THROW(Form->N5Click(), EZuWaveInvalidWave);
    EXPECT_EQ(Form->FAreaCount, 0);
    EXPECT_TRUE(Messages.isEmpty());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(DetectionTest, LevelOutsideTheRecordingIsAnInternalError)
{
    LoadLevels({{20, 3000}});
    EXPECT_EQ(SampleLevel(*Form, 19), 3000);
    EXPECT_NE(Form->windowTitle(), "内部エラー");
    EXPECT_EQ(SampleLevel(*Form, 20), 0);
    EXPECT_EQ(Form->windowTitle(), "内部エラー");
    Form->setWindowTitle("x");
    EXPECT_EQ(SampleLevel(*Form, -1), 0);
    EXPECT_EQ(Form->windowTitle(), "内部エラー");
}

TEST_F(DetectionTest, ViewIsRepaintedUnderTheWaitCursorBeforeTheCountIsShown)
{
    LoadLevels({{1000, 0}, {300, 5000}, {1000, 0}});
    QStringList Events;
    auto Paint = Form->PB->OnPaint;
    Form->PB->OnPaint = [&, Paint] {
        const bool Waiting = QApplication::overrideCursor() != nullptr
            && QApplication::overrideCursor()->shape() == Qt::WaitCursor;
        Events << QString("paint %1 areas%2").arg(Form->FAreaCount).arg(Waiting ? " waiting" : "");
        Paint();
    };
    Form->ShowMessage = [&](const QString &Text) {
        Events << Text + (QApplication::overrideCursor() != nullptr ? " waiting" : "");
    };
    Form->N5Click();
    EXPECT_EQ(Events, (QStringList{"paint 1 areas waiting", "1個に分割されました"}));
}

} // namespace

// The suggestion on quiet speech-like sound, whose levels lie below the
// bars' minima: the settings the engine
// suggests (as redivev-split --auto takes them) land on the panel, Trim!
// then finds one whole piece per sentence, and one step back restores the
// panel as it was, typed values included.
TEST_F(DetectionTest, SuggestedSettingsCutSentencesAndStepBack)
{
    speechtest::TSpeechPlan Plan;
    Plan.Seed = 5;
    Plan.Rate = 16000;
    Plan.Sentences = 4;
    Plan.FloorDb = -62;
    Plan.FloorEndDb = -60;
    const speechtest::TSpeechRecording Speech = speechtest::MakeSpeechLike(Plan);
    Load(wavtest::PcmFile(1, Plan.Rate, 16, wavtest::Samples16(Speech.Samples)));
    TypeInto(Form->Edit2, QStringLiteral("9000"));
    const TSettingValues Before = SettingValuesOf(*Form);

    Form->SuggestAction->trigger();
    const TTrimSettings Suggested = SuggestTrimSettings(Form->Document.RecordingView()).Settings;
    const TTrimSettings Panel = ReadTrimSettings(*Form);
    EXPECT_TRUE(Panel.NoSoundLevel == Suggested.NoSoundLevel && Panel.CutStartLevel == Suggested.CutStartLevel &&
                Panel.NoSoundWidth == Suggested.NoSoundWidth && Panel.MinimumSize == Suggested.MinimumSize &&
                Panel.Pad == Suggested.Pad && Panel.LevelWindow == Suggested.LevelWindow &&
                Panel.JoinShort == Suggested.JoinShort && Panel.Band == Suggested.Band);
    EXPECT_TRUE(Form->Settings->JoinShortBox->isChecked());
    ASSERT_EQ(Messages.size(), 1);
    EXPECT_TRUE(Messages[0].endsWith(QStringLiteral("4個に分割されます"))) << Messages[0].toStdString();

    std::vector<speechtest::TPiece> Pieces;
    for (const TTrimArea &Area : Detect())
        Pieces.push_back({Area.StartPos, Area.EndPos});
    const speechtest::TSentenceScore Score = speechtest::ScorePieces(Speech.Sentences, Pieces, Plan.Rate);
    EXPECT_EQ(Score.Matched, 4);
    EXPECT_EQ(Score.Pieces, 4);
    EXPECT_LT(Panel.NoSoundLevel, Form->SBN->minimum()) << "a recording this quiet tries the bar's lower end";

    // With Join short, Trim! says when sound well above the floor lies in
    // no piece: here the start level raised over the speech.
    TypeInto(Form->Edit4, QStringLiteral("-3dB"));
    Messages.clear();
    Form->N5Click();
    ASSERT_EQ(Messages.size(), 1);
    EXPECT_TRUE(Messages[0].startsWith(QStringLiteral("0個に分割されました。雑音より"))) << Messages[0].toStdString();
    EXPECT_TRUE(Messages[0].endsWith(QStringLiteral("どの区間にも入っていません"))) << Messages[0].toStdString();

    Form->UndoSuggestAction->trigger();
    EXPECT_EQ(SettingValuesOf(*Form), Before);
    EXPECT_FALSE(Form->Settings->JoinShortBox->isChecked());
    EXPECT_EQ(Form->SBCSL->minimum(), 100) << "the designed bound comes back too";
    EXPECT_EQ(Form->Settings->ValueOf(Form->SBNW), 9000);
    EXPECT_FALSE(Form->UndoSuggestAction->isEnabled());

    // Words chosen beside Auto: the suggestion redivev-split --auto
    // --target word makes.
    QTest::keyClick(Form->Settings->TargetBox, Qt::Key_End);
    ASSERT_EQ(Form->Settings->TargetBox->currentText(), QStringLiteral("word"));
    Form->SuggestAction->trigger();
    const TTrimSettings Words = SuggestTrimSettings(Form->Document.RecordingView(), TPieceTarget::Word).Settings;
    const TTrimSettings WordPanel = ReadTrimSettings(*Form);
    EXPECT_TRUE(WordPanel.NoSoundWidth == Words.NoSoundWidth && WordPanel.MinimumSize == Words.MinimumSize &&
                WordPanel.Pad == Words.Pad && WordPanel.CutStartLevel == Words.CutStartLevel &&
                WordPanel.Band == Words.Band && WordPanel.JoinShort == Words.JoinShort);
    EXPECT_LT(Words.NoSoundWidth, Suggested.NoSoundWidth);

    // Steady loud sound has no floor and no speech to report: the message
    // says so rather than naming a speech level.
    std::vector<std::int16_t> Steady(16000);
    for (std::size_t I = 0; I < Steady.size(); ++I)
        Steady[I] = std::int16_t(I % 2 ? 20000 : -20000);
    Load(wavtest::PcmFile(1, 16000, 16, wavtest::Samples16(Steady)));
    Messages.clear();
    Form->SuggestAction->trigger();
    ASSERT_EQ(Messages.size(), 1);
    EXPECT_TRUE(Messages[0].startsWith(QStringLiteral("録音はずっと")) && !Messages[0].contains(QStringLiteral("声 ")))
        << Messages[0].toStdString();

    // A floor that rises under a quiet talker: Trim! after Auto follows it
    // as redivev-split --auto does, and cuts with the panel's levels alone
    // once the user sets one.
    speechtest::TSpeechPlan Rising = Plan;
    Rising.Seed = 21;
    Rising.Sentences = 12;
    Rising.FloorDb = -70;
    Rising.FloorEndDb = -40;
    Rising.SpeechDb = -32;
    Rising.LaterSpeechDb = 10;
    const speechtest::TSpeechRecording Room = speechtest::MakeSpeechLike(Rising);
    const QString RoomFile = WriteFile("rising.wav", wavtest::PcmFile(1, Rising.Rate, 16, wavtest::Samples16(Room.Samples)));
    Open(RoomFile);
    QTest::keyClick(Form->Settings->TargetBox, Qt::Key_Home);
    Form->SuggestAction->trigger();
    const TAreas AlongFloor = Detect();
    EXPECT_EQ(AlongFloor.size(), 12u);
    QProcess Split;
    Split.start(QStringLiteral(REDIVEV_SPLIT), {"--auto", "--list", RoomFile});
    ASSERT_TRUE(Split.waitForFinished(60000));
    const QString Said = QString::fromUtf8(Split.readAllStandardError());
    EXPECT_TRUE(Said.contains(QStringLiteral(" dBFS, followed as it rose from -"))) << Said.toStdString();
    TAreas Listed;
    for (const QByteArray &Line : Split.readAllStandardOutput().split('\n').mid(1))
        if (const QList<QByteArray> Fields = Line.split(','); Fields.size() == 6)
            Listed.push_back({Fields[2].toLongLong(), Fields[3].toLongLong()});
    EXPECT_EQ(Listed, AlongFloor);
    TypeInto(Form->Edit4, QStringLiteral("-34dB"));
    EXPECT_EQ(Detect(), DetectTrimAreas(Form->Document.RecordingView(), ReadTrimSettings(*Form)));
    EXPECT_NE(Areas(), AlongFloor);
}
