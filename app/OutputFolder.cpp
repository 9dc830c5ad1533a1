#include "app/OutputFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

namespace {

// Permission bits, access control lists, read-only mounts and the
// capabilities of root all have their say: only an attempt tells.
bool CanWriteInto(const QString &Folder)
{
    if (!QFileInfo(Folder).isDir())
        return false;
    QTemporaryFile Probe(QDir(Folder).filePath(QStringLiteral(".redivev-probe-XXXXXX")));
    return Probe.open();
}

// The user's music folder as the desktop names it (xdg-user-dir MUSIC): the
// entry XDG_MUSIC_DIR of user-dirs.dirs, where it is a folder other than
// the home folder, which is what the desktop gives when there is none.
QString MusicFolder()
{
    const QString Config = qEnvironmentVariableIsEmpty("XDG_CONFIG_HOME")
        ? QDir::home().filePath(QStringLiteral(".config"))
        : qEnvironmentVariable("XDG_CONFIG_HOME");
    QFile Dirs(QDir(Config).filePath(QStringLiteral("user-dirs.dirs")));
    if (!Dirs.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    const QByteArray Key = QByteArrayLiteral("XDG_MUSIC_DIR=\"");
    while (!Dirs.atEnd()) {
        const QByteArray Line = Dirs.readLine(4096).trimmed();
        if (!Line.startsWith(Key) || !Line.endsWith('"') || Line.size() <= Key.size())
            continue;
        QString Path = QFile::decodeName(Line.mid(Key.size(), Line.size() - Key.size() - 1));
        if (Path.startsWith(QStringLiteral("$HOME")))
            Path = QDir::homePath() + Path.mid(5);
        const QFileInfo Folder(Path);
        if (Folder.isAbsolute() && Folder.isDir() && QDir(Path) != QDir::home())
            return QDir::cleanPath(Path);
        return {};
    }
    return {};
}

bool Installed(const QString &ProgramDirectory)
{
    return QFileInfo::exists(QDir(ProgramDirectory).filePath(QStringLiteral(REDIVEV_INSTALLED_ENTRY)));
}

} // namespace

QString OutputFolder(const QString &ProgramDirectory)
{
    if (!Installed(ProgramDirectory)) {
        const QString Beside = QDir(ProgramDirectory).filePath(QStringLiteral("MakedFile"));
        QDir().mkdir(Beside);
        if (CanWriteInto(Beside))
            return Beside;
    }

    // Where the user keeps sound, for a copy on the menu; one that lives in
    // a folder it may not write keeps to the data folder as before.
    const QString Music = Installed(ProgramDirectory) ? MusicFolder() : QString();
    if (!Music.isEmpty()) {
        const QString Pieces = QDir(Music).filePath(QStringLiteral("Redivev"));
        QDir().mkdir(Pieces);
        if (CanWriteInto(Pieces))
            return Pieces;
    }

    const QString PerUser = QDir(QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation))
                                .filePath(QStringLiteral("MakedFile"));
    // A folder that cannot be made here shows as the first save's failure.
    QDir().mkpath(PerUser);
    return PerUser;
}
