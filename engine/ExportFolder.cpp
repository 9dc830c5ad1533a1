// The batch export: every trim area as a WAV file of its own, written
// straight from the recording's block (or copied file to file by the
// kernel when the block is a file's bytes), each file put in place whole.
#include "ExportFolder.h"

#include "FolderWriter.h"
#include "PieceFile.h"

#include <cerrno>

#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string NameOf(std::int32_t Index)
{
    const std::string Digits = std::to_string(Index);
    return "WAVE" + std::string(Digits.size() < 2 ? 1 : 0, '0') + Digits + ".wav";
}

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
        // The file is shorter than the block said: it changed under us.
        if (Moved == 0)
            throw TSystemCallFailed{EIO};
        First = false;
        Bytes -= Moved;
    }
    return true;
}

void CheckArea(const TSampleView &Recording, const TTrimArea &Area)
{
    if (Recording.Format.wFormatTag != WAVE_FORMAT_PCM)
        throw EZuWaveBadWaveType("TZuWave.GetPosValue: Bad Wave Type");
    if (Area.EndPos - std::int64_t(Area.StartPos) <= 0)
        throw EZuWaveInvalidWavePara("TZuWave.SetWaveSize: Invalid Size");
    const std::int64_t FrameBytes = ZuDetail::FrameBytes(Recording.Format);
    if (Area.StartPos < 0 || FrameBytes <= 0 || Area.EndPos > Recording.DataSize / FrameBytes)
        throw EZuWavePositionRange("TZuWave.GetPosValue: Position is Out of Range");
}

void WritePiece(int Out, const TSampleView &Recording, const TTrimArea &Area)
{
    const TWaveFormatEx Format = PieceFormat(Recording.Format);
    CheckArea(Recording, Area);
    const std::int64_t FrameBytes = ZuDetail::FrameBytes(Recording.Format);
    const std::int64_t First = Area.StartPos * FrameBytes;
    const std::int64_t Bytes = (std::int64_t(Area.EndPos) - Area.StartPos) * FrameBytes;
    if (Bytes > INT32_MAX)
        throw EZuWaveInvalidWavePara("TZuInternalWAVE.CreateWAVE: Invalid Parameters");
    const auto Header = WaveFileHeader(Format, static_cast<std::uint32_t>(Bytes));
    WriteAll(Out, Header.data(), static_cast<std::int64_t>(Header.size()));
    if (Recording.FileHandle < 0 || !CopyInKernel(Recording.FileHandle, Recording.FileOffset + First, Out, Bytes))
        WriteAll(Out, Recording.Data + First, Bytes);
    if (Bytes & 1) {
        const std::uint8_t Pad = 0;
        WriteAll(Out, &Pad, 1);
    }
}

} // namespace

std::optional<TFileIdentity> FileIdentityOf(int FileHandle)
{
    struct stat Info {};
    if (FileHandle < 0 || ::fstat(FileHandle, &Info) != 0)
        return std::nullopt;
    return TFileIdentity{Info.st_dev, Info.st_ino};
}

QString ExportFileName(const QString &Folder, std::int32_t Index)
{
    return Folder + QLatin1Char('/') + QString::fromStdString(NameOf(Index));
}

void WriteExportFolder(const TExportJob &Job)
{
    const std::string &Folder = Job.Folder;
    auto Failed = [](const std::string &Path, const std::string &Why) {
        return EExportFailed(Path, QString::fromStdString(Why));
    };
    if (Job.Count <= 0) {
        // Nothing to write; the folder is still made, as a first export's is.
        ::mkdir(Folder.c_str(), 0777);
        return;
    }
    try {
        TFolderWriter Writer(Folder);
        Writer.Lock(Job.WaitForFolder);
        for (std::int32_t I = 0; I < Job.Count; ++I)
            for (const TFileIdentity &Recording : Job.RecordingFiles)
                if (Writer.IsFile(NameOf(I), Recording.Device, Recording.Inode))
                    throw EExportOverwritesRecording(Writer.PathOf(NameOf(I)));
        Writer.RemoveLeftovers();
        for (std::int32_t I = 0; I < Job.Count; ++I) {
            const std::string Name = NameOf(I);
            try {
                Writer.WriteWhole(Name, [&](int Out) { WritePiece(Out, Job.Recording, Job.Areas[I]); });
            } catch (const EFileSystemError &) {
                throw;
            } catch (const std::exception &Error) {
                throw Failed(Writer.PathOf(Name), Error.what());
            }
            if (Job.Progress)
                Job.Progress(I + 1);
        }
    } catch (const EFileSystemError &Error) {
        throw Failed(Error.Path, Error.Reason);
    }
}
