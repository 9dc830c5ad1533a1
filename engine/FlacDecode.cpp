// A FLAC recording decoded to its real end into a file of PCM: its two halves
// side by side where that pays, any damage reported with the time that
// really decodes, and the samples checked against the stream's checksum.
#include "engine/FlacCodec.h"
#include "engine/FlacReader.h"

#include <QCryptographicHash>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>
#include <functional>
#include <memory>
#include <new>
#include <stdexcept>
#include <system_error>
#include <thread>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

namespace {

// Frames each half must hold before the decoding is shared between two
// threads: below it a thread costs more than it saves.
constexpr std::int64_t SharedDecodingFrames = 1 << 17;

std::string Seconds(std::int64_t Frames, std::uint32_t Rate)
{
    char Text[32];
    std::snprintf(Text, sizeof Text, "%.1f", double(Frames) / Rate);
    return Text;
}

[[noreturn]] void Stopped()
{
    throw EFlacError("the decoding of the FLAC recording was stopped");
}

[[noreturn]] void StoreFailed(int Errno)
{
    throw EFlacError(std::string("the decoded samples cannot be written to a temporary file: ") +
                     std::strerror(Errno));
}


// Adds bytes [From, To) of Out to Hash as the checksum covers them (8-bit
// samples signed, where Out keeps them unsigned).
void HashStored(int Out, std::int64_t From, std::int64_t To, int Bits, QCryptographicHash &Hash)
{
    std::vector<char> Block(1 << 20);
    while (From < To) {
        const ssize_t Got = ::pread(Out, Block.data(), std::size_t(std::min<std::int64_t>(To - From, 1 << 20)), From);
        if (Got < 0 && errno == EINTR)
            continue;
        if (Got <= 0)
            StoreFailed(Got < 0 ? errno : EIO);
        if (Bits == 8)
            for (ssize_t I = 0; I < Got; ++I)
                Block[std::size_t(I)] = char(Block[std::size_t(I)] ^ 0x80);
        Hash.addData(QByteArrayView(Block.data(), Got));
        From += Got;
    }
}

struct TDecoding {
    TDecoding(int Handle, int Out, const TFlacHeader &Header) : Handle(Handle), Out(Out), Header(Header) {}
    int Handle;
    int Out;
    TFlacHeader Header;
    QCryptographicHash Hash{QCryptographicHash::Md5};
    std::atomic<std::int64_t> Done{0};
    std::function<void()> Report;
    std::function<bool()> Stop;
};

// FLAC frames decode independently, so the recording's second half is
// decoded by a second reader seeked there while First decodes the first
// half. The frames decoded, or -1 when the halves give no exact account
// (no thread to be had, or the second half failed in any way): the caller
// then decodes the whole from the start, which finds exactly where it fails.
std::int64_t DecodeHalves(TDecoding &Job, TFlacReader &First)
{
    const std::int64_t Half = Job.Header.Info.Frames / 2;
    TFlacRun Later;
    bool LaterSound = false;
    TFlacRun Earlier;
    {
        std::jthread Thread;
        try {
            Thread = std::jthread([&] {
                try {
                    TFlacReader Reader(Job.Handle);
                    Reader.StopWhen(Job.Stop);
                    Later = Reader.Decode(Job.Out, Half, -1, nullptr, Job.Done);
                    LaterSound = !Later.SeekFailed && !Later.Damaged && Later.StoreErrno == 0;
                } catch (...) {
                    // Answered by decoding from the start.
                }
            });
        } catch (const std::system_error &) {
            return -1;
        }
        Earlier = First.Decode(Job.Out, 0, Half, &Job.Hash, Job.Done, Job.Report);
    }
    if (Earlier.Stopped || Later.Stopped)
        Stopped();
    if (Earlier.StoreErrno != 0)
        StoreFailed(Earlier.StoreErrno);
    if (Earlier.Damaged || Earlier.Got < Half)
        FlacDecodesOnlyTo(Earlier.Got, Job.Header.Info.Rate);
    if (!LaterSound)
        return -1;
    const std::int64_t FrameBytes = std::int64_t(Job.Header.Info.Channels) * (Job.Header.Info.Bits / 8);
    HashStored(Job.Out, Half * FrameBytes, (Half + Later.Got) * FrameBytes, Job.Header.Info.Bits, Job.Hash);
    return Half + Later.Got;
}

TFlacInfo Decode(int Handle, int Out, const TFlacProgress &Progress, const std::function<bool()> &Stop)
{
    auto First = std::make_unique<TFlacReader>(Handle);
    First->StopWhen(Stop);
    TDecoding Job{Handle, Out, First->Header()};
    Job.Stop = Stop;
    TFlacInfo &Info = Job.Header.Info;
    const std::int64_t Stated = Info.Frames;
    if (Progress && Stated > 0)
        Job.Report = [&] { Progress(std::min(1.0, double(Job.Done) / double(Stated))); };
    const bool Plausible = FlacLengthPlausible(Handle, Info);
    std::int64_t Got = -1;
    const bool Shared = Stated >= 2 * SharedDecodingFrames && Plausible && std::thread::hardware_concurrency() > 1;
    if (Shared)
        Got = DecodeHalves(Job, *First);
    if (Got < 0) {
        if (Shared) {
            First = std::make_unique<TFlacReader>(Handle);
            First->StopWhen(Stop);
            Job.Hash.reset();
            Job.Done = 0;
        }
        const TFlacRun Run = First->Decode(Out, 0, -1, &Job.Hash, Job.Done, Job.Report);
        if (Run.Stopped)
            Stopped();
        if (Run.StoreErrno != 0)
            StoreFailed(Run.StoreErrno);
        if (Run.Damaged)
            FlacDecodesOnlyTo(Run.Got, Info.Rate);
        Got = Run.Got;
    }
    CheckFlacEnd(Job.Header, Got, Job.Hash);
    Info.Frames = Got;
    if (Progress)
        Progress(1.0);
    return Info;
}

} // namespace

