// The batch export: every trim area as a WAV file of its own, written
// straight from the recording's block (or copied file to file by the
// kernel when the block is a file's bytes), each file put in place whole.
#include "engine/ExportFolder.h"

#include "engine/FlacCodec.h"
#include "engine/LabelFile.h"
#include "engine/PieceFile.h"
#include "engine/PieceConversion.h"
#include "engine/PieceNames.h"
#include "engine/RecordingFile.h"
#include "engine/SampleFormat.h"
#include "platform/FolderWriter.h"
#include "wave/ZuChecks.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <map>
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
    EncodeFlac(Out, Info, Recording.Data + Area.StartPos * FrameBytes, Info.Frames,
               [&](std::int64_t First, std::int64_t Count) {
                   NeedFrames(Recording, Area.StartPos + First, Area.StartPos + First + Count);
               });
}

// A piece converted as asked: made block by block into the file, or for a
// FLAC piece into memory first, as the encoder takes it whole.
void WriteConvertedPiece(int Out, const TSampleView &Recording, const TTrimArea &Area,
                         const TPieceConversion &Conversion)
{
    CheckArea(Recording, Area);
    const TSampleView Target = ConvertedView(Recording, Conversion);
    const std::int64_t Frames =
        ConvertedFrames(Area.EndPos - Area.StartPos, Recording.Format.nSamplesPerSec, Target.Format.nSamplesPerSec);
    const std::int64_t Bytes = Frames * Target.Format.nBlockAlign;
    if (Recording.Container == TContainer::Flac) {
        std::vector<std::uint8_t> Samples;
        Samples.reserve(std::size_t(Bytes));
        ConvertPiece(Recording, Area, Conversion, [&](const std::uint8_t *Block, std::int64_t Count) {
            Samples.insert(Samples.end(), Block, Block + Count);
        });
        TFlacInfo Info;
        Info.Rate = Target.Format.nSamplesPerSec;
        Info.Channels = Target.Format.nChannels;
        Info.Bits = Target.Format.wBitsPerSample;
        Info.Frames = Frames;
        EncodeFlac(Out, Info, Samples.data(), Frames);
        return;
    }
    const std::vector<std::uint8_t> Header = PieceHeader(Target, std::uint64_t(Bytes));
    WriteAll(Out, Header.data(), static_cast<std::int64_t>(Header.size()));
    ConvertPiece(Recording, Area, Conversion,
                 [&](const std::uint8_t *Block, std::int64_t Count) { WriteAll(Out, Block, Count); });
    if (Bytes & 1) {
        const std::uint8_t Pad = 0;
        WriteAll(Out, &Pad, 1);
    }
}

