#include "engine/FlacCodec.h"

#include "engine/FdSoundFile.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <new>
#include <stdexcept>
#include <system_error>
#include <thread>

#include <sys/stat.h>
#include <unistd.h>

namespace {

// Big enough that libsndfile's per-call work vanishes, small enough that a
// block of ints stays in the cache while it is packed.
constexpr sf_count_t BlockFrames = 65536;

std::string Seconds(std::int64_t Frames, std::uint32_t Rate)
{
    char Text[32];
    std::snprintf(Text, sizeof Text, "%.1f", double(Frames) / Rate);
    return Text;
}

int BitsOf(int Format)
{
    switch (Format & SF_FORMAT_SUBMASK) {
    case SF_FORMAT_PCM_S8: return 8;
    case SF_FORMAT_PCM_16: return 16;
    case SF_FORMAT_PCM_24: return 24;
    default: return 0;
    }
}

// The sample size the stream's first header block declares, read here only
// to name it when libsndfile turns the file down; 0 when that block is not
// where it belongs.
int DeclaredBits(int Handle)
{
    std::uint8_t Head[22];
    if (::pread(Handle, Head, sizeof Head, 0) != ssize_t(sizeof Head) || !IsFlacSignature(Head, 4) ||
        (Head[4] & 0x7F) != 0)
        return 0;
    return (((Head[20] & 1) << 4) | (Head[21] >> 4)) + 1;
}

[[noreturn]] void Unsupported(int Bits)
{
    if (Bits > 0)
        throw EFlacError("FLAC with " + std::to_string(Bits) +
                         "-bit samples is not supported (only 8, 16 and 24 bits)");
    throw EFlacError("FLAC with this sample size is not supported (only 8, 16 and 24 bits)");
}

[[noreturn]] void ReadFailed(int Errno)
{
    throw EFlacError(std::string("the file cannot be read: ") + std::strerror(Errno));
}

// What an open for reading found, refused unless it is FLAC packed here.
TFlacInfo Checked(int Handle, const TFdSoundFile &File, const SF_INFO &Sf)
{
    if (!File.File()) {
        if (File.Errno())
            ReadFailed(File.Errno());
        std::uint8_t Signature[4];
        if (::pread(Handle, Signature, 4, 0) != 4 || !IsFlacSignature(Signature, 4))
            throw EFlacError("the file is not a FLAC recording");
        const int Bits = DeclaredBits(Handle);
        if (Bits != 0 && Bits != 8 && Bits != 16 && Bits != 24)
            Unsupported(Bits);
        throw EFlacError("the FLAC recording's header is damaged");
    }
    if ((Sf.format & SF_FORMAT_TYPEMASK) != SF_FORMAT_FLAC)
        throw EFlacError("the file is not a FLAC recording");
    TFlacInfo Info;
    Info.Bits = BitsOf(Sf.format);
    if (Info.Bits == 0)
        Unsupported(DeclaredBits(Handle));
    if (Sf.channels < 1 || Sf.channels > 8)
        throw EFlacError("FLAC with " + std::to_string(Sf.channels) + " channels is not supported");
    if (Sf.samplerate <= 0)
        throw EFlacError("the FLAC recording's header is damaged");
    Info.Rate = std::uint32_t(Sf.samplerate);
    Info.Channels = Sf.channels;
    Info.Frames = Sf.frames == SF_COUNT_MAX ? -1 : Sf.frames;
    return Info;
}

// libsndfile hands samples left-justified in an int whatever their size;
// the top bytes are the sample.
void Pack(const int *In, std::size_t Count, int Bits, std::uint8_t *Out)
{
    if (Bits == 24)
        for (std::size_t I = 0; I < Count; ++I, Out += 3) {
            const auto V = std::uint32_t(In[I]);
            Out[0] = std::uint8_t(V >> 8);
            Out[1] = std::uint8_t(V >> 16);
            Out[2] = std::uint8_t(V >> 24);
        }
    else if (Bits == 16)
        for (std::size_t I = 0; I < Count; ++I, Out += 2) {
            const auto V = std::uint32_t(In[I]);
            Out[0] = std::uint8_t(V >> 16);
            Out[1] = std::uint8_t(V >> 24);
        }
    else
        for (std::size_t I = 0; I < Count; ++I)
            Out[I] = std::uint8_t((std::uint32_t(In[I]) >> 24) ^ 0x80);
}

void Unpack(const std::uint8_t *In, std::size_t Count, int Bits, int *Out)
{
    if (Bits == 24)
        for (std::size_t I = 0; I < Count; ++I, In += 3)
            Out[I] = int(std::uint32_t(In[0]) << 8 | std::uint32_t(In[1]) << 16 | std::uint32_t(In[2]) << 24);
    else if (Bits == 16)
        for (std::size_t I = 0; I < Count; ++I, In += 2)
            Out[I] = int(std::uint32_t(In[0]) << 16 | std::uint32_t(In[1]) << 24);
    else
        for (std::size_t I = 0; I < Count; ++I)
            Out[I] = int(std::uint32_t(In[I] ^ 0x80) << 24);
}

[[noreturn]] void DecodesOnlyTo(std::int64_t Got, std::uint32_t Rate)
{
    throw EFlacError("the FLAC recording is damaged or cut short: only its first " + Seconds(Got, Rate) +
                     " seconds decode");
}

[[noreturn]] void LengthDiffers(std::int64_t Got, const TFlacInfo &Info)
{
    throw EFlacError("the FLAC recording is cut short or damaged: only " + Seconds(Got, Info.Rate) + " of its " +
                     Seconds(Info.Frames, Info.Rate) + " seconds decode");
}

// Reads up to Want frames (to the stream's end when Want < 0) from where
// File stands, frame From of the recording, handing each block to Take;
// returns how many were read. Done counts them for the progress.
template <class TTake>
std::int64_t ReadRun(const TFdSoundFile &File, const TFlacInfo &Info, std::int64_t From, std::int64_t Want,
                     std::atomic<std::int64_t> &Done, TTake &&Take)
{
    std::vector<int> Block(std::size_t(BlockFrames) * std::size_t(Info.Channels));
    std::int64_t Got = 0;
    while (Want < 0 || Got < Want) {
        const sf_count_t Ask = Want < 0 ? BlockFrames : std::min<std::int64_t>(BlockFrames, Want - Got);
        const sf_count_t Count = sf_readf_int(File.File(), Block.data(), Ask);
        if (File.Errno())
            ReadFailed(File.Errno());
        // libFLAC goes on past a damaged frame with silence in its place;
        // only libsndfile's error state tells.
        if (sf_error(File.File()) != SF_ERR_NO_ERROR || Count < 0)
            DecodesOnlyTo(From + Got, Info.Rate);
        if (Count == 0)
            break;
        Take(Block.data(), Count);
        Got += Count;
        Done += Count;
    }
    return Got;
}

// Frames each half must hold before the decoding is shared between two
// threads: below it a thread costs more than it saves.
constexpr std::int64_t SharedDecodingFrames = 1 << 17;

// FLAC frames decode independently, so the recording's second half is
// decoded by a second reader of the same file, seeked there, while this
// thread decodes the first. Both write into their own part of Pcm. False,
// with nothing decoded, when no thread can be had.
bool DecodeHalves(int Handle, const TFlacInfo &Info, std::uint8_t *Pcm, std::size_t FrameBytes,
                  const TFlacProgress &Progress)
{
    const std::int64_t Half = Info.Frames / 2;
    std::atomic<std::int64_t> Done{0};
    std::exception_ptr LaterError;
    std::int64_t LaterGot = 0;
    const auto Copier = [&](std::uint8_t *To) {
        return [To, &Info, FrameBytes](const int *Block, sf_count_t Count) mutable {
            Pack(Block, std::size_t(Count) * std::size_t(Info.Channels), Info.Bits, To);
            To += std::size_t(Count) * FrameBytes;
        };
    };
    const auto DecodeLater = [&] {
        try {
            SF_INFO Sf{};
            const TFdSoundFile File(Handle, SFM_READ, Sf);
            Checked(Handle, File, Sf);
            if (sf_seek(File.File(), Half, SEEK_SET) != Half)
                DecodesOnlyTo(Half, Info.Rate);
            LaterGot = ReadRun(File, Info, Half, Info.Frames - Half, Done, Copier(Pcm + Half * FrameBytes));
        } catch (...) {
            LaterError = std::current_exception();
        }
    };
    std::int64_t EarlierGot = 0;
    {
        std::jthread Later;
        try {
            Later = std::jthread(DecodeLater);
        } catch (const std::system_error &) {
            return false;
        }
        SF_INFO Sf{};
        const TFdSoundFile File(Handle, SFM_READ, Sf);
        Checked(Handle, File, Sf);
        auto Into = Copier(Pcm);
        EarlierGot = ReadRun(File, Info, 0, Half, Done, [&](const int *Block, sf_count_t Count) {
            Into(Block, Count);
            if (Progress)
                Progress(double(Done) / double(Info.Frames));
        });
    }
    if (EarlierGot != Half)
        LengthDiffers(EarlierGot, Info);
    if (LaterError)
        std::rethrow_exception(LaterError);
    if (LaterGot != Info.Frames - Half)
        LengthDiffers(Half + LaterGot, Info);
    return true;
}

TFlacInfo Decode(int Handle, std::vector<std::uint8_t> &Pcm, const TFlacProgress &Progress)
{
    SF_INFO Sf{};
    TFdSoundFile File(Handle, SFM_READ, Sf);
    TFlacInfo Info = Checked(Handle, File, Sf);
    const std::size_t FrameBytes = std::size_t(Info.Channels) * std::size_t(Info.Bits / 8);
    Pcm.clear();
    // Reserved, not resized, and no more than a file of this size can
    // plausibly hold: a header that lies about the length must cost neither
    // memory nor address space the decoding does not fill. A recording that
    // compresses better than that grows the block as it decodes.
    struct stat Status {};
    const std::uint64_t Plausible = ::fstat(Handle, &Status) == 0 ? std::uint64_t(Status.st_size) * 16 : 0;
    const std::uint64_t Declared = Info.Frames > 0 ? std::uint64_t(Info.Frames) * FrameBytes : 0;
    if (Info.Frames >= 2 * SharedDecodingFrames && Declared <= Plausible && std::thread::hardware_concurrency() > 1) {
        Pcm.resize(std::size_t(Declared));
        if (DecodeHalves(Handle, Info, Pcm.data(), FrameBytes, Progress)) {
            if (Progress)
                Progress(1.0);
            return Info;
        }
        Pcm.clear();
    }
    if (Info.Frames > 0)
        Pcm.reserve(std::size_t(std::min(Declared, Plausible)));
    std::atomic<std::int64_t> Done{0};
    const std::int64_t Got = ReadRun(File, Info, 0, -1, Done, [&](const int *Block, sf_count_t Count) {
        const std::size_t Start = Pcm.size();
        Pcm.resize(Start + std::size_t(Count) * FrameBytes);
        Pack(Block, std::size_t(Count) * std::size_t(Info.Channels), Info.Bits, Pcm.data() + Start);
        if (Progress && Info.Frames > 0)
            Progress(double(Done) / double(Info.Frames));
    });
    if (Info.Frames >= 0 && Got != Info.Frames)
        LengthDiffers(Got, Info);
    Info.Frames = Got;
    if (Progress)
        Progress(1.0);
    return Info;
}

[[noreturn]] void WriteFailed(const TFdSoundFile &File, int Code)
{
    const std::string Why = File.Errno()              ? std::strerror(File.Errno())
                            : Code != SF_ERR_NO_ERROR ? sf_error_number(Code)
                                                      : "the encoder stopped part-way";
    throw EFlacError("the FLAC file cannot be written: " + Why);
}

} // namespace

