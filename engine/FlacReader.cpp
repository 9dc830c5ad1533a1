#include "engine/FlacReader.h"

#include <QCryptographicHash>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string>

#include <sys/stat.h>
#include <unistd.h>

namespace {

// Enough to make each write worth a system call, small enough to stay in
// the cache between packing and hashing.
constexpr std::size_t StagedBytes = 1 << 20;
// How many frames pass between two reports of progress.
constexpr std::int64_t ReportEvery = 1 << 16;

std::int64_t SizeOf(int Handle)
{
    struct stat Status {};
    return ::fstat(Handle, &Status) == 0 ? std::int64_t(Status.st_size) : -1;
}

[[noreturn]] void Unsupported(unsigned Bits)
{
    throw EFlacError("FLAC with " + std::to_string(Bits) + "-bit samples is not supported (only 8, 16 and 24 bits)");
}

// Samples as the stream's checksum covers them: signed, little-endian, in
// as many bytes as the sample size needs.
void Pack(const FLAC__int32 *const Buffer[], int Channels, int Bits, std::size_t Count, std::uint8_t *Out)
{
    const int Bytes = Bits / 8;
    for (std::size_t I = 0; I < Count; ++I)
        for (int C = 0; C < Channels; ++C) {
            const auto V = std::uint32_t(Buffer[C][I]);
            for (int B = 0; B < Bytes; ++B)
                *Out++ = std::uint8_t(V >> (8 * B));
        }
}

} // namespace

// libFLAC's callbacks, all handed the reader.
struct TFlacCallbacks {
    static TFlacReader &Of(void *Data) { return *static_cast<TFlacReader *>(Data); }

    static FLAC__StreamDecoderReadStatus Read(const FLAC__StreamDecoder *, FLAC__byte Buffer[], std::size_t *Bytes,
                                              void *Data)
    {
        TFlacReader &Reader = Of(Data);
        for (;;) {
            const ssize_t Got = ::pread(Reader.FHandle, Buffer, *Bytes, off_t(Reader.FOffset));
            if (Got < 0 && errno == EINTR)
                continue;
            if (Got < 0) {
                *Bytes = 0;
                return FLAC__STREAM_DECODER_READ_STATUS_ABORT;
            }
            *Bytes = std::size_t(Got);
            Reader.FOffset += std::uint64_t(Got);
            return Got == 0 ? FLAC__STREAM_DECODER_READ_STATUS_END_OF_STREAM
                            : FLAC__STREAM_DECODER_READ_STATUS_CONTINUE;
        }
    }
    static FLAC__StreamDecoderSeekStatus Seek(const FLAC__StreamDecoder *, FLAC__uint64 Offset, void *Data)
    {
        Of(Data).FOffset = Offset;
        return FLAC__STREAM_DECODER_SEEK_STATUS_OK;
    }
    static FLAC__StreamDecoderTellStatus Tell(const FLAC__StreamDecoder *, FLAC__uint64 *Offset, void *Data)
    {
        *Offset = Of(Data).FOffset;
        return FLAC__STREAM_DECODER_TELL_STATUS_OK;
    }
    static FLAC__StreamDecoderLengthStatus Length(const FLAC__StreamDecoder *, FLAC__uint64 *Bytes, void *Data)
    {
        const std::int64_t Size = SizeOf(Of(Data).FHandle);
        if (Size < 0)
            return FLAC__STREAM_DECODER_LENGTH_STATUS_ERROR;
        *Bytes = FLAC__uint64(Size);
        return FLAC__STREAM_DECODER_LENGTH_STATUS_OK;
    }
    static FLAC__bool AtEnd(const FLAC__StreamDecoder *, void *Data)
    {
        const std::int64_t Size = SizeOf(Of(Data).FHandle);
        return Size >= 0 && Of(Data).FOffset >= std::uint64_t(Size);
    }
    static FLAC__StreamDecoderWriteStatus Written(const FLAC__StreamDecoder *, const FLAC__Frame *Frame,
                                                  const FLAC__int32 *const Buffer[], void *Data)
    {
        return Of(Data).Take(*Frame, Buffer);
    }
    static void Described(const FLAC__StreamDecoder *, const FLAC__StreamMetadata *Block, void *Data)
    {
        if (Block->type != FLAC__METADATA_TYPE_STREAMINFO)
            return;
        const FLAC__StreamMetadata_StreamInfo &Stream = Block->data.stream_info;
        TFlacHeader &Header = Of(Data).FHeader;
        Header.Info.Rate = Stream.sample_rate;
        Header.Info.Channels = int(Stream.channels);
        Header.Info.Bits = int(Stream.bits_per_sample);
        // A length of 0 is what an encoder writing into a pipe leaves.
        Header.Info.Frames = Stream.total_samples == 0 ? -1 : std::int64_t(Stream.total_samples);
        std::copy(std::begin(Stream.md5sum), std::end(Stream.md5sum), Header.Md5.begin());
        Of(Data).FHeaderSeen = true;
    }
    static void Erred(const FLAC__StreamDecoder *, FLAC__StreamDecoderErrorStatus Status, void *Data)
    {
        TFlacReader &Reader = Of(Data);
        if (!Reader.FHeaderSeen || Status == FLAC__STREAM_DECODER_ERROR_STATUS_BAD_METADATA)
            Reader.FHeaderDamaged = true;
        // A loss of sync is damage only when a frame follows it; at the end
        // it may be a tag some program appended.
        else if (Status == FLAC__STREAM_DECODER_ERROR_STATUS_LOST_SYNC)
            Reader.FLostSync = true;
        else
            Reader.FRun.Damaged = true;
    }
};

