#include "engine/SampleFormat.h"

#include "wave/ZuChecks.h"

TSampleEncoding EncodingOf(const TWaveFormatEx &Format)
{
    if (Format.nChannels < 1 || Format.nChannels > MaxChannels)
        return TSampleEncoding::None;
    if (Format.wFormatTag == WAVE_FORMAT_PCM) {
        switch (Format.wBitsPerSample) {
        case 8: return TSampleEncoding::UInt8;
        case 16: return TSampleEncoding::Int16;
        case 24: return TSampleEncoding::Int24;
        case 32: return TSampleEncoding::Int32;
        default: return TSampleEncoding::None;
        }
    }
    if (Format.wFormatTag == WaveFormatFloat) {
        if (Format.wBitsPerSample == 32)
            return TSampleEncoding::Float32;
        if (Format.wBitsPerSample == 64)
            return TSampleEncoding::Float64;
    }
    return TSampleEncoding::None;
}

std::int64_t FrameBytesOf(const TSampleView &View)
{
    return std::int64_t(BytesPerSample(EncodingOf(View.Format))) * View.Format.nChannels;
}

std::int64_t FrameCountOf(const TSampleView &View)
{
    const std::int64_t FrameBytes = FrameBytesOf(View);
    return FrameBytes > 0 && View.Data != nullptr ? View.DataSize / FrameBytes : 0;
}

void RefuseUnreadLayout(const TSampleView &Recording)
{
    const std::int64_t FrameBytes = Recording.Format.nChannels * (Recording.Format.wBitsPerSample / 8);
    if (EncodingOf(Recording.Format) == TSampleEncoding::None && Recording.Format.wFormatTag == WAVE_FORMAT_PCM
        && Recording.Data != nullptr && FrameBytes > 0 && Recording.DataSize >= FrameBytes)
        ZuChecks::UnsupportedRead();
}
