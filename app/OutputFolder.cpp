#include "app/OutputFolder.h"

#include <QDir>
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

    const QString PerUser = QDir(QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation))
                                .filePath(QStringLiteral("MakedFile"));
    // A folder that cannot be made here shows as the first save's failure.
    QDir().mkpath(PerUser);
    return PerUser;
}
