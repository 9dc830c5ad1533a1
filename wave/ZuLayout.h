#pragma once
// How a wave's bytes are laid out, derived from its format record each
// time: shared by the sample access, the conversions and the fast paths of
// the application, so that all of them agree on which layouts they read.
#include "wave/ZuInternalWave.h"

namespace ZuDetail {

// Frame size from the format record, never from nBlockAlign.
inline std::int32_t FrameBytes(const TWaveFormatEx &Format)
{
    return Format.nChannels * (Format.wBitsPerSample / 8);
}

// A frame size of 0 (only a loaded file can have one) means no frames.
inline std::int32_t FrameCount(const TZuInternalWAVE &Wave)
{
    const std::int32_t Size = FrameBytes(Wave.FFormat);
    return Size > 0 ? Wave.FDataSize / Size : 0;
}

// One key per (bits, channels) pair; no two layouts share a key.
constexpr std::uint32_t LayoutKey(std::uint32_t Bits, std::uint32_t Channels)
{
    return Bits << 16 | Channels;
}

// PCM of 8 or 16 bits, mono or stereo: the layouts samples are read from.
inline bool ReadableLayout(const TWaveFormatEx &Format)
{
    return Format.wFormatTag == WAVE_FORMAT_PCM && (Format.wBitsPerSample == 8 || Format.wBitsPerSample == 16)
        && (Format.nChannels == 1 || Format.nChannels == 2);
}

} // namespace ZuDetail
