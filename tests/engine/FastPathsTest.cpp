// The engine's direct passes against the same work done sample by sample
// through the wave library's access: normalisation's table, the export's
// writer and the extraction's copy.
#include "engine/ExportFolder.h"
#include "engine/Extraction.h"
#include "engine/Normalise.h"
#include "engine/SampleView.h"
#include "platform/Streams.h"
#include "wave/ZuWAVE.h"
#include "WavBuilder.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <random>

namespace {

// The passes as defined, sample by sample through the sample access: the
// direct passes must give the same peak and the same samples.
std::int32_t PeakPerSample(TZuWave &Wave)
{
    const std::int32_t N = Wave.GetWaveSize();
    const std::int32_t Channels = Wave.GetChannels();
    std::int32_t Peak = 0;
    for (std::int32_t Ch = 0; Ch < Channels; ++Ch)
        for (std::int32_t Pos = 0; Pos < N; ++Pos)
            Peak = std::max(Peak, std::abs(Wave.GetPosValue16(Ch, Pos)));
    return Peak;
}

void ScalePerSample(TZuWave &Wave, std::int32_t Peak)
{
    const std::int32_t N = Wave.GetWaveSize();
    const std::int32_t Channels = Wave.GetChannels();
    for (std::int32_t Ch = 0; Ch < Channels; ++Ch)
        for (std::int32_t Pos = 0; Pos < N; ++Pos)
            Wave.SetPosValue16(Ch, Pos, NormalisedSample(Wave.GetPosValue16(Ch, Pos), Peak));
}

// The table over stored values against SetPosValue16 of each sample, for
// every layout, with part of a frame at the end of the block left alone.
TEST(NormalisePathsTest, TableGivesThePerSampleSamples)
{
    std::mt19937 Random(11);
    for (const auto &[Bits, Channels] : {std::pair{8, 1}, std::pair{8, 2}, std::pair{16, 1}, std::pair{16, 2}}) {
        for (int Round = 0; Round < 4; ++Round) {
            const int Frames = 2000 + int(Random() % 3000);
            const int Amplitude = 1 + int(Random() % 32768);
            wavtest::Bytes Data;
            for (int I = 0; I < Frames * Channels; ++I) {
                const int Value = int(Random() % std::uint32_t(2 * Amplitude + 1)) - Amplitude;
                if (Bits == 8)
                    Data.push_back(std::uint8_t(std::clamp(Value, -32768, 32767) / 256 + 128));
                else
                    wavtest::PutU16(Data, std::uint16_t(std::int16_t(std::clamp(Value, -32768, 32767))));
            }
            Data.insert(Data.end(), std::size_t(Channels * Bits / 8 - 1), 0x55);
            const wavtest::Bytes File = wavtest::PcmFile(std::uint16_t(Channels), 8000, std::uint16_t(Bits), Data);
            TZuWave Direct(nullptr), PerSample(nullptr);
            for (TZuWave *Wave : {&Direct, &PerSample}) {
                TMemoryStream Stream(File);
                Wave->LoadFromStream(Stream);
            }
            std::int32_t Peak = -1;
            ASSERT_TRUE(PeakDirect(Direct, Peak));
            ASSERT_EQ(Peak, PeakPerSample(PerSample));
            ASSERT_TRUE(ScaleDirect(Direct, Peak));
            ScalePerSample(PerSample, Peak);
            const TZuInternalWAVE &A = *Direct.InternalWave(), &B = *PerSample.InternalWave();
            ASSERT_EQ(A.FDataSize, B.FDataSize);
            EXPECT_EQ(std::memcmp(A.FData, B.FData, std::size_t(A.FDataSize)), 0)
                << Bits << " bits, " << Channels << " channels, peak " << Peak;
            if (Channels * Bits / 8 > 1) {
                EXPECT_EQ(A.FData[A.FDataSize - 1], 0x55);
            }
        }
    }
}

// The export writes pieces straight from the recording's block, without
// SaveToStream's whole-image copy; a piece that is the whole wave must be
// SaveToStream's bytes, for every layout and for an odd data size.
TEST(ExportFileTest, DirectWriterWritesWhatSaveToStreamWrites)
{
    struct TCase {
        int Bits, Channels, Frames;
    };
    for (const TCase &Case : {TCase{8, 1, 101}, TCase{8, 2, 64}, TCase{16, 1, 33}, TCase{16, 2, 1}}) {
        TZuWave Wave(nullptr);
        Wave.SetFreq(12345);
        Wave.SetChannels(Case.Channels);
        Wave.SetBits(Case.Bits);
        Wave.SetWaveSize(Case.Frames);
        for (int P = 0; P < Case.Frames; ++P)
            for (int Ch = 0; Ch < Case.Channels; ++Ch)
                Wave.SetPosValue16(Ch, P, (P * 977 + Ch * 5003) % 65536 - 32768);
        TMemoryStream Expected;
        Wave.SaveToStream(Expected);
        QTemporaryDir Dir;
        const TTrimArea Whole{0, Case.Frames};
        WriteExportFolder(TExportJob{SampleViewOf(Wave), &Whole, 1, Dir.path().toStdString(), {}, {}, {}});
        EXPECT_EQ(wavtest::ReadFileBytes(ExportFileName(Dir.path(), 0).toStdString()), Expected.Bytes())
            << Case.Bits << " bits, " << Case.Channels << " channels";
    }
}

TEST(ExportFileTest, DirectCopyCopiesWhatThePerSampleCopyCopies)
{
    for (const auto &[Bits, Channels] : {std::pair{8, 1}, std::pair{8, 2}, std::pair{16, 1}, std::pair{16, 2}}) {
        TZuWave Source(nullptr), Direct(nullptr), PerSample(nullptr);
        Source.SetChannels(Channels);
        Source.SetBits(Bits);
        Source.SetWaveSize(500);
        for (int P = 0; P < 500; ++P)
            for (int Ch = 0; Ch < Channels; ++Ch)
                Source.SetPosValue16(Ch, P, (P * 7919 + Ch * 101) % 65536 - 32768);
        for (TZuWave *Target : {&Direct, &PerSample}) {
            Target->SetChannels(Channels);
            Target->SetBits(Bits);
            Target->SetWaveSize(123);
        }
        ASSERT_TRUE(CopyFramesDirect(Source, Direct, 377, 123));
        CopyFramesPerSample(Source, PerSample, 377, 123);
        const TZuInternalWAVE &A = *Direct.InternalWave(), &B = *PerSample.InternalWave();
        ASSERT_EQ(A.FDataSize, B.FDataSize);
        EXPECT_EQ(std::memcmp(A.FData, B.FData, std::size_t(A.FDataSize)), 0) << Bits << "/" << Channels;
        // One frame past the end is the per-sample copy's business.
        EXPECT_FALSE(CopyFramesDirect(Source, Direct, 378, 123));
    }
}

} // namespace
