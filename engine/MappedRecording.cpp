#include "engine/MappedRecording.h"

#include "engine/FlacCodec.h"
#include "engine/FlacStream.h"
#include "engine/MappedReads.h"
#include "engine/ScratchFile.h"
#include "wave/ZuWAVE.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

[[noreturn]] void Unreadable(const char *What, int Error)
{
    throw ERecordingUnreadable(std::string(What) + ": " + std::strerror(Error));
}

// Length bytes of Handle from its start, read once front to back; What
// names the file in the message should it fail.
void *MapForReading(int Handle, std::int64_t Length, int Sharing, const char *What, TMappedRecording::TAccess Access)
{
    // A writable private mapping reserves nothing: only the pages written
    // become the program's own, and a recording of hours is never copied.
    const bool Writable = Access == TMappedRecording::TAccess::Writable;
    const int Protection = Writable ? PROT_READ | PROT_WRITE : PROT_READ;
    const int Flags = Sharing | (Writable && Sharing == MAP_PRIVATE ? MAP_NORESERVE : 0);
    void *Address = ::mmap(nullptr, static_cast<std::size_t>(Length), Protection, Flags, Handle, 0);
    if (Address == MAP_FAILED)
        Unreadable(What, errno);
    ::madvise(Address, static_cast<std::size_t>(Length), MADV_SEQUENTIAL);
    RegisterMapping(Address, Length);
    return Address;
}

const std::uint8_t EmptyImage[1] = {};

} // namespace

TMappedRecording::TFile::~TFile()
{
    if (Handle >= 0)
        ::close(Handle);
}

TMappedRecording::TMapping::~TMapping()
{
    if (Address != nullptr) {
        UnregisterMapping(Address);
        ::munmap(Address, static_cast<std::size_t>(Length));
    }
}

TMappedRecording::TMappedRecording(const QString &FileName, TAccess Access)
    : TMappedRecording(QFile::encodeName(FileName).toStdString(), Access)
{
}

TMappedRecording::~TMappedRecording() = default;

