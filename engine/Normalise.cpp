// Peak normalisation, its two passes over the sample bytes (the tests hold
// per-sample reference forms of both).
#include "engine/Normalisation.h"
#include "engine/Normalise.h"

#include "engine/SampleLevels.h"
#include "engine/SampleView.h"
#include "wave/ZuChecks.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <type_traits>
#include <vector>

namespace {

// A data block the direct passes may read and write in place, with its
// sample count (the frames' samples only: a partial last frame is never
// addressed by the sample access, so it is not touched here either).
struct TDirectBlock {
    std::uint8_t *Data = nullptr;
    std::int64_t Samples = 0;
    int Bits = 0;
};

// 8 or 16-bit PCM, mono or stereo: the layouts the tables handle.
bool DirectBlock(TZuWave &Wave, TDirectBlock &Block)
{
    const TSampleView View = SampleViewOf(Wave);
    const TSampleEncoding Encoding = EncodingOf(View.Format);
    if (View.Data == nullptr || View.Format.nChannels > 2
        || (Encoding != TSampleEncoding::UInt8 && Encoding != TSampleEncoding::Int16))
        return false;
    Block.Data = Wave.WritableData();
    Block.Samples = FrameCountOf(View) * View.Format.nChannels;
    Block.Bits = View.Format.wBitsPerSample;
    return true;
}

} // namespace

std::int32_t NormalisedSample(std::int32_t Value, std::int32_t Peak)
{
    const long double Scaled = static_cast<long double>(Value) / static_cast<long double>(Peak) * 32767.0L;
    return static_cast<std::int32_t>(std::nearbyint(Scaled));
}

bool PeakDirect(TZuWave &Wave, std::int32_t &Peak)
{
    TDirectBlock Block;
    if (!DirectBlock(Wave, Block))
        return false;
    Peak = Block.Bits == 8 ? TSampleCodec<TSampleEncoding::UInt8>::Loudest(Block.Data, Block.Samples)
                           : TSampleCodec<TSampleEncoding::Int16>::Loudest(Block.Data, Block.Samples);
    return true;
}

void ScaleBlock(std::uint8_t *Data, std::int64_t Samples, int Bits, std::int32_t Peak)
{
    const TDirectBlock Block{Data, Samples, Bits};
    // Each new sample depends on its old value alone, so one table of every
    // possible stored value does the arithmetic once per value, not per sample.
    if (Block.Bits == 8) {
        std::array<std::uint8_t, 256> Table;
        for (int Stored = 0; Stored < 256; ++Stored)
            Table[Stored] = static_cast<std::uint8_t>((NormalisedSample((Stored - 128) * 256, Peak) + 32768) / 256);
        for (std::int64_t I = 0; I < Block.Samples; ++I)
            Block.Data[I] = Table[Block.Data[I]];
    } else {
        std::vector<std::int16_t> Table(65536);
        for (std::int32_t Value = -32768; Value < 32768; ++Value)
            Table[std::uint16_t(Value)] = static_cast<std::int16_t>(NormalisedSample(Value, Peak));
        for (std::int64_t I = 0; I < Block.Samples; ++I)
            StoreSample16(Block.Data, 2 * I, Table[std::uint16_t(LoadSample16(Block.Data, 2 * I))]);
    }
}

bool ScaleDirect(TZuWave &Wave, std::int32_t Peak)
{
    TDirectBlock Block;
    if (!DirectBlock(Wave, Block))
        return false;
    ScaleBlock(Block.Data, Block.Samples, Block.Bits, Peak);
    return true;
}

namespace {

// Beyond 16 bits every sample is worked out on its own: a table of every
// stored value would be larger than most recordings.
template <class TCodec>
void ScaleWide(std::uint8_t *Data, std::int64_t Samples, typename TCodec::TLevel Peak)
{
    constexpr int Bytes = TCodec::Bytes;
    if constexpr (IsFloatCodec<TCodec>) {
        using TFloat = std::conditional_t<Bytes == 4, float, double>;
        const long double PeakValue = static_cast<long double>(Peak) / 32768.0L;
        for (std::int64_t I = 0; I < Samples; ++I) {
            const long double Stored = TCodec::Value(Data + Bytes * I);
            const auto Value = static_cast<TFloat>(Stored / PeakValue);
            std::memcpy(Data + Bytes * I, &Value, Bytes);
        }
    } else {
        constexpr long double Full = Bytes == 3 ? 8388607.0L : 2147483647.0L;
        for (std::int64_t I = 0; I < Samples; ++I) {
            std::uint8_t *At = Data + Bytes * I;
            const long double Stored = TCodec::Signed(At);
            const long double Scaled = Stored / static_cast<long double>(Peak) * Full;
            const auto Result = static_cast<std::int32_t>(std::nearbyint(Scaled));
            for (int B = 0; B < Bytes; ++B)
                At[B] = static_cast<std::uint8_t>(std::uint32_t(Result) >> (8 * B));
        }
    }
}

} // namespace

TNormaliseResult NormaliseSamples(std::uint8_t *Data, const TSampleView &View)
{
    const TSampleEncoding Encoding = EncodingOf(View.Format);
    const std::int64_t Frames = FrameCountOf(View);
    if (Frames < 10)
        return TNormaliseResult::TooShort;
    const std::int64_t Samples = Frames * View.Format.nChannels;
    TNormaliseResult Result = TNormaliseResult::Scaled;
    WithCodec(Encoding, [&](auto Codec) {
        using TCodec = decltype(Codec);
        // A float that is not finite has no size to scale to: the peak is
        // the loudest finite sample's, and those others stay as they are.
        typename TCodec::TLevel Peak;
        if constexpr (IsFloatCodec<TCodec>)
            Peak = TCodec::LoudestFinite(Data, Samples);
        else
            Peak = TCodec::Loudest(Data, Samples);
        if (!(Peak > 0)) {
            Result = TNormaliseResult::Silent;
            return;
        }
        // 8 and 16-bit samples by the tables, as a wave component's are.
        if constexpr (TCodec::Bytes <= 2)
            ScaleBlock(Data, Samples, TCodec::Bytes * 8, static_cast<std::int32_t>(Peak));
        else
            ScaleWide<TCodec>(Data, Samples, Peak);
    });
    return Result;
}

TNormaliseResult NormaliseRecording(TZuWave &Recording)
{
    if (Recording.GetWaveSize() < 10)
        return TNormaliseResult::TooShort;
    std::int32_t Peak = 0;
    // Ten positions of a layout the direct passes cannot read: the sample
    // access refuses it at the first sample, and so does this.
    if (!PeakDirect(Recording, Peak))
        ZuChecks::UnsupportedRead();
    // A silent recording has no factor; it is left as it is.
    if (Peak == 0)
        return TNormaliseResult::Silent;
    ScaleDirect(Recording, Peak);
    return TNormaliseResult::Scaled;
}
