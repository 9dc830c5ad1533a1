#include "app/RecordingLoad.h"

#include "engine/MappedRecording.h"
#include "engine/SampleFormat.h"
#include "platform/Streams.h"
#include "wave/ZuFileCheck.h"
#include "wave/ZuWAVE.h"

#include <cstring>

#include <unistd.h>

namespace {

bool EngineReads(TFileStream &Stream)
{
    try {
        ReadWaveLayout(Stream.Handle(), Stream.Size(), TFileKind::Riff);
        return true;
    } catch (const Exception &) {
        return false;
    }
}

TLoadPath ChooseFromHeaders(TFileStream &Stream)
{
    std::uint8_t First[40] = {};
    const ssize_t Got = ::pread(Stream.Handle(), First, sizeof First, 0);
    if (Got < 0)
        return TLoadPath::WaveLibrary;
    switch (FileKindOf(First, static_cast<std::size_t>(Got))) {
    case TFileKind::Unknown: return TLoadPath::NotAudio;
    case TFileKind::Riff: break;
    default: return TLoadPath::Engine;
    }
    // A RIFF file the library cannot read may still be one the engine reads
    // (wider samples, more channels, data between 2 and 4 GiB). What neither
    // reads stays with the library, which names its format or its fault.
    if (ZuReadsSamplesOf(Stream))
        return TLoadPath::InPlace;
    return EngineReads(Stream) ? TLoadPath::Engine : TLoadPath::WaveLibrary;
}

// The library's wave and the engine's view name the same samples.
bool SameSamples(TZuWave &Wave, const TSampleView &View)
{
    return Wave.StoredData() == View.Data && Wave.StoredDataSize() == View.DataSize
        && std::memcmp(&Wave.StoredFormat(), &View.Format, sizeof View.Format) == 0;
}

} // namespace

TLoadPath ChooseLoadPath(TFileStream &Stream)
{
    const TLoadPath Path = ChooseFromHeaders(Stream);
    Stream.SetPosition(0);
    return Path;
}

std::shared_ptr<TMappedRecording> MapRecording(const std::string &FileName, const std::function<bool()> &Stop)
{
    return std::make_shared<TMappedRecording>(FileName, TMappedRecording::TAccess::Writable,
                                              TMappedRecording::TFlac::Whole, Stop);
}

void ReadRecording(const std::string &FileName, TFileStream &Stream, TLoadPath Path,
                   std::shared_ptr<TMappedRecording> Mapped, TFreshRecording &Fresh)
{
    TZuWave &Wave = *Fresh.Wave;
    switch (Path) {
    case TLoadPath::NotAudio: {
        // The library's own refusal, of an image with nothing in it: at once
        // whatever the file's size (its walk would step through every byte
        // of a file of zeros).
        TMemoryStream Nothing;
        Wave.LoadFromStream(Nothing);
        return;
    }
    case TLoadPath::InPlace:
        if (!Mapped)
            Mapped = MapRecording(FileName);
        TMappedRecording::LoadInPlace(Mapped, Wave);
        // Both walks find one data chunk; should they ever differ, the
        // library's loader decides, as it always did.
        if (SameSamples(Wave, Mapped->View()))
            break;
        Mapped.reset();
        [[fallthrough]];
    case TLoadPath::WaveLibrary:
        Wave.LoadFromStream(Stream);
        Fresh.File = FileIdentityOf(Stream.Handle());
        return;
    case TLoadPath::Engine:
        if (!Mapped)
            Mapped = MapRecording(FileName);
        EmptyWave(Wave);
        break;
    }
    Fresh.File = FileIdentityOf(Mapped->Handle());
    Fresh.Mapped = std::move(Mapped);
}

void EmptyWave(TZuWave &Wave)
{
    TMemoryStream Nothing;
    try {
        Wave.LoadFromStream(Nothing);
    } catch (const EZuWaveInvalidWaveFile &) {
        // The refusal of an empty image is the point.
    }
}
