// Feeds arbitrary bytes to the command line's reader as a file: the header
// reader for WAV, RF64, Wave64 and FLAC, then detection over whatever it
// accepts, and the header a piece of it would get. A file it refuses must
// be refused with its own error; one it accepts must be read within its
// bounds, which the sanitizers watch.
#include "engine/MappedRecording.h"
#include "engine/PieceFile.h"
#include "engine/SampleFormat.h"
#include "engine/TrimDetection.h"

#include <QString>

#include <cstdio>
#include <cstdlib>
#include <exception>

#include <sys/mman.h>
#include <unistd.h>

namespace {

[[noreturn]] void Finding(const char *What, const char *Detail = "")
{
    std::fprintf(stderr, "recording reader fuzzer: %s %s\n", What, Detail);
    std::abort();
}

void Check(const TSampleView &View)
{
    const std::int64_t Frames = FrameCountOf(View);
    TTrimSettings Settings;
    Settings.BackwardSearch = 3;
    Settings.ForwardSearch = 3;
    Settings.NoSoundWidth = 2;
    Settings.MinimumSize = 0;
    for (const TTrimArea &Area : DetectTrimAreas(View, Settings)) {
        if (Area.StartPos < 0 || Area.EndPos > Frames || Area.EndPos <= Area.StartPos)
            Finding("an area outside the recording");
        PieceHeader(View, std::uint64_t(Area.EndPos - Area.StartPos) * std::uint64_t(FrameBytesOf(View)));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *Data, std::size_t Size)
{
    const int Handle = ::memfd_create("recording", MFD_CLOEXEC);
    if (Handle < 0 || ::write(Handle, Data, Size) != ssize_t(Size))
        Finding("cannot make the input file");
    try {
        const TMappedRecording Recording(QStringLiteral("/proc/self/fd/%1").arg(Handle));
        Check(Recording.View());
    } catch (const ERecordingUnreadable &) {
    } catch (const std::exception &Error) {
        Finding("an error of another kind:", Error.what());
    }
    ::close(Handle);
    return 0;
}
