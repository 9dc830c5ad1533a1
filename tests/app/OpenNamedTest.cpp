// A file named on the command line or dropped on the main window opens as
// the open dialog's answer would: the same recording, the same messages,
// the same errors; and the dialog is the form's own again afterwards.
#include "WindowTestSupport.h"

#include "app/OpenNamed.h"
#include "engine/FlacCodec.h"

#include <QAction>
#include <QApplication>
#include <QDropEvent>
#include <QElapsedTimer>
#include <QFile>
#include <QMimeData>
#include <QScrollBar>
#include <QUrl>
#include <QWindow>

using namespace apptest;

namespace {

enum class TRoute { Dialog, CommandLine, Drop };

struct TOutcome {
    QStringList Errors;
    QStringList Messages;
    std::int32_t Frames = -1;
    int ScrollMax = -1;
    std::int32_t AreaCount = -1;
    QString Title;

    bool operator==(const TOutcome &) const = default;
};

void PrintTo(const TOutcome &Outcome, std::ostream *Out)
{
    *Out << "errors [" << Outcome.Errors.join('|').toStdString() << "] messages ["
         << Outcome.Messages.join('|').toStdString() << "] frames " << Outcome.Frames << " max " << Outcome.ScrollMax
         << " areas " << Outcome.AreaCount << " title " << Outcome.Title.toStdString();
}

class OpenNamedTest : public FormTest {
protected:
    bool Drag(QEvent::Type Type, const QList<QUrl> &Urls)
    {
        QMimeData Data;
        Data.setUrls(Urls);
        const QPointF At(Form->width() / 2, Form->height() / 2);
        if (Type == QEvent::Drop) {
            QDropEvent Event(At, Qt::CopyAction, &Data, Qt::LeftButton, Qt::NoModifier);
            Event.ignore();
            QApplication::sendEvent(Form.get(), &Event);
            return Event.isAccepted();
        }
        QDragEnterEvent Event(At.toPoint(), Qt::CopyAction, &Data, Qt::LeftButton, Qt::NoModifier);
        Event.ignore();
        QApplication::sendEvent(Form.get(), &Event);
        return Event.isAccepted();
    }

    // Lets the event loop run until a deferred open has had its turn: it
    // waits for the main window to be on the screen.
    void Settle()
    {
        QElapsedTimer Clock;
        Clock.start();
        const auto Shown = [this] { return Form->windowHandle() != nullptr && Form->windowHandle()->isExposed(); };
        while (Clock.elapsed() < 100 || (!Shown() && Clock.elapsed() < 1500))
            QApplication::processEvents(QEventLoop::AllEvents, 20);
    }

    // Opens Path by Route over an earlier recording with a trim area.
    TOutcome OpenBy(TRoute Route, const QString &Path)
    {
        Open(Earlier);
        Form->FAreaCount = 1;
        Errors.clear();
        Messages.clear();
        const int RunsBefore = DialogRuns;
        switch (Route) {
        case TRoute::Dialog:
            Form->RunOpenDialog = [Path]() -> std::optional<QString> { return Path; };
            Form->WAV1->trigger();
            break;
        case TRoute::CommandLine:
            OpenFromCommandLine(*Form, {"redivev", QFile::encodeName(Path)});
            // Not before the event loop runs: the windows come up first.
            EXPECT_EQ(Form->ZU->GetWaveSize(), 500);
            Settle();
            break;
        case TRoute::Drop:
            EXPECT_TRUE(Drag(QEvent::DragEnter, {QUrl::fromLocalFile(Path)}));
            EXPECT_TRUE(Drag(QEvent::Drop, {QUrl::fromLocalFile(Path)}));
            Settle();
            break;
        }
        EXPECT_EQ(DialogRuns, RunsBefore);
        return {Errors, Messages, Form->ZU->GetWaveSize(), Form->SB->maximum(), Form->FAreaCount, Form->windowTitle()};
    }

    void SetUp() override
    {
        FormTest::SetUp();
        Earlier = WriteFile("earlier.wav", Silence16(500));
    }

