#include "split/RunPlan.h"

#include "engine/ExportRecord.h"
#include "split/LabelAreas.h"

#include <QRegularExpression>

#include <climits>
#include <cstdlib>
#include <optional>

#include <sys/stat.h>
#include <unistd.h>

namespace {

struct TNamedFile {
    QByteArray Path;
    QByteArray Role; // how a message names it, before its path
};

// The files the run reads, in the order they are met.
std::vector<TNamedFile> ReadFiles(const QByteArrayList &Files, const TSplitOptions &Options)
{
    std::vector<TNamedFile> Reads;
    for (const QByteArray &File : Files)
        Reads.push_back({File, "a recording of this run"});
    if (!Options.AreasFile.isEmpty())
        Reads.push_back({Options.AreasFile, "the --areas file"});
    if (Options.AreasBeside)
        for (const QByteArray &File : Files)
            Reads.push_back({LabelFileBeside(File), "the label file of " + File});
    if (!Options.Batch.FilesFrom.isEmpty() && Options.Batch.FilesFrom != "-")
        Reads.push_back({Options.Batch.FilesFrom, "the --files-from list"});
    return Reads;
}

// The manifest's files: the one named, or Kaldi's two in the folder named.
QByteArrayList ManifestPaths(const TBatchOptions &Batch)
{
    if (Batch.Manifest == TManifestFormat::None || Batch.ManifestOut.isEmpty())
        return {};
    if (Batch.Manifest == TManifestFormat::Kaldi)
        return {Batch.ManifestOut + "/segments", Batch.ManifestOut + "/wav.scp"};
    return {Batch.ManifestOut};
}

struct TWrittenFile {
    QByteArray Path;
    QByteArray Option; // that names it
    QByteArray What;   // for messages
};

// What the run writes beside its pieces.
std::vector<TWrittenFile> WrittenFiles(const TSplitOptions &Options)
{
    std::vector<TWrittenFile> Written;
    for (const QByteArray &Path : ManifestPaths(Options.Batch))
        Written.push_back({Path, "--manifest-out", "the manifest"});
    if (!Options.Report.ErrorsOut.isEmpty())
        Written.push_back({Options.Report.ErrorsOut, "--errors-out", "the error report"});
    return Written;
}

// Path as a name to compare: absolute, its longest existing part as the
// system resolves it, the rest with "." and ".." taken away by name.
QByteArray ComparablePath(const QByteArray &Path)
{
    QByteArray Whole = Path;
    if (!Whole.startsWith('/')) {
        char Here[PATH_MAX];
        Whole = QByteArray(::getcwd(Here, sizeof Here) ? Here : "") + '/' + Path;
    }
    QByteArrayList Parts;
    for (const QByteArray &Part : Whole.split('/'))
        if (!Part.isEmpty() && Part != ".")
            Parts << Part;
    for (qsizetype Known = Parts.size(); Known >= 0; --Known) {
        char Resolved[PATH_MAX];
        if (::realpath(("/" + QByteArrayList(Parts.begin(), Parts.begin() + Known).join('/')).constData(), Resolved)
            == nullptr)
            continue;
        QByteArrayList Result = QByteArray(Resolved).split('/');
        Result.removeAll(QByteArray());
        for (qsizetype I = Known; I < Parts.size(); ++I) {
            if (Parts[I] != "..")
                Result << Parts[I];
            else if (!Result.isEmpty())
                Result.removeLast();
        }
        return "/" + Result.join('/');
    }
    return Whole;
}

// The files a name leads to: its target, and the link itself.
std::vector<TFileIdentity> IdentitiesOf(const QByteArray &Path, const QByteArray &Name)
{
    std::vector<TFileIdentity> Found;
    struct stat Info {};
    if (::stat(Path.constData(), &Info) == 0)
        Found.push_back({Info.st_dev, Info.st_ino, Name.toStdString()});
    if (::lstat(Path.constData(), &Info) == 0 && S_ISLNK(Info.st_mode))
        Found.push_back({Info.st_dev, Info.st_ino, Name.toStdString()});
    return Found;
}

bool SameFile(const QByteArray &A, const QByteArray &B)
{
    for (const TFileIdentity &One : IdentitiesOf(A, {}))
        for (const TFileIdentity &Other : IdentitiesOf(B, {}))
            if (One.Device == Other.Device && One.Inode == Other.Inode)
                return true;
    return ComparablePath(A) == ComparablePath(B);
}

// A name an export may write into its folder, or remove from it.
bool ExportMayWrite(const QByteArray &Name)
{
    static const QRegularExpression Piece(QStringLiteral("^WAVE[0-9]{2,}\\.(wav|flac)$"));
    return Piece.match(QString::fromUtf8(Name)).hasMatch() || Name == LabelsBesidePieces
        || Name == ExportRecordName || Name.startsWith(".redivev-part-");
}

QByteArray FolderOf(const QByteArray &Path)
{
    const qsizetype Slash = Path.lastIndexOf('/');
    return Slash < 0 ? QByteArray(".") : Slash == 0 ? QByteArray("/") : Path.left(Slash);
}

} // namespace

