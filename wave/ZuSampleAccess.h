#pragma once
// Per-sample access, inline: the application calls these once per sample
// over whole recordings. Every call repeats every check and allocates nothing.
#include "wave/ZuChecks.h"
#include "ZuLayout.h"
#include "wave/ZuWaveComponent.h"

namespace ZuDetail {

[[noreturn]] void Raise(int Kind, const char *Message);
enum : int { BadType, OutOfRange, Unsupported };

} // namespace ZuDetail

inline std::int32_t TZuWave::GetWaveSize()
{
    WaveAssert(FInternalWave != nullptr, "TZuWave.GetWaveSize: InternalWave should not be Nil");
    if (FInternalWave->FFormat.wFormatTag != WAVE_FORMAT_PCM)
        return 0;
    return ZuDetail::FrameCount(*FInternalWave);
}

inline std::int32_t TZuWave::GetPosValue(std::int32_t Channel, std::int32_t Pos)
{
    using namespace ZuDetail;
    WaveAssert(FInternalWave != nullptr, "TZuWave.GetPosValue: InternalWave should not be Nil");
    const TZuInternalWAVE &Wave = *FInternalWave;
    if (Wave.FFormat.wFormatTag != WAVE_FORMAT_PCM) [[unlikely]]
        ZuChecks::BadReadType();
    const std::int32_t N = FrameCount(Wave);
    if (Pos < 0 || Pos >= N || Channel < 0 || Channel >= Wave.FFormat.nChannels) [[unlikely]]
        ZuChecks::ReadOutOfRange();
    const std::int64_t Index = std::int64_t(Pos) * Wave.FFormat.nChannels + Channel;
    switch (LayoutKey(Wave.FFormat.wBitsPerSample, Wave.FFormat.nChannels)) {
    case LayoutKey(8, 1):
    case LayoutKey(8, 2):
        return Wave.FData[Index];
    case LayoutKey(16, 1):
    case LayoutKey(16, 2):
        return LoadSample16(Wave.FData, 2 * Index);
    default:
        ZuChecks::UnsupportedRead();
    }
}

inline void TZuWave::SetPosValue(std::int32_t Channel, std::int32_t Pos, std::int32_t Value)
{
    using namespace ZuDetail;
    WaveAssert(FInternalWave != nullptr, "TZuWave.SetPosValue: InternalWave should not be Nil");
    if (FInternalWave->FFormat.wFormatTag != WAVE_FORMAT_PCM) [[unlikely]]
        Raise(BadType, "TZuWave.SetPosValue: Bad Wave Type");
    const std::int32_t N = FrameCount(*FInternalWave);
    if (Pos < 0 || Pos >= N || Channel < 0 || Channel >= FInternalWave->FFormat.nChannels) [[unlikely]]
        Raise(OutOfRange, "TZuWave.SetPosValue: Position is Out of Range");
    if (FInternalWave->FRefCount != 1) [[unlikely]]
        UniqueWave();
    TZuInternalWAVE &Wave = *FInternalWave;
    const std::int64_t Index = std::int64_t(Pos) * Wave.FFormat.nChannels + Channel;
    switch (LayoutKey(Wave.FFormat.wBitsPerSample, Wave.FFormat.nChannels)) {
    case LayoutKey(8, 1):
    case LayoutKey(8, 2):
        Wave.FData[Index] = static_cast<std::uint8_t>(Value);
        return;
    case LayoutKey(16, 1):
    case LayoutKey(16, 2):
        StoreSample16(Wave.FData, 2 * Index, static_cast<std::int16_t>(Value));
        return;
    default:
        Raise(Unsupported, "TZuWave.SetPosValue: Unsupported PCM Format");
    }
}

inline std::int32_t TZuWave::GetPosValue16(std::int32_t Channel, std::int32_t Pos)
{
    // No buffer: GetPosValue raises its own assert, so nothing is read here.
    if (FInternalWave != nullptr && FInternalWave->FFormat.wBitsPerSample == 8)
        return (GetPosValue(Channel, Pos) - 128) * 256;
    return GetPosValue(Channel, Pos);
}

inline void TZuWave::SetPosValue16(std::int32_t Channel, std::int32_t Pos, std::int32_t Value)
{
    if (FInternalWave != nullptr && FInternalWave->FFormat.wBitsPerSample == 8)
        SetPosValue(Channel, Pos, (Value + 32768) / 256);
    else
        SetPosValue(Channel, Pos, Value);
}