bool IsFlacSignature(const std::uint8_t *Bytes, std::size_t Count)
{
    return Count >= 4 && std::memcmp(Bytes, "fLaC", 4) == 0;
}

TFlacInfo DecodeFlac(int Handle, std::vector<std::uint8_t> &Pcm, const TFlacProgress &Progress)
{
    try {
        return Decode(Handle, Pcm, Progress);
    } catch (const std::bad_alloc &) {
        throw EFlacError("there is not enough memory to decode the FLAC recording");
    } catch (const std::length_error &) {
        throw EFlacError("there is not enough memory to decode the FLAC recording");
    }
}

TFlacInfo ReadFlacInfo(int Handle)
{
    SF_INFO Sf{};
    const TFdSoundFile File(Handle, SFM_READ, Sf);
    return Checked(Handle, File, Sf);
}

void EncodeFlac(int Out, const TFlacInfo &Info, const std::uint8_t *Pcm, std::int64_t Frames)
{
    if (Info.Bits != 8 && Info.Bits != 16 && Info.Bits != 24)
        throw EFlacError("FLAC with " + std::to_string(Info.Bits) + "-bit samples cannot be written");
    if (Info.Channels < 1 || Info.Channels > 8)
        throw EFlacError("FLAC with " + std::to_string(Info.Channels) + " channels cannot be written");
    if (Info.Rate == 0 || Info.Rate > INT_MAX)
        throw EFlacError("FLAC at " + std::to_string(Info.Rate) + " Hz cannot be written");
    if (Frames < 0 || (Frames > 0 && !Pcm))
        throw EFlacError("there are no samples to write as FLAC");
    SF_INFO Sf{};
    Sf.samplerate = int(Info.Rate);
    Sf.channels = Info.Channels;
    Sf.format = SF_FORMAT_FLAC |
                (Info.Bits == 8 ? SF_FORMAT_PCM_S8 : Info.Bits == 16 ? SF_FORMAT_PCM_16 : SF_FORMAT_PCM_24);
    TFdSoundFile File(Out, SFM_WRITE, Sf);
    // libsndfile keeps the reason for a refused open where other threads
    // write it too; the settings are what it can refuse.
    if (!File.File() && File.Errno())
        WriteFailed(File, SF_ERR_NO_ERROR);
    if (!File.File())
        throw EFlacError("FLAC cannot hold " + std::to_string(Info.Channels) + " channels of " +
                         std::to_string(Info.Bits) + "-bit samples at " + std::to_string(Info.Rate) + " Hz");
    // The fastest compression setting: pieces of a long recording are many,
    // and each step up costs a fifth more time for files a few per cent
    // smaller; a piece can always be compressed harder afterwards.
    double Compression = 0.0;
    sf_command(File.File(), SFC_SET_COMPRESSION_LEVEL, &Compression, sizeof Compression);
    // libsndfile starts the stream at the first samples; an empty recording
    // would leave an empty file, which reads back as no FLAC at all.
    sf_command(File.File(), SFC_UPDATE_HEADER_NOW, nullptr, 0);
    const std::size_t FrameBytes = std::size_t(Info.Channels) * std::size_t(Info.Bits / 8);
    std::vector<int> Block(std::size_t(BlockFrames) * std::size_t(Info.Channels));
    for (std::int64_t Done = 0; Done < Frames;) {
        const sf_count_t Count = std::min<std::int64_t>(BlockFrames, Frames - Done);
        Unpack(Pcm + std::size_t(Done) * FrameBytes, std::size_t(Count) * std::size_t(Info.Channels), Info.Bits,
               Block.data());
        if (sf_writef_int(File.File(), Block.data(), Count) != Count || File.Errno())
            WriteFailed(File, sf_error(File.File()));
        Done += Count;
    }
    // The encoder's last frames and the header's final length go out on close.
    if (const int Code = File.Close(); Code != SF_ERR_NO_ERROR || File.Errno())
        WriteFailed(File, Code);
    // Whatever the descriptor held beyond the new file would read as a damaged tail.
    struct stat Status {};
    if (::fstat(Out, &Status) == 0 && S_ISREG(Status.st_mode) && Status.st_size > File.End() &&
        ::ftruncate(Out, File.End()) != 0)
        throw EFlacError(std::string("the FLAC file cannot be written: ") + std::strerror(errno));
}
