#include "app/PlayableCopy.h"

#include "app/SampleValues.h"
#include "engine/SampleFormat.h"
#include "wave/ZuChecks.h"
#include "wave/ZuWAVE.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace {

int PlayedChannels(const TSampleView &Recording)
{
    return std::min<int>(Recording.Format.nChannels, 2);
}

int PlayedBytes(TSampleEncoding Encoding)
{
    return Encoding == TSampleEncoding::UInt8 ? 1 : 2;
}

} // namespace

bool FitsPlayable(const TSampleView &Recording, const TTrimArea &Area)
{
    const std::int64_t Length = Area.EndPos - Area.StartPos;
    const int FrameBytes = PlayedChannels(Recording) * PlayedBytes(EncodingOf(Recording.Format));
    return Length > 0 && Length <= std::numeric_limits<std::int32_t>::max() / FrameBytes;
}

void CopyPlayable(const TSampleView &Recording, const TTrimArea &Area, TZuWave &Target)
{
    const TSampleEncoding Encoding = EncodingOf(Recording.Format);
    if (Encoding == TSampleEncoding::None || Area.StartPos < 0 || Area.EndPos > FrameCountOf(Recording))
        ZuChecks::ReadOutOfRange();
    if (!FitsPlayable(Recording, Area))
        ZuChecks::InvalidWaveSize();
    const auto Length = static_cast<std::int32_t>(Area.EndPos - Area.StartPos);
    const int Channels = PlayedChannels(Recording);
    const int Bytes = PlayedBytes(Encoding);

    // One frame first, so that the format changes convert nothing of the
    // previous area.
    Target.SetWaveSize(1);
    // A rate beyond the int range comes out negative, which SetFreq refuses.
    Target.SetFreq(static_cast<std::int32_t>(Recording.Format.nSamplesPerSec));
    Target.SetChannels(Channels);
    Target.SetBits(8 * Bytes);
    Target.SetWaveSize(Length);
    Target.UniqueWave();
    std::uint8_t *Out = Target.InternalWave()->FData;

    if (BytesPerSample(Encoding) == Bytes) {
        const std::int64_t FrameBytes = FrameBytesOf(Recording);
        const std::uint8_t *From = Recording.Data + Area.StartPos * FrameBytes;
        for (std::int32_t P = 0; P < Length; ++P, From += FrameBytes, Out += Channels * Bytes)
            std::memcpy(Out, From, static_cast<std::size_t>(Channels * Bytes));
        return;
    }
    for (std::int64_t Frame = Area.StartPos; Frame < Area.EndPos; ++Frame)
        for (int Ch = 0; Ch < Channels; ++Ch, Out += 2)
            StoreSample16(Out, 0, PlayedSample(Scaled16(Recording, Encoding, Frame, Ch)));
}
