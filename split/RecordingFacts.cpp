#include "split/RecordingFacts.h"

#include "engine/FlacCodec.h"
#include "engine/SampleFormat.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

struct THandle {
    int Value = -1;
    ~THandle()
    {
        if (Value >= 0)
            ::close(Value);
    }
};

} // namespace

TRecordingFacts FactsOfView(const TSampleView &View, TFileKind Kind)
{
    TRecordingFacts Facts;
    Facts.Kind = Kind;
    Facts.Rate = View.Format.nSamplesPerSec;
    Facts.Channels = View.Format.nChannels;
    Facts.Bits = View.Format.wBitsPerSample;
    Facts.Float = View.Format.wFormatTag == 3;
    Facts.Frames = FrameCountOf(View);
    return Facts;
}

std::optional<TRecordingFacts> ReadRecordingFacts(const QByteArray &File, QByteArray &Error)
{
    // Never waits on a pipe or device named as a recording.
    THandle Handle{::open(File.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY)};
    struct stat Info {};
    if (Handle.Value < 0 || ::fstat(Handle.Value, &Info) != 0) {
        Error = std::strerror(errno);
        return std::nullopt;
    }
    if (!S_ISREG(Info.st_mode)) {
        Error = "is no regular file";
        return std::nullopt;
    }
    std::array<std::uint8_t, 16> First{};
    const ssize_t Got = ::pread(Handle.Value, First.data(), First.size(), 0);
    const TFileKind Kind = FileKindOf(First.data(), Got > 0 ? std::size_t(Got) : 0);
    try {
        if (Kind == TFileKind::Flac) {
            const TFlacInfo Flac = ReadFlacInfo(Handle.Value);
            return TRecordingFacts{Kind, Flac.Rate, Flac.Channels, Flac.Bits, false, Flac.Frames};
        }
        const TSampleView Layout = ReadWaveLayout(Handle.Value, Info.st_size, Kind);
        TRecordingFacts Facts = FactsOfView(Layout, Kind);
        // The samples the file holds, as a reader mapping it finds them.
        const std::int64_t FrameBytes = FrameBytesOf(Layout);
        const std::int64_t Held = std::min(Layout.DataSize, std::int64_t(Info.st_size) - Layout.FileOffset);
        Facts.Frames = FrameBytes > 0 ? std::max<std::int64_t>(Held, 0) / FrameBytes : 0;
        return Facts;
    } catch (const std::exception &Failed) {
        Error = Failed.what();
    }
    return std::nullopt;
}

bool IsPlainWav16(const TRecordingFacts &Facts)
{
    return Facts.Kind == TFileKind::Riff && Facts.Bits == 16 && !Facts.Float;
}
