#include "engine/Extraction.h"

#include "engine/SampleFormat.h"
#include "wave/ZuChecks.h"

#include <climits>
#include <cstring>

void CopyFramesPerSample(TZuWave &Source, TZuWave &Target, std::int32_t StartPos, std::int32_t Length)
{
    const std::int32_t Channels = Source.GetChannels();
    for (std::int32_t P = 0; P < Length; ++P)
        for (std::int32_t Ch = 0; Ch < Channels; ++Ch)
            Target.SetPosValue(Ch, P, Source.GetPosValue(Ch, StartPos + P));
}

bool CopyFramesDirect(TZuWave &Source, TZuWave &Target, std::int32_t StartPos, std::int32_t Length)
{
    const TSampleView From = SampleViewOf(Source);
    const TSampleView To = SampleViewOf(Target);
    const TSampleEncoding Encoding = EncodingOf(From.Format);
    if (From.Data == nullptr || To.Data == nullptr || From.Format.nChannels > 2
        || (Encoding != TSampleEncoding::UInt8 && Encoding != TSampleEncoding::Int16)
        || To.Format.wFormatTag != From.Format.wFormatTag || To.Format.nChannels != From.Format.nChannels
        || To.Format.wBitsPerSample != From.Format.wBitsPerSample)
        return false;
    // Out-of-range areas take the per-sample way, which raises at the first
    // position outside the recording, as it should.
    if (StartPos < 0 || Length < 0 || std::int64_t(StartPos) + Length > FrameCountOf(From)
        || FrameCountOf(To) != Length)
        return false;
    const std::int64_t FrameBytes = FrameBytesOf(From);
    if (Length > 0)
        std::memcpy(Target.WritableData(), From.Data + StartPos * FrameBytes,
                    static_cast<std::size_t>(Length * FrameBytes));
    return true;
}

void ExtractTrimArea(TZuWave &Source, const TTrimArea &Area, TZuWave &Target)
{
    Target.SetFreq(Source.GetFreq());
    Target.SetChannels(Source.GetChannels());
    Target.SetBits(Source.GetBits());
    // The library's waves count frames in 32 bits: an area that does not
    // fit them is out of its range, never wrapped onto other samples.
    ZuChecks::WaveSize(Area.EndPos - Area.StartPos);
    if (Area.StartPos < 0 || Area.EndPos > INT32_MAX || Area.EndPos < Area.StartPos)
        ZuChecks::ReadOutOfRange();
    const auto StartPos = static_cast<std::int32_t>(Area.StartPos);
    const auto Length = static_cast<std::int32_t>(Area.EndPos - Area.StartPos);
    Target.SetWaveSize(Length);
    if (!CopyFramesDirect(Source, Target, StartPos, Length))
        CopyFramesPerSample(Source, Target, StartPos, Length);
}
