// The batch export: every trim area as a WAV file of its own, written
// straight from the recording's block (or copied file to file by the
// kernel when the block is a file's bytes), each file put in place whole.
#include "engine/ExportFolder.h"

#include "engine/FlacCodec.h"
#include "engine/PieceFile.h"
#include "engine/PieceNames.h"
#include "engine/RecordingFile.h"
#include "engine/SampleFormat.h"
#include "platform/FolderWriter.h"
#include "wave/ZuChecks.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <optional>
#include <set>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string NameOf(std::int32_t Index, const TSampleView &Recording)
{
    const char *Extension = Recording.Container == TContainer::Flac ? ".flac" : ".wav";
    return NumberedPieceName(Index) + Extension;
}

// The name the job gives its piece Index.
std::string NameOf(const TExportJob &Job, std::int32_t Index)
{
    if (std::size_t(Index) >= Job.Names.size())
        return NameOf(Index, Job.Recording);
    return Job.Names[std::size_t(Index)] + (Job.Recording.Container == TContainer::Flac ? ".flac" : ".wav");
}

// A name an export writes, "WAVE" + an index of at least two digits (no
// other leading zero) + ".wav" or ".flac", with the index it holds.
std::optional<std::int64_t> ExportIndexOf(const std::string &Name)
{
    std::string Stem;
    for (const char *Extension : {".wav", ".flac"}) {
        const std::size_t Length = std::strlen(Extension);
        if (Name.size() > Length && Name.compare(Name.size() - Length, Length, Extension) == 0)
            Stem = Name.substr(0, Name.size() - Length);
    }
    if (Stem.size() < 6 || Stem.compare(0, 4, "WAVE") != 0)
        return std::nullopt;
    const std::string Digits = Stem.substr(4);
    if (Digits.size() > 9 || (Digits.size() > 2 && Digits[0] == '0')
        || !std::all_of(Digits.begin(), Digits.end(), [](char C) { return C >= '0' && C <= '9'; }))
        return std::nullopt;
    return std::stoll(Digits);
}

// A recording's file cut shorter by another program while it is read.
const char *const ShrankWhileRead = "the recording became shorter while it was being cut (changed by another program?)";

// Copies Bytes bytes of the recording's file from Offset to the end of
// Out; false when the kernel cannot do it for these files, with nothing
// written, so the caller writes from memory instead.
bool CopyInKernel(int In, std::int64_t Offset, int Out, std::int64_t Bytes)
{
    loff_t From = Offset;
    bool First = true;
    while (Bytes > 0) {
        const ssize_t Moved = ::copy_file_range(In, &From, Out, nullptr, static_cast<std::size_t>(Bytes), 0);
        if (Moved < 0 && errno == EINTR)
            continue;
        if (Moved < 0 && First && (errno == EXDEV || errno == EINVAL || errno == ENOSYS || errno == EOPNOTSUPP))
            return false;
        if (Moved < 0)
            throw TSystemCallFailed{errno};
        if (Moved == 0)
            throw ERecordingUnreadable(ShrankWhileRead);
        First = false;
        Bytes -= Moved;
    }
    return true;
}

void CheckArea(const TSampleView &Recording, const TTrimArea &Area)
{
    if (Recording.Format.wFormatTag != WAVE_FORMAT_PCM && Recording.Format.wFormatTag != WaveFormatFloat)
        ZuChecks::BadReadType();
    ZuChecks::WaveSize(Area.EndPos - Area.StartPos);
    const std::int64_t FrameBytes = FrameBytesOf(Recording);
    if (Area.StartPos < 0 || FrameBytes <= 0 || Area.EndPos > Recording.DataSize / FrameBytes)
        ZuChecks::ReadOutOfRange();
}

