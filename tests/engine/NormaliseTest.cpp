// Peak normalisation of a recording held by the wave library: the limits of
// its rounding at full scale, a recording already at full scale, and 8-bit
// samples.
#include "engine/Normalisation.h"
#include "platform/Streams.h"
#include "wave/ZuWAVE.h"
#include "WavBuilder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

namespace {

// The recording of File, loaded as the window loads one.
struct TLoaded {
    explicit TLoaded(const wavtest::Bytes &File)
    {
        TMemoryStream Stream(File);
        Wave.LoadFromStream(Stream);
    }

    std::vector<std::int32_t> Stored(int Channel)
    {
        std::vector<std::int32_t> Values;
        for (std::int32_t P = 0; P < Wave.GetWaveSize(); ++P)
            Values.push_back(Wave.GetPosValue(Channel, P));
        return Values;
    }

    TZuWave Wave{nullptr};
};

// 16-bit mono samples normalised; the samples after.
std::vector<std::int32_t> Normalise16(const std::vector<std::int16_t> &Samples)
{
    TLoaded Loaded(wavtest::PcmFile(1, 44100, 16, wavtest::Samples16(Samples)));
    NormaliseRecording(Loaded.Wave);
    return Loaded.Stored(0);
}

TEST(Normalise, FullScaleNegativeSampleMovesEverythingAboveHalfOneStepInward)
{
    const auto After = Normalise16({-32768, 32767, 16385, 16384, -16384, -16385, 1, 0, -1, 100, -32767});
    EXPECT_EQ(After,
              (std::vector<std::int32_t>{-32767, 32766, 16384, 16384, -16384, -16384, 1, 0, -1, 100, -32766}));
}

TEST(Normalise, PeakAlreadyFullIsLeftAsItWasAndSecondRunChangesNothing)
{
    std::mt19937 Random(7);
    std::vector<std::int16_t> Samples(5000);
    for (auto &Sample : Samples)
        Sample = std::int16_t(int(Random() % 20001) - 10000);
    Samples[1234] = 32767;
    std::vector<std::int32_t> Original(Samples.begin(), Samples.end());
    EXPECT_EQ(Normalise16(Samples), Original);

    Samples[1234] = 9000;
    TLoaded Loaded(wavtest::PcmFile(1, 44100, 16, wavtest::Samples16(Samples)));
    NormaliseRecording(Loaded.Wave);
    const auto First = Loaded.Stored(0);
    EXPECT_EQ(*std::max_element(First.begin(), First.end()), 32767);
    NormaliseRecording(Loaded.Wave);
    EXPECT_EQ(Loaded.Stored(0), First);
}

TEST(Normalise, EightBitStoredZeroLowersOnlyTheTopValues)
{
    // Every byte value on both channels; stored 0 makes the peak 32768.
    wavtest::Bytes Data;
    for (int Value = 0; Value < 256; ++Value) {
        Data.push_back(std::uint8_t(Value));
        Data.push_back(std::uint8_t(255 - Value));
    }
    TLoaded Loaded(wavtest::PcmFile(2, 8000, 8, Data));
    NormaliseRecording(Loaded.Wave);
    for (int Channel = 0; Channel < 2; ++Channel) {
        const auto After = Loaded.Stored(Channel);
        for (int P = 0; P < 256; ++P) {
            const int Before = Channel == 0 ? P : 255 - P;
            EXPECT_EQ(After[P], Before >= 193 ? Before - 1 : Before) << "stored " << Before;
        }
    }
}

} // namespace
