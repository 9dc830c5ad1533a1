#include "split/ManifestPaths.h"

#include "split/ManifestLines.h"

#include <QByteArrayList>

#include <climits>

#include <unistd.h>

namespace {

QByteArrayList PartsOf(const QByteArray &Absolute)
{
    QByteArrayList Parts;
    for (const QByteArray &Part : Absolute.split('/'))
        if (!Part.isEmpty() && Part != ".")
            Parts << Part;
    return Parts;
}

} // namespace

QByteArray AbsolutePath(const QByteArray &Path)
{
    if (Path.startsWith('/'))
        return '/' + PartsOf(Path).join('/');
    char Here[PATH_MAX];
    const QByteArray Folder = ::getcwd(Here, sizeof Here) ? QByteArray(Here) : QByteArray("/");
    return '/' + PartsOf(Folder + '/' + Path).join('/');
}

TManifestPaths::TManifestPaths(const TBatchOptions &Batch)
{
    if (!Batch.RelativePaths)
        return;
    const QByteArray Manifest = AbsolutePath(Batch.ManifestOut);
    FBase = PartsOf(ManifestFileNames(Batch.Manifest).isEmpty() ? Manifest.left(Manifest.lastIndexOf('/'))
                                                                : Manifest);
    // The root itself has no parts, yet paths from it are relative.
    FBase.prepend(QByteArray());
}

QByteArray TManifestPaths::Of(const QByteArray &Path) const
{
    const QByteArray Absolute = AbsolutePath(Path);
    if (FBase.isEmpty())
        return Absolute;
    const QByteArrayList Parts = PartsOf(Absolute), Base = FBase.mid(1);
    qsizetype Common = 0;
    while (Common < Parts.size() && Common < Base.size() && Parts[Common] == Base[Common] && Parts[Common] != "..")
        ++Common;
    QByteArrayList Relative;
    for (qsizetype I = Common; I < Base.size(); ++I)
        Relative << "..";
    Relative += Parts.mid(Common);
    return Relative.isEmpty() ? QByteArray(".") : Relative.join('/');
}

QByteArray SpeakerFolder(const QByteArray &File, int Levels)
{
    QByteArrayList Parts;
    for (const QByteArray &Part : PartsOf(AbsolutePath(File))) {
        if (Part != "..")
            Parts << Part;
        else if (!Parts.isEmpty())
            Parts.removeLast();
    }
    const qsizetype At = Parts.size() - 1 - Levels;
    return At >= 0 ? Parts[At] : QByteArray();
}