TMappedRecording::TMappedRecording(const std::string &Name, TAccess Access, TFlac Flac,
                                   const std::function<bool()> &Stop)
    : FAccess(Access)
{
    // Non-blocking, so that opening a FIFO with no writer returns at once
    // instead of waiting for one; the type check below then refuses it.
    FFile.Handle = ::open(Name.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (FFile.Handle < 0)
        Unreadable("cannot open", errno);
    struct stat Info {};
    if (::fstat(FFile.Handle, &Info) != 0)
        Unreadable("cannot read its status", errno);
    if (S_ISDIR(Info.st_mode))
        throw ERecordingUnreadable("is a directory");
    if (!S_ISREG(Info.st_mode))
        throw ERecordingUnreadable("not a regular file (a pipe, device or socket cannot be cut)");
    if (::flock(FFile.Handle, LOCK_SH | LOCK_NB) != 0) {
        if (errno == EWOULDBLOCK)
            throw ERecordingUnreadable("locked: being written by another program");
        Unreadable("cannot lock", errno);
    }
    std::uint8_t First[40] = {};
    const ssize_t Got = ::pread(FFile.Handle, First, sizeof First, 0);
    if (Got < 0)
        Unreadable("cannot read", errno);
    const TFileKind Kind = FileKindOf(First, std::size_t(Got));
    if (Kind == TFileKind::Unknown)
        throw ERecordingUnreadable("not a WAV, RF64, Wave64 or FLAC file");
    if (Kind == TFileKind::Flac) {
        if (Flac != TFlac::Streamed || Access != TAccess::ReadOnly || !Stream())
            Decode(Stop);
        return;
    }
    FView = ReadWaveLayout(FFile.Handle, Info.st_size, Kind);
    if (Info.st_size > 0) {
        FMapping.Address = MapForReading(FFile.Handle, Info.st_size, MAP_PRIVATE, "cannot map", FAccess);
        FMapping.Length = Info.st_size;
    }
    FView.Data = Image() + FView.FileOffset;
    FDataEnd = FView.FileOffset + FView.DataSize;
}

void TMappedRecording::ReleaseBefore(std::int64_t Bytes) const
{
    const TMapping &Mapping = FDecoded.Handle >= 0 ? FDecodedMapping : FMapping;
    // Changed pages of a writable mapping would be lost, not released.
    if (FView.FileHandle < 0 || FAccess == TAccess::Writable || Mapping.Address == nullptr || Bytes <= 0)
        return;
    const auto *const Start = static_cast<const std::uint8_t *>(Mapping.Address);
    const std::int64_t End = std::min(FView.Data - Start + std::min(Bytes, FView.DataSize), Mapping.Length);
    const std::int64_t Page = ::sysconf(_SC_PAGESIZE);
    const std::int64_t Whole = End / Page * Page;
    if (Whole > 0)
        ::madvise(Mapping.Address, static_cast<std::size_t>(Whole), MADV_DONTNEED);
}

bool TMappedRecording::Shrank() const
{
    if (FMapping.Address == nullptr)
        return false;
    // Zeros read before a copy was made are in the copy too.
    if (MappingShrank(FMapping.Address))
        return true;
    if (FCopied)
        return false;
    struct stat Info {};
    return ::fstat(FFile.Handle, &Info) == 0 && Info.st_size < FDataEnd;
}

const std::uint8_t *TMappedRecording::Image() const
{
    return FMapping.Address != nullptr ? static_cast<const std::uint8_t *>(FMapping.Address) : EmptyImage;
}

void TMappedRecording::LoadInPlace(const std::shared_ptr<TMappedRecording> &Self, TZuWave &Wave)
{
    if (Self->FAccess != TAccess::Writable)
        throw ERecordingUnreadable("mapped read-only: its samples cannot be changed");
    Wave.LoadInPlace(const_cast<std::uint8_t *>(Self->Image()), Self->FMapping.Length, Self);
}

std::uint8_t *TMappedRecording::ChangeSamples()
{
    if (FAccess != TAccess::Writable)
        throw ERecordingUnreadable("mapped read-only: its samples cannot be changed");
    FView.FileHandle = -1;
    FView.FileOffset = 0;
    return const_cast<std::uint8_t *>(FView.Data);
}

void TMappedRecording::CopyIntoMemory()
{
    if (FStream) {
        FView.Source->Need(0, FView.DataSize / FView.Format.nBlockAlign);
        FView.Source = nullptr;
        FSamples.assign(FView.Data, FView.Data + FView.DataSize);
        FView.Data = FSamples.data();
        return;
    }
    if (FView.FileHandle < 0)
        return;
    FSamples.resize(static_cast<std::size_t>(FView.DataSize));
    std::uint8_t *const Into = FSamples.data();
    const std::uint8_t *const From = FView.Data;
    const auto Bytes = static_cast<std::size_t>(FView.DataSize);
    ReadMapped([=] { std::memcpy(Into, From, Bytes); });
    FView.Data = FSamples.data();
    FCopied = true;
    FView.FileHandle = -1;
    FView.FileOffset = 0;
}

void TMappedRecording::Verify() const
{
    if (FStream)
        FStream->Verify();
}

namespace {

TWaveFormatEx FlacFormat(const TFlacInfo &Info)
{
    TWaveFormatEx Format{};
    Format.wFormatTag = WAVE_FORMAT_PCM;
    Format.nChannels = static_cast<std::uint16_t>(Info.Channels);
    Format.nSamplesPerSec = Info.Rate;
    Format.wBitsPerSample = static_cast<std::uint16_t>(Info.Bits);
    Format.nBlockAlign = static_cast<std::uint16_t>(Info.Channels * (Info.Bits / 8));
    Format.nAvgBytesPerSec = Info.Rate * Format.nBlockAlign;
    Format.cbSize = 0;
    return Format;
}

} // namespace

bool TMappedRecording::Stream()
{
    try {
        FStream = TFlacStream::Open(FFile.Handle);
    } catch (const EFlacError &Error) {
        throw ERecordingUnreadable(Error.what());
    }
    if (!FStream)
        return false;
    FView.Format = FlacFormat(FStream->Info());
    FView.DataSize = FStream->Info().Frames * FView.Format.nBlockAlign;
    FView.Container = TContainer::Flac;
    FView.Data = FStream->Data();
    FView.FileHandle = -1;
    FView.FileOffset = 0;
    FView.Source = FStream.get();
    return true;
}

void TMappedRecording::Decode(const std::function<bool()> &Stop)
{
    std::string Why;
    FDecoded.Handle = OpenScratchFile(Why);
    if (FDecoded.Handle < 0)
        throw ERecordingUnreadable("cannot decode the FLAC recording: " + Why);
    TFlacInfo Info;
    try {
        Info = DecodeFlac(FFile.Handle, FDecoded.Handle, {}, Stop);
    } catch (const EFlacError &Error) {
        throw ERecordingUnreadable(Error.what());
    }
    FView.Format = FlacFormat(Info);
    const TWaveFormatEx &Format = FView.Format;
    FView.DataSize = Info.Frames * Format.nBlockAlign;
    FView.Container = TContainer::Flac;
    FView.Data = EmptyImage;
    if (FView.DataSize > 0) {
        void *Address =
            MapForReading(FDecoded.Handle, FView.DataSize, MAP_SHARED, "cannot map the decoded FLAC recording", FAccess);
        FDecodedMapping.Address = Address;
        FDecodedMapping.Length = FView.DataSize;
        FView.Data = static_cast<const std::uint8_t *>(Address);
    }
    FView.FileHandle = FDecoded.Handle;
    FView.FileOffset = 0;
}
