#pragma once
// TZuWave: the component through which the application handles one wave.
// It holds exactly one TZuInternalWAVE, replaces it on loads and length
// changes, and gives per-sample access. Owned by its parent QObject (the form).
#include "wave/ZuInternalWave.h"

#include <QObject>
#include <QString>

#include <memory>

class TStream;

class TZuWave : public QObject {
    Q_OBJECT
    Q_PROPERTY(std::int32_t Freq READ GetFreq WRITE SetFreq)
    Q_PROPERTY(std::int32_t Bits READ GetBits WRITE SetBits)
    Q_PROPERTY(std::int32_t Channels READ GetChannels WRITE SetChannels)

public:
    explicit TZuWave(QObject *Owner);
    ~TZuWave() override;

    void ReleaseInternalWave();
    void UniqueWave();

    void LoadFromStream(TStream &Stream);
    // LoadFromStream of an image in memory, read in place: see
    // TZuInternalWAVE::LoadInPlace.
    void LoadInPlace(std::uint8_t *Image, std::int64_t Length, std::shared_ptr<void> Owner);
    void SaveToStream(TStream &Stream);
    void LoadFromFile(const QString &FileName);
    void SaveToFile(const QString &FileName);

    void Play();
    void Stop();

    std::int32_t GetFreq();
    void SetFreq(std::int32_t Value);
    std::int32_t GetBits();
    void SetBits(std::int32_t Value);
    std::int32_t GetChannels();
    void SetChannels(std::int32_t Value);
    TNotifyEvent GetOnNotify();
    void SetOnNotify(TNotifyEvent Handler);

    // Length in sample frames; 0 for a wave that is not PCM.
    std::int32_t GetWaveSize();
    // NewSize frames of zero bytes; nothing of the old samples survives.
    void SetWaveSize(std::int32_t NewSize);
    // Samples in the buffer's own coding: 0..255 (8-bit) or -32768..32767.
    std::int32_t GetPosValue(std::int32_t Channel, std::int32_t Pos);
    void SetPosValue(std::int32_t Channel, std::int32_t Pos, std::int32_t Value);
    // Samples scaled to signed 16 bits whatever the buffer's width.
    std::int32_t GetPosValue16(std::int32_t Channel, std::int32_t Pos);
    void SetPosValue16(std::int32_t Channel, std::int32_t Pos, std::int32_t Value);

    TZuInternalWAVE *InternalWave() const { return FInternalWave; }

    // The samples as stored, for code that reads a whole recording at once
    // instead of sample by sample: the format record, the block (nullptr
    // when there is none) and its size in bytes. Valid until the block is
    // replaced (a load, a length or format change).
    const TWaveFormatEx &StoredFormat() const;
    const std::uint8_t *StoredData() const;
    std::int32_t StoredDataSize() const;
    // The block for writing in place: made this wave's own first, as a
    // write through SetPosValue would.
    std::uint8_t *WritableData();

    TZuInternalWAVE *FInternalWave = nullptr;

private:
    TZuInternalWAVE *NewBufferLike(std::int32_t Frames);
    // An empty buffer in place of the current one, keeping its handler,
    // for a load to fill.
    void RenewInternalWave();
};

#include "ZuSampleAccess.h"
