// Bit-depth and channel-count conversion. Each builds the whole new block
// first and installs it only at the end, so a failure leaves the wave as it was.
#include "wave/ZuInternalWave.h"

#include "platform/Heap.h"
#include "wave/ZuChecks.h"
#include "wave/ZuLayout.h"

void TZuInternalWAVE::ChangeBits(std::int32_t NewBits)
{
    if (FFormat.wFormatTag != WAVE_FORMAT_PCM)
        throw EZuWaveBadWaveType("TZuInternalWave.ChangeBits: Bad Wave Type");
    ZuChecks::Bits(NewBits);
    if (NewBits == FFormat.wBitsPerSample)
        return;
    // A loaded file of a layout the sample access cannot read is refused
    // rather than misread.
    if (!ZuDetail::ReadableLayout(FFormat))
        throw EZuWaveBadWaveType("TZuInternalWave.ChangeBits: Bad Wave Type");
    const std::int32_t Frames = ZuDetail::FrameCount(*this);
    const std::int64_t Samples = std::int64_t(Frames) * FFormat.nChannels;
    const std::int64_t Bytes = (NewBits / 8) * Samples;
    if (Bytes > INT32_MAX)
        throw EZuWaveInvalidWavePara("TZuInternalWAVE.ChangeBits: Invalid Parameters");

    std::uint8_t *NewData = Heap::AllocZero(static_cast<std::size_t>(Bytes));
    if (NewBits == 16) {
        for (std::int64_t i = 0; i < Samples; ++i)
            StoreSample16(NewData, 2 * i, static_cast<std::int16_t>((FData[i] - 128) * 256));
    } else {
        for (std::int64_t i = 0; i < Samples; ++i)
            NewData[i] = static_cast<std::uint8_t>(LoadSample16(FData, 2 * i) / 256 + 128);
    }

    // The device reads the old block in place until it is stopped.
    if (FState != 0)
        Stop();
    FreeData();
    FData = NewData;
    FDataSize = static_cast<std::int32_t>(Bytes);
    FFormat.wBitsPerSample = static_cast<std::uint16_t>(NewBits);
    FFormat.nBlockAlign = static_cast<std::uint16_t>(FFormat.nChannels * (NewBits / 8));
    FFormat.nAvgBytesPerSec = FFormat.nSamplesPerSec * FFormat.nBlockAlign;
}

void TZuInternalWAVE::ChangeChannels(std::int32_t NewChannels)
{
    if (FFormat.wFormatTag != WAVE_FORMAT_PCM)
        throw EZuWaveBadWaveType("TZuInternalWave.ChangeChannels: Bad Wave Type");
    ZuChecks::Channels(NewChannels);
    if (NewChannels == FFormat.nChannels)
        return;
    if (!ZuDetail::ReadableLayout(FFormat))
        throw EZuWaveBadWaveType("TZuInternalWave.ChangeChannels: Bad Wave Type");
    const std::int32_t Frames = ZuDetail::FrameCount(*this);
    const bool Wide = FFormat.wBitsPerSample != 8;
    const std::int64_t SampleBytes = Wide ? 2 : 1;
    const std::int64_t Bytes = NewChannels * std::int64_t(Frames) * (FFormat.wBitsPerSample / 8);
    if (Bytes > INT32_MAX)
        throw EZuWaveInvalidWavePara("TZuInternalWAVE.ChangeChannels: Invalid Parameters");

    std::uint8_t *NewData = Heap::AllocZero(static_cast<std::size_t>(Bytes));
    const std::int64_t InFrameBytes = std::int64_t(FFormat.nChannels) * (FFormat.wBitsPerSample / 8);
    for (std::int64_t f = 0; f < Frames; ++f) {
        const std::int64_t In = f * InFrameBytes;
        if (NewChannels == 2) {
            // Mono to stereo: the sample goes to both sides unscaled.
            const std::int64_t Out = f * 2 * SampleBytes;
            if (Wide) {
                const std::int16_t v = LoadSample16(FData, In);
                StoreSample16(NewData, Out, v);
                StoreSample16(NewData, Out + 2, v);
            } else {
                NewData[Out] = NewData[Out + 1] = FData[In];
            }
        } else {
            // Stereo to mono: the mean, truncated toward zero.
            const std::int64_t Out = f * SampleBytes;
            if (Wide) {
                const int a = LoadSample16(FData, In);
                const int b = LoadSample16(FData, In + 2);
                StoreSample16(NewData, Out, static_cast<std::int16_t>((a + b) / 2));
            } else {
                NewData[Out] = static_cast<std::uint8_t>((FData[In] + FData[In + 1]) / 2);
            }
        }
    }

    // The device reads the old block in place until it is stopped.
    if (FState != 0)
        Stop();
    FreeData();
    FData = NewData;
    FDataSize = static_cast<std::int32_t>(Bytes);
    FFormat.nChannels = static_cast<std::uint16_t>(NewChannels);
    FFormat.nBlockAlign = static_cast<std::uint16_t>(NewChannels * (FFormat.wBitsPerSample / 8));
    FFormat.nAvgBytesPerSec = FFormat.nSamplesPerSec * FFormat.nBlockAlign;
}
