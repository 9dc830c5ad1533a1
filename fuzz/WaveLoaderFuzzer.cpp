// Feeds arbitrary bytes to the wave loader through a memory stream.
// A load that succeeds must survive a save and a second load unchanged; a
// load that fails must fail with the loader's own errors and keep no data.
// Whatever loads is then handled the way the program handles a recording:
// its samples read, one piece copied into a second wave in its format.
#include "platform/Streams.h"
#include "wave/ZuWAVE.h"

#include <QCoreApplication>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <vector>

namespace {

[[noreturn]] void Finding(const char *What, const char *Detail = "")
{
    std::fprintf(stderr, "wave loader fuzzer: %s %s\n", What, Detail);
    std::abort();
}

const TWaveFormatEx &DefaultFormat()
{
    static const TWaveFormatEx Format = TZuInternalWAVE().FFormat;
    return Format;
}

bool SameFormat(const TWaveFormatEx &A, const TWaveFormatEx &B)
{
    return std::memcmp(&A, &B, sizeof A) == 0;
}

// Returns true when the bytes loaded; on failure checks what the loader
// promises about the error and the state it leaves.
bool LoadChecked(TZuWave &Wave, const std::uint8_t *Data, std::size_t Size)
{
    TMemoryStream Stream(std::vector<std::uint8_t>(Data, Data + Size));
    bool FormatRead = true;
    try {
        Wave.LoadFromStream(Stream);
        return true;
    } catch (const EZuWaveInvalidWaveFile &Error) {
        // Only these two come before the format chunk has been read.
        FormatRead = std::strstr(Error.what(), "Not a waveform-audio file.") == nullptr
            && std::strstr(Error.what(), "Unable to locate fmt chunk.") == nullptr;
    } catch (const EZuWaveInOutError &) {
        FormatRead = false;
    } catch (const EReadError &) {
        FormatRead = false;
    } catch (const std::exception &Error) {
        Finding("load failed with an error the loader does not raise:", Error.what());
    }
    const TZuInternalWAVE *Buffer = Wave.InternalWave();
    if (Buffer == nullptr)
        Finding("failed load left the component without a buffer");
    if (Buffer->FData != nullptr || Buffer->FDataSize != 0)
        Finding("failed load left a data block");
    if (!FormatRead && !SameFormat(Buffer->FFormat, DefaultFormat()))
        Finding("load that failed before the format chunk changed the format");
    return false;
}

void CheckRoundTrip(TZuWave &Loaded)
{
    TMemoryStream Saved;
    Loaded.SaveToStream(Saved);
    const TZuInternalWAVE &First = *Loaded.InternalWave();
    const std::size_t Expected = std::size_t(First.FDataSize) + First.FDataSize % 2 + 46;
    if (Saved.Bytes().size() != Expected)
        Finding("saved image has the wrong length");

    TZuWave Again(nullptr);
    const std::vector<std::uint8_t> &Image = Saved.Bytes();
    if (!LoadChecked(Again, Image.data(), Image.size()))
        Finding("saved image does not load");
    const TZuInternalWAVE &Second = *Again.InternalWave();
    if (!SameFormat(First.FFormat, Second.FFormat))
        Finding("format record changed through save and load");
    if (First.FDataSize != Second.FDataSize
        || (First.FDataSize > 0 && std::memcmp(First.FData, Second.FData, std::size_t(First.FDataSize)) != 0))
        Finding("data block changed through save and load");
}

// Reads samples as the view and the detection do and copies a piece as the
// export does; refusals of a layout are fine, anything else is a finding.
void UseAsRecording(TZuWave &Wave)
{
    try {
        const std::int32_t Frames = Wave.GetWaveSize();
        const std::int32_t Channels = Wave.GetChannels();
        const std::int32_t Piece = Frames < 64 ? Frames : 64;
        for (std::int32_t Pos = 0; Pos < Piece; ++Pos)
            for (std::int32_t Ch = 0; Ch < Channels && Ch < 2; ++Ch)
                Wave.GetPosValue16(Ch, Pos);
        if (Piece == 0)
            return;
        TZuWave Copy(nullptr);
        Copy.SetFreq(Wave.GetFreq());
        Copy.SetChannels(Channels);
        Copy.SetBits(Wave.GetBits());
        Copy.SetWaveSize(Piece);
        for (std::int32_t Pos = 0; Pos < Piece; ++Pos)
            for (std::int32_t Ch = 0; Ch < Channels; ++Ch)
                Copy.SetPosValue(Ch, Pos, Wave.GetPosValue(Ch, Frames - Piece + Pos));
        TMemoryStream Out;
        Copy.SaveToStream(Out);
    } catch (const EZuWaveInvalidWave &) {
    } catch (const EZuWaveInvalidWavePara &) {
    } catch (const EZuWaveBadWaveType &) {
    } catch (const EZuWavePositionRange &) {
    } catch (const std::exception &Error) {
        Finding("handling a loaded wave raised:", Error.what());
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *Argc, char ***Argv)
{
    // Waves own QObjects; give them the application object they expect.
    static QCoreApplication Application(*Argc, *Argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *Data, std::size_t Size)
{
    TZuWave Wave(nullptr);
    if (LoadChecked(Wave, Data, Size)) {
        CheckRoundTrip(Wave);
        UseAsRecording(Wave);
    }
    return 0;
}