void FlacDecodesOnlyTo(std::int64_t Got, std::uint32_t Rate)
{
    throw EFlacError("the FLAC recording is damaged or cut short: only its first " + Seconds(Got, Rate) +
                     " seconds decode");
}

void CheckFlacEnd(const TFlacHeader &Header, std::int64_t Got, QCryptographicHash &Hash)
{
    // More than the header states is read whole: only an editor's slip
    // makes that, while fewer means the end is missing.
    const std::int64_t Stated = Header.Info.Frames;
    if (Stated >= 0 && Got < Stated)
        throw EFlacError("the FLAC recording is cut short or damaged: only " + Seconds(Got, Header.Info.Rate) +
                         " of its " + Seconds(Stated, Header.Info.Rate) + " seconds decode");
    const auto &Md5 = Header.Md5;
    if (std::any_of(Md5.begin(), Md5.end(), [](std::uint8_t Byte) { return Byte != 0; }) &&
        Hash.result() != QByteArrayView(Md5.data(), qsizetype(Md5.size())))
        throw EFlacError("the FLAC recording is damaged: its samples do not match the checksum (MD5) it was "
                         "written with");
}

bool FlacLengthPlausible(int Handle, const TFlacInfo &Info)
{
    // A header that claims far more than a file of this size can hold is
    // not worth a seek.
    struct stat Status {};
    const std::int64_t FrameBytes = std::int64_t(Info.Channels) * (Info.Bits / 8);
    return ::fstat(Handle, &Status) == 0 && Info.Frames <= Status.st_size * 16 / FrameBytes;
}

TFlacInfo DecodeFlac(int Handle, int Out, const TFlacProgress &Progress, const std::function<bool()> &Stop)
{
    try {
        return Decode(Handle, Out, Progress, Stop);
    } catch (const std::bad_alloc &) {
        throw EFlacError("there is not enough memory to decode the FLAC recording");
    } catch (const std::length_error &) {
        throw EFlacError("there is not enough memory to decode the FLAC recording");
    }
}

TFlacInfo ReadFlacInfo(int Handle)
{
    return TFlacReader(Handle).Header().Info;
}