TFlacReader::TFlacReader(int Handle) : FHandle(Handle)
{
    std::uint8_t Signature[4];
    const ssize_t Got = ::pread(Handle, Signature, 4, 0);
    if (Got < 0)
        throw EFlacError(std::string("the file cannot be read: ") + std::strerror(errno));
    if (Got != 4 || !IsFlacSignature(Signature, 4))
        throw EFlacError("the file is not a FLAC recording");
    FDecoder = FLAC__stream_decoder_new();
    // A refused file never reaches the destructor: the decoder goes here.
    try {
        if (!FDecoder || FLAC__stream_decoder_init_stream(FDecoder, TFlacCallbacks::Read, TFlacCallbacks::Seek,
                                                          TFlacCallbacks::Tell, TFlacCallbacks::Length,
                                                          TFlacCallbacks::AtEnd, TFlacCallbacks::Written,
                                                          TFlacCallbacks::Described, TFlacCallbacks::Erred,
                                                          this) != FLAC__STREAM_DECODER_INIT_STATUS_OK)
            throw EFlacError("there is not enough memory to decode the FLAC recording");
        const bool Read = FLAC__stream_decoder_process_until_end_of_metadata(FDecoder);
        if (!Read && FHeaderSeen && !FHeaderDamaged &&
            FLAC__stream_decoder_get_state(FDecoder) == FLAC__STREAM_DECODER_END_OF_STREAM)
            throw EFlacError("the FLAC recording is cut short: it ends inside its header");
        if (!Read || !FHeaderSeen || FHeaderDamaged)
            throw EFlacError("the FLAC recording's header is damaged");
        const TFlacInfo &Info = FHeader.Info;
        if (Info.Bits != 8 && Info.Bits != 16 && Info.Bits != 24)
            Unsupported(unsigned(Info.Bits));
        if (Info.Rate == 0)
            throw EFlacError("the FLAC recording's header is damaged");
    } catch (...) {
        if (FDecoder)
            FLAC__stream_decoder_delete(FDecoder);
        FDecoder = nullptr;
        throw;
    }
}

TFlacReader::~TFlacReader()
{
    if (FDecoder)
        FLAC__stream_decoder_delete(FDecoder);
}

TFlacRun TFlacReader::Decode(int Out, std::int64_t From, std::int64_t Limit, QCryptographicHash *Hash,
                             std::atomic<std::int64_t> &Done, const std::function<void()> &Report)
{
    FOut = Out;
    FBlock = nullptr;
    return Run(From, Limit, Hash, Done, Report);
}

TFlacRun TFlacReader::Decode(std::uint8_t *Block, std::int64_t Capacity, std::int64_t From, std::int64_t Limit,
                             QCryptographicHash *Hash, std::atomic<std::int64_t> &Done)
{
    FOut = -1;
    FBlock = Block;
    FCapacity = Capacity;
    return Run(From, Limit, Hash, Done, {});
}

