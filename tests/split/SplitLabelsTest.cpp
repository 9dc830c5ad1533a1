// Label files through the real redivev-split: written beside the pieces,
// cut again into the same pieces, named after their texts, and refused with
// the line that is wrong.
#include "ChildProcess.h"
#include "WavBuilder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace wavtest;

namespace {

TChildRun Split(const QString &Folder, const std::vector<QByteArray> &Arguments)
{
    return RunChild(REDIVEV_SPLIT, Folder, Arguments);
}

// Bursts of the given lengths at 8000 Hz, each after 1000 silent positions.
Bytes Bursts(const std::vector<int> &Lengths)
{
    std::vector<std::int16_t> Values(1000, 0);
    for (const int Length : Lengths) {
        for (int I = 0; I < Length; ++I)
            Values.push_back(std::int16_t(I % 2 ? -5000 - I : 5000 + I));
        Values.insert(Values.end(), 1000, 0);
    }
    return PcmFile(1, 8000, 16, Samples16(Values));
}

QByteArray Text(const QString &Path)
{
    QFile File(Path);
    return File.open(QIODevice::ReadOnly) ? File.readAll() : QByteArray("(missing)");
}

void Write(const QString &Path, const QByteArray &Text)
{
    QFile File(Path);
    ASSERT_TRUE(File.open(QIODevice::WriteOnly));
    File.write(Text);
}

} // namespace

TEST(SplitLabels, PiecesWrittenAsLabelsAreCutAgainByteForByte)
{
    QTemporaryDir Dir;
    WriteFileBytes(Dir.filePath("talk.wav").toStdString(), Bursts({300, 500, 400}));
    const TChildRun Detected = Split(Dir.path(), {"--labels", "--out", "a", "talk.wav"});
    ASSERT_EQ(Detected.Status, 0) << Detected.Err.toStdString();
    const QByteArray Labels = Text(Dir.filePath("a/labels.txt"));
    EXPECT_EQ(Labels.toStdString(), "0.125000\t0.162375\tWAVE00\n"
                      "0.287500\t0.349875\tWAVE01\n"
                      "0.475000\t0.524875\tWAVE02\n");
    const TChildRun Listed = Split(Dir.path(), {"--list", "--labels", "talk.wav"});
    EXPECT_EQ(Listed.Status, 0);
    EXPECT_EQ(Listed.Out, Labels);

    const TChildRun Again = Split(Dir.path(), {"--areas", "a/labels.txt", "--out", "b", "talk.wav"});
    ASSERT_EQ(Again.Status, 0) << Again.Err.toStdString();
    const QStringList Pieces = {"WAVE00.wav", "WAVE01.wav", "WAVE02.wav"};
    EXPECT_EQ(QDir(Dir.filePath("b")).entryList(QDir::Files, QDir::Name), Pieces);
    for (const QString &Piece : Pieces)
        EXPECT_EQ(ReadFileBytes(Dir.filePath("b/" + Piece).toStdString()),
                  ReadFileBytes(Dir.filePath("a/" + Piece).toStdString()))
            << Piece.toStdString();

    // Beside the recording, with texts that name the pieces.
    Write(Dir.filePath("talk.txt"), "0.125\t0.162375\tIntro\r\n0.2875\t0.349875\tintro\n0.475\t0.524875\ta/b\n");
    const TChildRun Named = Split(Dir.path(), {"--areas-beside", "--name-from-labels", "--labels", "--out", "c",
                                               "talk.wav"});
    ASSERT_EQ(Named.Status, 0) << Named.Err.toStdString();
    const QStringList Names = {"Intro.wav", "intro_2.wav", "a_b.wav"};
    for (qsizetype I = 0; I < Names.size(); ++I)
        EXPECT_EQ(ReadFileBytes(Dir.filePath("c/" + Names[I]).toStdString()),
                  ReadFileBytes(Dir.filePath("a/" + Pieces[I]).toStdString()))
            << Names[I].toStdString();
    EXPECT_EQ(Text(Dir.filePath("c/labels.txt")), "0.125000\t0.162375\tIntro\n"
                                                  "0.287500\t0.349875\tintro_2\n"
                                                  "0.475000\t0.524875\ta_b\n");

    // A name that is another recording's, or any file no export wrote,
    // goes to the piece with "_2"; the manifest names the piece so.
    const Bytes Other = Bursts({500});
    WriteFileBytes(Dir.filePath("other.wav").toStdString(), Other);
    Write(Dir.filePath("talk.txt"), "0.125\t0.162375\tother\n");
    const TChildRun Beside = Split(Dir.path(), {"--areas-beside", "--name-from-labels", "--manifest", "nemo", "--out",
                                                ".", "talk.wav"});
    ASSERT_EQ(Beside.Status, 0) << Beside.Err.toStdString();
    EXPECT_EQ(ReadFileBytes(Dir.filePath("other.wav").toStdString()), Other);
    EXPECT_EQ(ReadFileBytes(Dir.filePath("other_2.wav").toStdString()),
              ReadFileBytes(Dir.filePath("a/WAVE00.wav").toStdString()));
    EXPECT_EQ(Beside.Out.toStdString(), "{\"audio_filepath\": \"./other_2.wav\", \"duration\": 0.037375}\n");
}

TEST(SplitLabels, ALabelFileThatIsNoAreasOfTheRecordingFailsWithItsLine)
{
    QTemporaryDir Dir;
    WriteFileBytes(Dir.filePath("talk.wav").toStdString(), Bursts({300, 500}));
    // Each reason a line fails is the engine's test's; here, what a run
    // makes of it: one line naming file and line, and no piece.
    Write(Dir.filePath("bad.txt"), "0.1\t0.2\ta\n0.3 0.4 b\n");
    const TChildRun Run = Split(Dir.path(), {"--areas", "bad.txt", "--out", "out", "talk.wav"});
    EXPECT_EQ(Run.Status, 1);
    EXPECT_EQ(Run.Err.toStdString(),
              "redivev-split: talk.wav: bad.txt:2: not a label: start<TAB>end<TAB>label, in seconds\n");
    EXPECT_EQ(QDir(Dir.filePath("out")).entryList(QDir::Files), QStringList{});
    // A device that never ends is read only so far.
    const TChildRun Endless = Split(Dir.path(), {"--areas", "/dev/zero", "--out", "out", "talk.wav"});
    EXPECT_EQ(Endless.Err.toStdString(),
              "redivev-split: talk.wav: /dev/zero:1: the line goes on past 64 KiB, further than any label\n");
    // Beside several recordings: the one without a good label file fails,
    // the other is cut.
    WriteFileBytes(Dir.filePath("other.wav").toStdString(), Bursts({300}));
    Write(Dir.filePath("other.txt"), "0.125\t0.162375\tx\n");
    const TChildRun Beside = Split(Dir.path(), {"--areas-beside", "--out", "each", "talk.wav", "other.wav"});
    EXPECT_EQ(Beside.Status, 3);
    EXPECT_EQ(Beside.Err, "redivev-split: talk.wav: talk.txt: No such file or directory\n");
    EXPECT_EQ(QDir(Dir.filePath("each/other")).entryList(QDir::Files), QStringList{"WAVE00.wav"});
}
