#include "wave/ZuWaveComponent.h"

#include "platform/Heap.h"
#include "platform/Streams.h"
#include "wave/ZuChecks.h"

#include <cstring>
#include <memory>

void ZuDetail::Raise(int Kind, const char *Message)
{
    switch (Kind) {
    case BadType:
        throw EZuWaveBadWaveType(Message);
    case OutOfRange:
        throw EZuWavePositionRange(Message);
    default:
        throw EZuWaveInvalidWave(Message);
    }
}

TZuWave::TZuWave(QObject *Owner) : QObject(Owner)
{
    FInternalWave = new TZuInternalWAVE();
}

TZuWave::~TZuWave()
{
    // Destruction must not raise; a component left without a buffer by a
    // failed load has nothing to release.
    if (FInternalWave != nullptr)
        ReleaseInternalWave();
}

void TZuWave::ReleaseInternalWave()
{
    WaveAssert(FInternalWave != nullptr, "TZuWave.ReleaseInternalWave: InternalWave should not be Nil");
    TZuInternalWAVE *Wave = FInternalWave;
    FInternalWave = nullptr;
    if (--Wave->FRefCount == 0)
        delete Wave;
}

void TZuWave::UniqueWave()
{
    WaveAssert(FInternalWave != nullptr, "TZuWave.UniqueWave: InternalWave should not be Nil");
    if (FInternalWave->FRefCount == 1)
        return;
    auto Copy = std::make_unique<TZuInternalWAVE>();
    Copy->FreeData();
    Copy->FOnNotify = FInternalWave->FOnNotify;
    Copy->FFormat = FInternalWave->FFormat;
    Copy->FData = Heap::AllocZero(static_cast<std::size_t>(FInternalWave->FDataSize));
    if (FInternalWave->FDataSize > 0)
        std::memcpy(Copy->FData, FInternalWave->FData, static_cast<std::size_t>(FInternalWave->FDataSize));
    Copy->FDataSize = FInternalWave->FDataSize;
    ReleaseInternalWave();
    FInternalWave = Copy.release();
}

void TZuWave::RenewInternalWave()
{
    const bool HadBuffer = FInternalWave != nullptr;
    TNotifyEvent Handler = HadBuffer ? FInternalWave->FOnNotify : TNotifyEvent();
    if (HadBuffer)
        ReleaseInternalWave();
    FInternalWave = new TZuInternalWAVE();
    FInternalWave->FOnNotify = std::move(Handler);
}

void TZuWave::LoadFromStream(TStream &Stream)
{
    RenewInternalWave();
    FInternalWave->LoadFromFile(Stream);
}

void TZuWave::LoadInPlace(std::uint8_t *Image, std::int64_t Length, std::shared_ptr<void> Owner)
{
    RenewInternalWave();
    FInternalWave->LoadInPlace(Image, Length, std::move(Owner));
}

void TZuWave::SaveToStream(TStream &Stream)
{
    WaveAssert(FInternalWave != nullptr, "TZuWave.SaveToStream: InternalWave should not be Nil");
    FInternalWave->SaveToFile(Stream);
}

void TZuWave::LoadFromFile(const QString &FileName)
{
    TFileStream Stream(FileName.toStdString(), TFileStream::TMode::OpenRead);
    LoadFromStream(Stream);
}

void TZuWave::SaveToFile(const QString &FileName)
{
    TFileStream Stream(FileName.toStdString(), TFileStream::TMode::Create);
    SaveToStream(Stream);
}

void TZuWave::Play()
{
    WaveAssert(FInternalWave != nullptr, "TZuWave.Play: InternalWave should not be Nil");
    FInternalWave->Play();
}

void TZuWave::Stop()
{
    WaveAssert(FInternalWave != nullptr, "TZuWave.Stop: InternalWave should not be Nil");
    FInternalWave->Stop();
}

std::int32_t TZuWave::GetFreq()
{
    WaveAssert(FInternalWave != nullptr, "TZuWave.GetFreq: InternalWave should not be Nil");
    return static_cast<std::int32_t>(FInternalWave->FFormat.nSamplesPerSec);
}

