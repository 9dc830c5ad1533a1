#include "Extraction.h"

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
    const TZuInternalWAVE *From = Source.InternalWave();
    TZuInternalWAVE *To = Target.InternalWave();
    if (From == nullptr || To == nullptr || !ZuDetail::ReadableLayout(From->FFormat) || To->FRefCount != 1
        || To->FFormat.wFormatTag != From->FFormat.wFormatTag || To->FFormat.nChannels != From->FFormat.nChannels
        || To->FFormat.wBitsPerSample != From->FFormat.wBitsPerSample)
        return false;
    // Out-of-range areas take the per-sample way, which raises at the first
    // position outside the recording, as it should.
    if (StartPos < 0 || Length < 0 || std::int64_t(StartPos) + Length > ZuDetail::FrameCount(*From)
        || ZuDetail::FrameCount(*To) != Length)
        return false;
    const std::int64_t FrameBytes = ZuDetail::FrameBytes(From->FFormat);
    if (Length > 0)
        std::memcpy(To->FData, From->FData + StartPos * FrameBytes, static_cast<std::size_t>(Length * FrameBytes));
    return true;
}

void ExtractTrimArea(TZuWave &Source, const TTrimArea &Area, TZuWave &Target)
{
    Target.SetFreq(Source.GetFreq());
    Target.SetChannels(Source.GetChannels());
    Target.SetBits(Source.GetBits());
    const std::int32_t Length = Area.EndPos - Area.StartPos;
    Target.SetWaveSize(Length);
    if (!CopyFramesDirect(Source, Target, Area.StartPos, Length))
        CopyFramesPerSample(Source, Target, Area.StartPos, Length);
}