TFlacRun TFlacReader::Run(std::int64_t From, std::int64_t Limit, QCryptographicHash *Hash,
                          std::atomic<std::int64_t> &Done, const std::function<void()> &Report)
{
    const std::int64_t FrameBytes = std::int64_t(FHeader.Info.Channels) * (FHeader.Info.Bits / 8);
    FOutAt = From * FrameBytes;
    FLimit = Limit;
    FHash = Hash;
    FDone = &Done;
    FReport = &Report;
    FRun = {};
    FLostSync = FStop = false;
    FStaged.clear();
    FStaged.reserve(StagedBytes + std::size_t(FLAC__MAX_BLOCK_SIZE) * std::size_t(FrameBytes));
    FLAC__stream_decoder_get_decode_position(FDecoder, &FLastEnd);
    // A seek writes the frame it lands in, from the frame sought on.
    if (From > 0 && !FLAC__stream_decoder_seek_absolute(FDecoder, FLAC__uint64(From))) {
        FRun.SeekFailed = true;
        return FRun;
    }
    while (!FStop && !FRun.Damaged && FRun.StoreErrno == 0 &&
           FLAC__stream_decoder_get_state(FDecoder) != FLAC__STREAM_DECODER_END_OF_STREAM)
        if (!FLAC__stream_decoder_process_single(FDecoder))
            break;
    Flush();
    if (FLostSync && !FRun.Damaged && CutFrameAt(FLastEnd))
        FRun.Damaged = true;
    return FRun;
}

FLAC__StreamDecoderWriteStatus TFlacReader::Take(const FLAC__Frame &Frame, const FLAC__int32 *const Buffer[])
{
    const TFlacInfo &Info = FHeader.Info;
    // A frame after a loss of sync, or one that differs from the header,
    // means the stream is damaged: libFLAC hands a damaged frame as silence.
    if (FLostSync || int(Frame.header.channels) != Info.Channels || int(Frame.header.bits_per_sample) != Info.Bits)
        FRun.Damaged = true;
    if (FRun.Damaged || FStop)
        return FLAC__STREAM_DECODER_WRITE_STATUS_ABORT;
    std::int64_t Count = Frame.header.blocksize;
    if (FLimit >= 0)
        Count = std::min(Count, FLimit - FRun.Got);
    const std::size_t Start = FStaged.size();
    FStaged.resize(Start + std::size_t(Count) * std::size_t(Info.Channels) * std::size_t(Info.Bits / 8));
    Pack(Buffer, Info.Channels, Info.Bits, std::size_t(Count), FStaged.data() + Start);
    const std::int64_t Before = FRun.Got;
    FRun.Got += Count;
    *FDone += Count;
    FLAC__stream_decoder_get_decode_position(FDecoder, &FLastEnd);
    if (FStaged.size() >= StagedBytes && !Flush())
        return FLAC__STREAM_DECODER_WRITE_STATUS_ABORT;
    if (Before / ReportEvery != FRun.Got / ReportEvery) {
        if (*FReport)
            (*FReport)();
        if (FStopAsked && FStopAsked()) {
            FRun.Stopped = true;
            FStop = true;
            return FLAC__STREAM_DECODER_WRITE_STATUS_ABORT;
        }
    }
    // A run that stops at a limit ends with the frame that holds the first
    // sample beyond it: that frame is where a run seeking to the limit
    // starts, and libFLAC does not report damage while it seeks.
    FStop = FLimit >= 0 && Before + std::int64_t(Frame.header.blocksize) > FLimit;
    return FLAC__STREAM_DECODER_WRITE_STATUS_CONTINUE;
}

bool TFlacReader::Flush()
{
    if (FHash)
        FHash->addData(QByteArrayView(FStaged.data(), qsizetype(FStaged.size())));
    // WAV keeps 8-bit samples unsigned, about a midpoint of 128.
    if (FHeader.Info.Bits == 8)
        for (std::uint8_t &Byte : FStaged)
            Byte ^= 0x80;
    if (FBlock) {
        const std::int64_t Kept = std::clamp<std::int64_t>(FCapacity - FOutAt, 0, std::int64_t(FStaged.size()));
        std::memcpy(FBlock + FOutAt, FStaged.data(), std::size_t(Kept));
        FOutAt += std::int64_t(FStaged.size());
        FStaged.clear();
        return true;
    }
    std::size_t Written = 0;
    while (Written < FStaged.size()) {
        const ssize_t Moved = ::pwrite(FOut, FStaged.data() + Written, FStaged.size() - Written, FOutAt);
        if (Moved < 0 && errno == EINTR)
            continue;
        if (Moved <= 0) {
            FRun.StoreErrno = Moved < 0 ? errno : EIO;
            return false;
        }
        Written += std::size_t(Moved);
        FOutAt += Moved;
    }
    FStaged.clear();
    return true;
}

bool TFlacReader::CutFrameAt(std::uint64_t Offset) const
{
    // Every frame starts with the sync code 0xFFF8 (fixed block size) or 0xFFF9.
    std::uint8_t Sync[2];
    return ::pread(FHandle, Sync, 2, off_t(Offset)) == 2 && Sync[0] == 0xFF && (Sync[1] & 0xFE) == 0xF8;
}
