// redivev-split, run as a child process, writes byte for byte the files the
// window's export writes for the same recording and settings, in every
// layout, normalised or not.
#include "DetectionSupport.h"

#include <QDir>
#include <QProcess>
#include <QScrollBar>

#include <cmath>

using namespace apptest;

namespace {

struct TLayout {
    std::uint16_t Bits;
    std::uint16_t Channels;
    std::uint32_t Rate;
    bool Normalise;
};

void PrintTo(const TLayout &Layout, std::ostream *Out)
{
    *Out << Layout.Bits << "-bit " << Layout.Channels << "ch " << Layout.Rate << " Hz"
         << (Layout.Normalise ? " normalised" : "");
}

// Pieces of varying length and loudness between gaps of faint noise, the
// right channel following its own envelope, so that the zero searches, the
// stereo level and the normalising factor all have something to decide.
wavtest::Bytes Recording(const TLayout &Layout)
{
    wavtest::Bytes Data;
    auto Put = [&](int Value) {
        if (Layout.Bits == 8)
            Data.push_back(std::uint8_t(std::clamp(Value / 256 + 128, 0, 255)));
        else
            wavtest::PutU16(Data, std::uint16_t(std::int16_t(Value)));
    };
    int Frame = 0;
    for (int Piece = 0; Piece < 12; ++Piece) {
        const int Gap = 180 + Piece * 37 % 240;
        const int Burst = 150 + Piece * 91 % 500;
        const int Loudness = 2500 + Piece * 1733 % 9000;
        for (int I = 0; I < Gap + Burst; ++I, ++Frame) {
            const bool Loud = I >= Gap;
            const int Noise = (Frame * 7919) % 600 - 300;
            const double Tone = std::sin(Frame * (0.05 + Piece * 0.01));
            Put(Loud ? int(Loudness * Tone) : Noise);
            if (Layout.Channels == 2)
                Put(Loud ? int(Loudness * 0.6 * std::cos(Frame * 0.07)) : Noise / 2);
        }
    }
    for (int I = 0; I < 400; ++I)
        Put(0), Layout.Channels == 2 ? Put(0) : void();
    return wavtest::PcmFile(Layout.Channels, Layout.Rate, Layout.Bits, Data);
}

class SplitMatchesWindow : public CommandTest, public ::testing::WithParamInterface<TLayout> {};

} // namespace

TEST_P(SplitMatchesWindow, SameFilesByteForByte)
{
    const TLayout Layout = GetParam();
    const wavtest::Bytes Source = Recording(Layout);
    Load(Source);
    Form->SBN->setValue(1200);
    Form->SBCSL->setValue(1500);
    Form->SBNW->setValue(150);
    Form->SBML->setValue(120);
    Form->SBMZSS->setValue(40);
    Form->SBMZSE->setValue(60);
    if (Layout.Normalise)
        Form->N3Click();
    Form->N5Click();
    Form->N6Click();
    ASSERT_GE(Form->FAreaCount, 8);

    QStringList Arguments = {"--no-sound-level", "1200", "--cut-start-level", "1500", "--no-sound-width", "150",
                             "--min-size", "120", "--backward-search", "40", "--forward-search", "60",
                             "--out", Dir.filePath("cli"), Dir.filePath("input1.wav")};
    if (Layout.Normalise)
        Arguments.prepend("--normalise");
    QProcess Split;
    Split.start(QStringLiteral(REDIVEV_SPLIT), Arguments);
    ASSERT_TRUE(Split.waitForFinished(60000));
    EXPECT_EQ(Split.exitCode(), 0) << Split.readAllStandardError().toStdString();

    const QDir Window(ProgramDir + "/MakedFile");
    const QDir Cli(Dir.filePath("cli"));
    const QStringList Names = Window.entryList(QDir::Files, QDir::Name);
    EXPECT_EQ(Names.size(), Form->FAreaCount);
    EXPECT_EQ(Cli.entryList(QDir::Files, QDir::Name), Names);
    for (const QString &Name : Names)
        EXPECT_TRUE(wavtest::ReadFileBytes(Cli.filePath(Name).toStdString())
                    == wavtest::ReadFileBytes(Window.filePath(Name).toStdString()))
            << Name.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Layouts, SplitMatchesWindow,
                         ::testing::Values(TLayout{8, 1, 11025, false}, TLayout{8, 2, 22050, false},
                                           TLayout{16, 1, 44100, false}, TLayout{16, 2, 48000, false},
                                           TLayout{8, 2, 8000, true}, TLayout{16, 1, 32000, true}));
