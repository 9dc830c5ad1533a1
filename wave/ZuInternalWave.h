#pragma once
// TZuInternalWAVE: one PCM wave in memory (format record, data block) plus
// the state of its playback. Held by TZuWave through a reference count.
#include "wave/ZuErrors.h"

#include <QObject>

#include <cstdint>
#include <functional>
#include <memory>

class TStream;
class QEvent;
class TWaveOutDevice;
struct TWaveHdr;

using TNotifyEvent = std::function<void(QObject *Sender)>;

#pragma pack(push, 1)
// Byte for byte the body of a WAV file's "fmt " chunk.
struct TWaveFormatEx {
    std::uint16_t wFormatTag;
    std::uint16_t nChannels;
    std::uint32_t nSamplesPerSec;
    std::uint32_t nAvgBytesPerSec;
    std::uint16_t nBlockAlign;
    std::uint16_t wBitsPerSample;
    std::uint16_t cbSize;
};
#pragma pack(pop)
static_assert(sizeof(TWaveFormatEx) == 18);

constexpr std::uint16_t WAVE_FORMAT_PCM = 1;

class TZuInternalWAVE : public QObject {
public:
    TZuInternalWAVE();
    ~TZuInternalWAVE() override;
    TZuInternalWAVE(const TZuInternalWAVE &) = delete;
    TZuInternalWAVE &operator=(const TZuInternalWAVE &) = delete;

    // Size counts sample frames. Expects no block to be held.
    void CreateWAVE(std::int32_t Freq, std::int32_t Bits, std::int32_t Channels, std::int32_t Size);
    void FreeData() noexcept;

    void LoadFromFile(TStream &Stream);
    // LoadFromFile of the image at Image, without copying its data chunk:
    // the block is the image's own bytes, which Owner keeps alive (and
    // writable, e.g. as a private mapping of the file) while this holds them.
    // Failures leave the wave as LoadFromFile's do.
    void LoadInPlace(std::uint8_t *Image, std::int64_t Length, std::shared_ptr<void> Owner);
    void SaveToFile(TStream &Stream);

    void ChangeBits(std::int32_t NewBits);
    void ChangeChannels(std::int32_t NewChannels);

    void Play();
    void Stop() noexcept;
    // Window procedure of FWindow: true when the event was handled.
    bool NotifyWndProc(QEvent *Message);
    void WaveDone(QEvent *Message);

    std::int32_t FRefCount = 1;
    std::int32_t FDataSize = 0;
    TWaveFormatEx FFormat{};
    std::uint8_t *FData = nullptr;       // owned Heap block, or FBlockOwner's
    // Set while FData lies in a block of somebody else's (LoadInPlace).
    std::shared_ptr<void> FBlockOwner;
    std::int32_t FState = 0;             // 0 idle, 1 playing
    QObject *FWindow = nullptr;          // owned notification object
    TWaveOutDevice *FWaveOut = nullptr;  // open device while playing
    TWaveHdr *FHeader = nullptr;         // header of the current playback
    TNotifyEvent FOnNotify;
    // Which playback is running, so that a late notice of a stopped one
    // does not end the next.
    std::uint64_t FPlayGeneration = 0;

private:
    void CreateNotifyWindow();
    void DestroyNotifyWindow() noexcept;
};
