#include "app/RecordingLoad.h"

#include "engine/MappedRecording.h"
#include "engine/SampleFormat.h"
#include "platform/Streams.h"
#include "wave/ZuWAVE.h"

#include <new>
#include <stdexcept>

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
        return TLoadPath::WaveLibrary;
    return EngineReads(Stream) ? TLoadPath::Engine : TLoadPath::WaveLibrary;
}

} // namespace

TLoadPath ChooseLoadPath(TFileStream &Stream)
{
    const TLoadPath Path = ChooseFromHeaders(Stream);
    Stream.SetPosition(0);
    return Path;
}

std::unique_ptr<THeldRecording> ReadIntoMemory(const std::string &FileName)
{
    TMappedRecording Recording(FileName);
    auto Held = std::make_unique<THeldRecording>();
    try {
        Recording.CopyIntoMemory();
    } catch (const std::bad_alloc &) {
        throw EOutOfMemory();
    } catch (const std::length_error &) {
        throw EOutOfMemory();
    }
    Held->View = Recording.View();
    Held->Samples = Recording.TakeSamples();
    Held->File = FileIdentityOf(Recording.Handle());
    return Held;
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
