#include "engine/FlacCodec.h"

#include "engine/FdSoundFile.h"
#include "engine/SampleLevels.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <string>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

namespace {

// Big enough that libsndfile's per-call work vanishes, small enough that a
// block of ints stays in the cache while it is unpacked.
constexpr sf_count_t BlockFrames = 65536;

// Samples left-justified in ints, as libsndfile takes them at every width.
void Unpack(const std::uint8_t *In, std::size_t Count, int Bits, int *Out)
{
    const TSampleEncoding Encoding = Bits == 24 ? TSampleEncoding::Int24
                                   : Bits == 16 ? TSampleEncoding::Int16
                                                : TSampleEncoding::UInt8;
    WithCodec(Encoding, [&](auto Codec) {
        using TCodec = decltype(Codec);
        if constexpr (!IsFloatCodec<TCodec>)
            for (std::size_t I = 0; I < Count; ++I)
                Out[I] = TCodec::Word32(In + I * TCodec::Bytes);
    });
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

void EncodeFlac(int Out, const TFlacInfo &Info, const std::uint8_t *Pcm, std::int64_t Frames,
                const std::function<void(std::int64_t First, std::int64_t Count)> &Reading)
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
        if (Reading)
            Reading(Done, Count);
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