void TZuWave::SetFreq(std::int32_t Value)
{
    WaveAssert(FInternalWave != nullptr, "TZuWave.SetFreq: InternalWave should not be Nil");
    ZuChecks::Frequency(Value);
    FInternalWave->FFormat.nSamplesPerSec = static_cast<std::uint32_t>(Value);
    FInternalWave->FFormat.nAvgBytesPerSec = static_cast<std::uint32_t>(Value) * FInternalWave->FFormat.nBlockAlign;
}

std::int32_t TZuWave::GetBits()
{
    WaveAssert(FInternalWave != nullptr, "TZuWave.GetBits: InternalWave should not be Nil");
    return FInternalWave->FFormat.wBitsPerSample;
}

void TZuWave::SetBits(std::int32_t Value)
{
    WaveAssert(FInternalWave != nullptr, "TZuWave.SetBits: InternalWave should not be Nil");
    FInternalWave->ChangeBits(Value);
}

std::int32_t TZuWave::GetChannels()
{
    WaveAssert(FInternalWave != nullptr, "TZuWave.GetChannels: InternalWave should not be Nil");
    return FInternalWave->FFormat.nChannels;
}

void TZuWave::SetChannels(std::int32_t Value)
{
    WaveAssert(FInternalWave != nullptr, "TZuWave.SetChannels: InternalWave should not be Nil");
    FInternalWave->ChangeChannels(Value);
}

TNotifyEvent TZuWave::GetOnNotify()
{
    WaveAssert(FInternalWave != nullptr, "TZuWave.GetOnNotify: InternalWave should not be Nil");
    return FInternalWave->FOnNotify;
}

void TZuWave::SetOnNotify(TNotifyEvent Handler)
{
    WaveAssert(FInternalWave != nullptr, "TZuWave.SetOnNotify: InternalWave should not be Nil");
    FInternalWave->FOnNotify = std::move(Handler);
}

void TZuWave::SetWaveSize(std::int32_t NewSize)
{
    WaveAssert(FInternalWave != nullptr, "TZuWave.SetWaveSize: InternalWave should not be Nil");
    if (FInternalWave->FFormat.wFormatTag != WAVE_FORMAT_PCM)
        throw EZuWaveBadWaveType("TZuWave.SetWaveSize: Bad Wave Type");
    const std::int32_t Current = ZuDetail::FrameCount(*FInternalWave);
    ZuChecks::WaveSize(NewSize);
    if (NewSize == Current)
        return;
    std::unique_ptr<TZuInternalWAVE> Fresh(NewBufferLike(NewSize));
    ReleaseInternalWave();
    FInternalWave = Fresh.release();
}

TZuInternalWAVE *TZuWave::NewBufferLike(std::int32_t Frames)
{
    const TWaveFormatEx &Old = FInternalWave->FFormat;
    auto Fresh = std::make_unique<TZuInternalWAVE>();
    Fresh->FreeData();
    Fresh->CreateWAVE(static_cast<std::int32_t>(Old.nSamplesPerSec), Old.wBitsPerSample, Old.nChannels, Frames);
    Fresh->FOnNotify = FInternalWave->FOnNotify;
    return Fresh.release();
}

const TWaveFormatEx &TZuWave::StoredFormat() const
{
    WaveAssert(FInternalWave != nullptr, "TZuWave.StoredFormat: InternalWave should not be Nil");
    return FInternalWave->FFormat;
}

const std::uint8_t *TZuWave::StoredData() const
{
    return FInternalWave != nullptr ? FInternalWave->FData : nullptr;
}

std::int32_t TZuWave::StoredDataSize() const
{
    return FInternalWave != nullptr && FInternalWave->FData != nullptr ? FInternalWave->FDataSize : 0;
}

std::uint8_t *TZuWave::WritableData()
{
    UniqueWave();
    return FInternalWave->FData;
}