void WritePiece(int Out, const TSampleView &Recording, const TTrimArea &Area, const TPieceConversion &Conversion)
{
    if (Conversion.Requested()) {
        WriteConvertedPiece(Out, Recording, Area, Conversion);
        return;
    }
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

namespace {

// The files of the earlier export that are still as it left them: its own,
// which this export may replace or remove.
std::map<std::string, TFileStamp> EarlierFiles(const std::string &Folder)
{
    std::map<std::string, TFileStamp> Files;
    if (const std::optional<TExportRecord> Earlier = ReadExportRecord(Folder))
        for (const TRecordedFile &File : Earlier->Files)
            if (FileStampOf(Folder + "/" + File.Name) == File.Stamp)
                Files.emplace(File.Name, File.Stamp);
    return Files;
}

// The pieces' file names: numbered ones as they are, those from labels
// clear of every file in the folder that is not the earlier export's.
std::vector<std::string> PieceFileNames(const TExportJob &Job, const std::map<std::string, TFileStamp> &Earlier)
{
    const std::string Extension = Job.Recording.Container == TContainer::Flac ? ".flac" : ".wav";
    const std::vector<std::string> Labelled = NamesClearOf(Job.Names, Extension, [&](const std::string &Name) {
        struct stat Info {};
        return Earlier.count(Name) == 0 && ::lstat((Job.Folder + "/" + Name).c_str(), &Info) == 0;
    });
    std::vector<std::string> Names;
    for (std::int32_t I = 0; I < Job.Count; ++I)
        Names.push_back(std::size_t(I) < Labelled.size() ? Labelled[std::size_t(I)] + Extension
                                                         : NameOf(I, Job.Recording));
    return Names;
}

QByteArray LabelText(const TExportJob &Job, const std::vector<std::string> &Names)
{
    QStringList Stems;
    for (const std::string &Name : Names)
        Stems << QString::fromStdString(Name.substr(0, Name.find_last_of('.')));
    return LabelFileText(std::vector<TTrimArea>(Job.Areas, Job.Areas + Job.Count), Job.Recording.Format.nSamplesPerSec,
                         Stems);
}

} // namespace

std::vector<std::string> WriteExportFolder(const TExportJob &Job)
{
    const std::string &Folder = Job.Folder;
    auto Failed = [](const std::string &Path, const std::string &Why) {
        return EExportFailed(Path, QString::fromStdString(Why));
    };
    try {
        TFolderWriter Writer(Folder);
        Writer.Lock(Job.WaitForFolder);
        const std::map<std::string, TFileStamp> Earlier = EarlierFiles(Folder);
        const std::vector<std::string> Names = PieceFileNames(Job, Earlier);
        const auto KeptAs = [&](const std::string &Name) -> const TFileIdentity * {
            for (const TFileIdentity &Kept : Job.RecordingFiles)
                if (Writer.IsFile(Name, Kept.Device, Kept.Inode))
                    return &Kept;
            return nullptr;
        };
        std::vector<std::string> Planned = Names;
        if (Job.WriteLabels)
            Planned.push_back(LabelsBesidePieces);
        Planned.push_back(ExportRecordName);
        for (const std::string &Name : Planned)
            if (const TFileIdentity *Kept = KeptAs(Name))
                throw EExportOverwritesRecording(Writer.PathOf(Name), Kept->Name);
        Writer.RemoveLeftovers([&](const std::string &Name) { return KeptAs(Name) != nullptr; });

        TExportRecord Record{Job.Settings, Job.Source, Job.Recording.Format.nSamplesPerSec, Job.Recording.Container,
                             std::vector<TTrimArea>(Job.Areas, Job.Areas + Job.Count), {}};
        for (std::int32_t I = 0; I < Job.Count; ++I) {
            const std::string &Name = Names[std::size_t(I)];
            try {
                Record.Files.push_back(
                    {Name, Writer.WriteWhole(Name, [&](int Out) { WritePiece(Out, Job.Recording, Job.Areas[I], Job.Convert); })});
            } catch (const EFileSystemError &) {
                throw;
            } catch (const std::exception &Error) {
                throw EExportReadFailed(Writer.PathOf(Name), QString::fromStdString(Error.what()));
            }
            if (Job.Progress)
                Job.Progress(I + 1);
        }
        if (Job.WriteLabels) {
            const QByteArray Text = LabelText(Job, Names);
            Record.Files.push_back({LabelsBesidePieces, Writer.WriteWhole(LabelsBesidePieces, [&](int Out) {
                                        WriteAll(Out, Text.constData(), Text.size());
                                    })});
        }
        // The folder holds this export alone: what the earlier one wrote
        // and this one did not goes, while it is as that one left it; a
        // file the user put here or changed since stays, and so does a
        // file being cut. Pieces named after labels replace numbered ones.
        std::set<std::string> Written;
        for (const TRecordedFile &File : Record.Files)
            Written.insert(File.Name);
        Writer.RemoveFiles([&](const std::string &Name) {
            const auto Own = Earlier.find(Name);
            return Own != Earlier.end() && Written.count(Name) == 0 && KeptAs(Name) == nullptr
                && FileStampOf(Writer.PathOf(Name)) == Own->second;
        });
        const std::string Text = ExportRecordText(Record);
        Writer.WriteWhole(ExportRecordName, [&](int Out) { WriteAll(Out, Text.data(), std::int64_t(Text.size())); });
        return Names;
    } catch (const EFileSystemError &Error) {
        throw Failed(Error.Path, Error.Reason);
    }
}
