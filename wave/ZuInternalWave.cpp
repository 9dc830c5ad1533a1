#include "wave/ZuInternalWave.h"

#include "platform/Heap.h"

#include <limits>

TZuInternalWAVE::TZuInternalWAVE()
{
    FRefCount = 1;
    FData = nullptr;
    CreateWAVE(44100, 16, 1, 1);
    try {
        CreateNotifyWindow();
    } catch (...) {
        FreeData();
        throw;
    }
    FState = 0;
}

TZuInternalWAVE::~TZuInternalWAVE()
{
    // The device reads the block in place: silence it before the block goes.
    if (FState != 0)
        Stop();
    DestroyNotifyWindow();
    FreeData();
}

void TZuInternalWAVE::CreateWAVE(std::int32_t Freq, std::int32_t Bits, std::int32_t Channels,
                                 std::int32_t Size)
{
    const bool Valid = Freq > 0 && Size > 0 && (Channels == 1 || Channels == 2)
        && (Bits == 8 || Bits == 16);
    const std::int64_t Bytes = std::int64_t(Size) * Channels * (Bits / 8);
    if (!Valid || Bytes > std::numeric_limits<std::int32_t>::max())
        throw EZuWaveInvalidWavePara("TZuInternalWAVE.CreateWAVE: Invalid Parameters");

    FData = Heap::AllocZero(static_cast<std::size_t>(Bytes));
    FDataSize = static_cast<std::int32_t>(Bytes);
    FFormat.nChannels = static_cast<std::uint16_t>(Channels);
    FFormat.nSamplesPerSec = static_cast<std::uint32_t>(Freq);
    FFormat.wBitsPerSample = static_cast<std::uint16_t>(Bits);
    FFormat.wFormatTag = WAVE_FORMAT_PCM;
    FFormat.nBlockAlign = static_cast<std::uint16_t>((Bits / 8) * Channels);
    FFormat.nAvgBytesPerSec = FFormat.nBlockAlign * FFormat.nSamplesPerSec;
    FFormat.cbSize = 0;
}

void TZuInternalWAVE::FreeData() noexcept
{
    if (FData != nullptr) {
        if (FBlockOwner)
            FBlockOwner.reset();
        else
            Heap::Free(FData);
        FDataSize = 0;
    }
    FData = nullptr;
}
