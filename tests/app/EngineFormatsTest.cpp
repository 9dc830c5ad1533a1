// Formats only the engine reads, in the window, against the same signal in
// 16 bits where the scaling is exact: the same view and areas, pieces that
// hold the source's own bytes, normalisation to the format's full scale.
#include "DetectionSupport.h"

#include "app/Export.h"
#include "app/SampleValues.h"

#include <QScrollBar>

#include <algorithm>
#include <cmath>

using namespace apptest;
using namespace wavtest;

namespace {

struct TWideFormat {
    const char *Name;
    std::uint16_t Tag; // 1 integer PCM, 3 float
    int Bits;
    double FullScale16; // the format's full scale at 16-bit scale
};

// Stereo bursts with different channels, between silences with quiet noise.
std::vector<std::int16_t> Signal16()
{
    std::vector<std::int16_t> Samples;
    for (int Frame = 0; Frame < 4000; ++Frame) {
        const bool Burst = (Frame >= 300 && Frame < 900) || (Frame >= 1500 && Frame < 2600);
        const int Sign = Frame % 2 ? -1 : 1;
        Samples.push_back(std::int16_t(Burst ? Sign * (2000 + Frame * 37 % 25000) : Frame * 13 % 401 - 200));
        Samples.push_back(std::int16_t(Burst ? -Sign * (1500 + Frame * 53 % 30000) : Frame * 7 % 301 - 150));
    }
    return Samples;
}

Bytes Widened(const std::vector<std::int16_t> &Samples, const TWideFormat &Format)
{
    Bytes Data;
    for (const std::int16_t Value : Samples) {
        const float Narrow = float(Value / 32768.0);
        const double Wide = Value / 32768.0;
        const std::uint32_t Shifted = Format.Tag == 1 ? std::uint32_t(std::int32_t(Value) * (1 << (Format.Bits - 16))) : 0;
        const auto *Stored = static_cast<const std::uint8_t *>(
            Format.Tag == 1 ? static_cast<const void *>(&Shifted) : Format.Bits == 32 ? static_cast<const void *>(&Narrow) : &Wide);
        Data.insert(Data.end(), Stored, Stored + Format.Bits / 8);
    }
    return Data;
}

class EngineFormatsTest : public CommandTest, public ::testing::WithParamInterface<TWideFormat> {};

TEST_P(EngineFormatsTest, WindowWorksAsOnTheSameSignalInSixteenBits)
{
    const TWideFormat &Format = GetParam();
    const std::vector<std::int16_t> Samples = Signal16();
    Load(Stereo16(Samples));
    const QImage View16 = View();
    Form->N5Click();
    const std::vector<TTrimArea> Areas16 = Areas();
    ASSERT_EQ(Areas16.size(), 2u);

    const Bytes Data = Widened(Samples, Format);
    Load(Riff("WAVE", {Chunk("fmt ", FmtBody(Format.Tag, 2, 44100, std::uint16_t(Format.Bits))), Chunk("data", Data)}));
    EXPECT_EQ(Form->SB->maximum(), 4000);
    EXPECT_TRUE(View() == View16) << "the view differs from the 16-bit one";
    Form->N5Click();
    EXPECT_EQ(Areas(), Areas16);

    Form->N6Click();
    const int FrameBytes = 2 * Format.Bits / 8;
    for (std::size_t I = 0; I < Areas16.size(); ++I) {
        const Bytes Piece = ReadFileBytes(ExportFileName(ExportFolder(*Form), std::int32_t(I)).toStdString());
        // The data chunk comes last, of an even size here: no pad byte.
        const Bytes Expected(Data.begin() + Areas16[I].StartPos * FrameBytes, Data.begin() + Areas16[I].EndPos * FrameBytes);
        EXPECT_TRUE(Piece.size() > Expected.size() && std::equal(Expected.rbegin(), Expected.rend(), Piece.rbegin()))
            << "piece " << I;
    }

    Form->N3Click();
    const TSampleView Normalised = Form->Document.RecordingView();
    double Peak = 0;
    for (std::int64_t I = 0; I < 2 * FrameCountOf(Normalised); ++I)
        Peak = std::max(Peak, std::abs(Scaled16(Normalised, EncodingOf(Normalised.Format), I / 2, int(I % 2))));
    EXPECT_EQ(Peak, Format.FullScale16);
    EXPECT_TRUE(Errors.isEmpty()) << Errors.join('\n').toStdString();

    // A piece opened as the recording is known by its file, as it was read
    // and closed: the next export would replace it, and refuses.
    const QString Own = ExportFileName(ExportFolder(*Form), 0);
    const Bytes Before = ReadFileBytes(Own.toStdString());
    Open(Own);
    Form->N5Click();
    Messages.clear();
    Form->N6Click();
    EXPECT_EQ(Messages, QStringList{"開いているwavファイルが出力先にあるため分割できません\n" + Own});
    EXPECT_TRUE(ReadFileBytes(Own.toStdString()) == Before);
}

INSTANTIATE_TEST_SUITE_P(Formats, EngineFormatsTest,
                         ::testing::Values(TWideFormat{"Int24", 1, 24, 8388607 / 256.0},
                                           TWideFormat{"Int32", 1, 32, 2147483647 / 65536.0},
                                           TWideFormat{"Float32", 3, 32, 32768}, TWideFormat{"Float64", 3, 64, 32768}),
                         [](const auto &Info) { return std::string(Info.param.Name); });

} // namespace
