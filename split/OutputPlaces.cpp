#include "split/OutputPlaces.h"

#include <QHash>

#include <algorithm>
#include <cstring>
#include <optional>

#include <unistd.h>

namespace {

// A file name without the extension of a recording (".wav", ".flac", ...).
// Nothing for a name that would be no folder of its own ("", "." or "..",
// from "dir/", "..wav" or "...wav").
std::optional<QByteArray> FolderName(QByteArray Name)
{
    for (const char *Extension : {".wav", ".flac", ".rf64", ".bw64", ".w64"}) {
        const qsizetype Length = qsizetype(std::strlen(Extension));
        if (Name.size() > Length && Name.right(Length).toLower() == Extension) {
            Name.chop(Length);
            break;
        }
    }
    if (Name.isEmpty() || Name == "." || Name == "..")
        return std::nullopt;
    return Name;
}

QByteArray FileNameOf(const QByteArray &File)
{
    return File.mid(File.lastIndexOf('/') + 1);
}

// The folders of an absolute path with "." and ".." taken away by their
// names alone: --keep-tree compares paths as they are written, so that
// the same list gives the same folders on any machine that mounts it.
QByteArrayList PathParts(const QByteArray &Path)
{
    QByteArray Whole = Path;
    if (!Whole.startsWith('/')) {
        char Here[4096];
        Whole = QByteArray(::getcwd(Here, sizeof Here) ? Here : "") + '/' + Path;
    }
    QByteArrayList Parts;
    for (const QByteArray &Part : Whole.split('/')) {
        if (Part.isEmpty() || Part == ".")
            continue;
        if (Part == "..") {
            if (!Parts.isEmpty())
                Parts.removeLast();
        } else {
            Parts << Part;
        }
    }
    return Parts;
}

// The path of File below Root without the recording's extension, or an
// error.
QByteArray PathBelow(const QByteArray &File, const QByteArrayList &Root, QByteArray &Error)
{
    QByteArrayList Parts = PathParts(File);
    if (Parts.size() <= Root.size() || !std::equal(Root.begin(), Root.end(), Parts.begin())) {
        Error = "it is not below the --keep-tree folder, so its pieces have no place";
        return {};
    }
    const std::optional<QByteArray> Last = FolderName(Parts.last());
    if (!Last || File.endsWith('/')) {
        Error = "no folder of its pieces can be named after it; rename the file";
        return {};
    }
    Parts.last() = *Last;
    return QByteArrayList(Parts.begin() + Root.size(), Parts.end()).join('/');
}

} // namespace

std::vector<TOutputPlace> OutputPlaces(const QByteArrayList &Files, const TSplitOptions &Options)
{
    std::vector<TOutputPlace> Places(Files.size());
    const bool Tree = !Options.Batch.KeepTree.isEmpty();
    const QByteArrayList Root = Tree ? PathParts(Options.Batch.KeepTree) : QByteArrayList{};
    QHash<QByteArray, QByteArray> Owners;
    for (qsizetype I = 0; I < Files.size(); ++I) {
        const QByteArray &File = Files[I];
        TOutputPlace &Place = Places[std::size_t(I)];
        if (Tree) {
            Place.Name = PathBelow(File, Root, Place.Error);
            if (!Place.Error.isEmpty())
                continue;
        } else {
            const std::optional<QByteArray> Name = FolderName(FileNameOf(File));
            Place.Name = Name.value_or(FileNameOf(File));
            if (Files.size() == 1) {
                Place.Folder = Options.OutDir;
                continue;
            }
            if (!Name) {
                Place.Error = "no folder of its pieces can be named after it; rename the file";
                continue;
            }
        }
        Place.Folder = Options.OutDir + '/' + Place.Name;
        // A listing writes no folder, but Kaldi's and lhotse's lines need
        // one name for one recording.
        const bool Named =
            Options.Batch.Manifest == TManifestFormat::Kaldi || Options.Batch.Manifest == TManifestFormat::Lhotse;
        if (Options.List && !Named)
            continue;
        const auto Owner = Owners.constFind(Place.Folder);
        if (Owner == Owners.constEnd())
            Owners.insert(Place.Folder, File);
        else if (Options.List && Tree)
            Place.Error = "its recording id would be that of " + *Owner
                + ": their paths below the --keep-tree folder differ in no more than the extension";
        else if (Options.List)
            Place.Error = "its recording id would be that of " + *Owner + "; give --keep-tree";
        else
            Place.Error = "its pieces would go to " + Place.Folder + ", with those of " + *Owner;
    }
    return Places;
}