TRunPlan PlanRun(const QByteArrayList &Files, const std::vector<TOutputPlace> &Places, const TSplitOptions &Options)
{
    TRunPlan Plan;
    const std::vector<TNamedFile> Reads = ReadFiles(Files, Options);
    for (const TNamedFile &Read : Reads)
        for (const TFileIdentity &File : IdentitiesOf(Read.Path, Read.Path))
            Plan.Reads.push_back(File);
    // A list on standard input may be a file the shell opened.
    std::optional<TFileIdentity> Piped;
    struct stat Input {};
    if (Options.Batch.FilesFrom == "-" && ::fstat(STDIN_FILENO, &Input) == 0 && S_ISREG(Input.st_mode)) {
        Piped = TFileIdentity{Input.st_dev, Input.st_ino, "the --files-from list (standard input)"};
        Plan.Reads.push_back(*Piped);
    }
    const std::vector<TWrittenFile> AllWritten = WrittenFiles(Options);
    for (std::size_t W = 0; W < AllWritten.size(); ++W) {
        const QByteArray &Written = AllWritten[W].Path;
        const QByteArray &What = AllWritten[W].What;
        const QByteArray Clash = AllWritten[W].Option + " " + Written + ": ";
        for (std::size_t Other = 0; Other < W; ++Other)
            if (SameFile(Written, AllWritten[Other].Path)) {
                Plan.Clash = Clash + "is " + AllWritten[Other].What + " (" + AllWritten[Other].Option + ")";
                return Plan;
            }
        for (const TFileIdentity &File : IdentitiesOf(Written, {}))
            if (Piped && File.Device == Piped->Device && File.Inode == Piped->Inode) {
                Plan.Clash = Clash + "is the --files-from list (standard input), which " + What + " would replace";
                return Plan;
            }
        for (const TNamedFile &Read : Reads)
            if (SameFile(Written, Read.Path)) {
                Plan.Clash = Clash + "is " + Read.Role + " (" + Read.Path + "), which " + What + " would replace";
                return Plan;
            }
        if (Options.List)
            continue;
        const QByteArray Folder = ComparablePath(FolderOf(Written));
        const QByteArray Name = Written.mid(Written.lastIndexOf('/') + 1);
        const QByteArray Whole = ComparablePath(Written);
        for (std::size_t I = 0; I < Places.size(); ++I) {
            const TOutputPlace &Place = Places[I];
            if (!Place.Error.isEmpty())
                continue;
            const QByteArray Pieces = ComparablePath(Place.Folder);
            const QByteArray Owner = " of " + Files[qsizetype(I)] + " (" + Place.Folder + ")";
            if (Whole == Pieces)
                Plan.Clash = Clash + "is the folder of the pieces" + Owner;
            else if (ExportMayWrite(Name) && (Folder == Pieces || SameFile(FolderOf(Written), Place.Folder)))
                Plan.Clash = Clash + "is a name in the folder of the pieces" + Owner
                    + ", whose files would replace " + What;
            if (!Plan.Clash.isEmpty())
                return Plan;
        }
    }
    return Plan;
}

std::vector<TFileIdentity> ManifestFiles(const TBatchOptions &Batch)
{
    std::vector<TFileIdentity> Found;
    for (const QByteArray &Written : ManifestPaths(Batch))
        for (const TFileIdentity &File : IdentitiesOf(Written, "--manifest-out " + Written))
            Found.push_back(File);
    return Found;
}

std::vector<TFileIdentity> IdentitiesOfRunOutput(const QByteArray &Path, const QByteArray &Option)
{
    return IdentitiesOf(Path, Option + " " + Path);
}