void WriteFlacPiece(int Out, const TSampleView &Recording, const TTrimArea &Area)
{
    CheckArea(Recording, Area);
    const std::int64_t FrameBytes = FrameBytesOf(Recording);
    TFlacInfo Info;
    Info.Rate = Recording.Format.nSamplesPerSec;
    Info.Channels = Recording.Format.nChannels;
    Info.Bits = Recording.Format.wBitsPerSample;
    Info.Frames = Area.EndPos - Area.StartPos;
    EncodeFlac(Out, Info, Recording.Data + Area.StartPos * FrameBytes, Info.Frames);
}

void WritePiece(int Out, const TSampleView &Recording, const TTrimArea &Area)
{
    if (Recording.Container == TContainer::Flac) {
        WriteFlacPiece(Out, Recording, Area);
        return;
    }
    const std::int64_t FrameBytes = std::max<std::int64_t>(FrameBytesOf(Recording), 1);
    const std::int64_t Bytes = (Area.EndPos - Area.StartPos) * FrameBytes;
    const std::vector<std::uint8_t> Header = PieceHeader(Recording, static_cast<std::uint64_t>(std::max<std::int64_t>(Bytes, 0)));
    CheckArea(Recording, Area);
    const std::int64_t First = Area.StartPos * FrameBytes;
    WriteAll(Out, Header.data(), static_cast<std::int64_t>(Header.size()));
    if (Recording.FileHandle < 0 || !CopyInKernel(Recording.FileHandle, Recording.FileOffset + First, Out, Bytes)) {
        try {
            WriteAll(Out, Recording.Data + First, Bytes);
        } catch (const TSystemCallFailed &Failure) {
            // The kernel reads a mapping whose file has shrunk as a bad address.
            if (Failure.ErrorNumber == EFAULT && Recording.FileHandle >= 0)
                throw ERecordingUnreadable(ShrankWhileRead);
            throw;
        }
    }
    if (Bytes & 1) {
        const std::uint8_t Pad = 0;
        WriteAll(Out, &Pad, 1);
    }
}

} // namespace

QString ExportFileName(const QString &Folder, std::int32_t Index, const TSampleView &Recording)
{
    return Folder + QLatin1Char('/') + QString::fromStdString(NameOf(Index, Recording));
}

void WriteExportFolder(const TExportJob &Job)
{
    const std::string &Folder = Job.Folder;
    auto Failed = [](const std::string &Path, const std::string &Why) {
        return EExportFailed(Path, QString::fromStdString(Why));
    };
    try {
        TFolderWriter Writer(Folder);
        Writer.Lock(Job.WaitForFolder);
        for (std::int32_t I = 0; I < Job.Count; ++I)
            for (const TFileIdentity &Recording : Job.RecordingFiles)
                if (Writer.IsFile(NameOf(Job, I), Recording.Device, Recording.Inode))
                    throw EExportOverwritesRecording(Writer.PathOf(NameOf(Job, I)));
        Writer.RemoveLeftovers();
        for (std::int32_t I = 0; I < Job.Count; ++I) {
            const std::string Name = NameOf(Job, I);
            try {
                Writer.WriteWhole(Name, [&](int Out) { WritePiece(Out, Job.Recording, Job.Areas[I]); });
            } catch (const EFileSystemError &) {
                throw;
            } catch (const std::exception &Error) {
                throw EExportReadFailed(Writer.PathOf(Name), QString::fromStdString(Error.what()));
            }
            if (Job.Progress)
                Job.Progress(I + 1);
        }
        // The folder holds this export alone: what an earlier one wrote
        // beyond it (or in the other kind of file) goes, except a file
        // being cut, which nothing here ever touches. Pieces named after
        // labels replace every numbered one.
        std::set<std::string> Written;
        for (std::int32_t I = 0; I < Job.Count; ++I)
            Written.insert(NameOf(Job, I));
        Writer.RemoveFiles([&](const std::string &Name) {
            if (!ExportIndexOf(Name) || Written.count(Name) > 0)
                return false;
            for (const TFileIdentity &Recording : Job.RecordingFiles)
                if (Writer.IsFile(Name, Recording.Device, Recording.Inode))
                    return false;
            return true;
        });
    } catch (const EFileSystemError &Error) {
        throw Failed(Error.Path, Error.Reason);
    }
}