    // A 16-bit mono FLAC file of Frames silent frames.
    QString WriteFlac(const QString &Name, std::int64_t Frames)
    {
        const QString Path = Dir.filePath(Name);
        QFile File(Path);
        EXPECT_TRUE(File.open(QIODevice::WriteOnly));
        const std::vector<std::uint8_t> Silent(std::size_t(Frames) * 2, 0);
        EncodeFlac(File.handle(), TFlacInfo{44100, 1, 16, Frames}, Silent.data(), Frames);
        return Path;
    }

    QString Earlier;
};

} // namespace

TEST_F(OpenNamedTest, CommandLineAndDroppedFilesOpenAsTheDialogsAnswer)
{
    const QString Files[] = {
        WriteFile("take.WAV", Silence16(1234)),
        Dir.filePath(QStringLiteral("missing.wav")),
        WriteFile("text.wav", wavtest::Bytes(64, 'x')),
        WriteFile("alaw.wav", wavtest::Riff("WAVE", {wavtest::Chunk("fmt ", wavtest::FmtBody(6, 2, 8000, 8)),
                                                      wavtest::Chunk("data", wavtest::Bytes(64, 0))})),
        WriteFlac("take.flac", 777),
    };
    for (const QString &Path : Files) {
        SCOPED_TRACE(Path.toStdString());
        const TOutcome Chosen = OpenBy(TRoute::Dialog, Path);
        EXPECT_EQ(OpenBy(TRoute::CommandLine, Path), Chosen);
        EXPECT_EQ(OpenBy(TRoute::Drop, Path), Chosen);
    }
    // The answers differ from file to file, so the routes were compared on
    // something: a recording, an error of its own, a message.
    EXPECT_EQ(OpenBy(TRoute::Drop, Files[0]).Frames, 1234);
    EXPECT_EQ(OpenBy(TRoute::Drop, Files[1]).Errors.size(), 1);
    EXPECT_EQ(OpenBy(TRoute::Drop, Files[3]).Messages.size(), 1);
    EXPECT_EQ(OpenBy(TRoute::Drop, Files[4]).ScrollMax, 777);
    // The title names the recording open: a file that cannot be opened or
    // read leaves the earlier one.
    EXPECT_EQ(OpenBy(TRoute::Drop, Files[0]).Title, QStringLiteral("take.WAV — Redivev"));
    EXPECT_EQ(OpenBy(TRoute::Drop, Files[1]).Title, QStringLiteral("earlier.wav — Redivev"));
    EXPECT_EQ(OpenBy(TRoute::Drop, Files[2]).Title, QStringLiteral("earlier.wav — Redivev"));

    // The menu command asks the dialog again.
    const int Runs = DialogRuns;
    Form->WAV1->trigger();
    EXPECT_EQ(DialogRuns, Runs + 1);
}

TEST_F(OpenNamedTest, OnlyOneLocalWaveFileIsTakenFromADragAndNoFileNamedOpensNothing)
{
    const QString Wave = WriteFile("take.wav", Silence16(1234));
    const QList<QList<QUrl>> Refused = {
        {QUrl::fromLocalFile(WriteFile("notes.txt", {'h', 'i'}))},
        {QUrl::fromLocalFile(Wave), QUrl::fromLocalFile(WriteFile("other.wav", Silence16(10)))},
        {QUrl(QStringLiteral("https://example.org/take.wav"))},
        {},
    };
    for (const QList<QUrl> &Urls : Refused) {
        EXPECT_FALSE(Drag(QEvent::DragEnter, Urls));
        EXPECT_FALSE(Drag(QEvent::Drop, Urls));
    }
    OpenFromCommandLine(*Form, {"redivev"});
    Settle();
    EXPECT_EQ(Form->ZU->GetWaveSize(), 1);
    EXPECT_TRUE(Errors.isEmpty());
    EXPECT_EQ(DialogRuns, 0);
}

TEST_F(OpenNamedTest, ANameThatIsNoUtf8OpensFromTheCommandLine)
{
    // No QString holds these bytes: the name must travel as bytes.
    const QByteArray Name = QFile::encodeName(Dir.path()) + "/lat\xe9.wav";
    wavtest::WriteFileBytes(Name.toStdString(), Silence16(1234));
    Open(Earlier);
    OpenFromCommandLine(*Form, {"redivev", Name});
    Settle();
    EXPECT_EQ(Errors, QStringList{});
    EXPECT_EQ(Form->ZU->GetWaveSize(), 1234);
}
