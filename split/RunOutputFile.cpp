#include "split/RunOutputFile.h"

#include "platform/FolderWriter.h"

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <unistd.h>

namespace {

QByteArray Failure(const QByteArray &Path, int Error)
{
    return Path + ": " + std::strerror(Error);
}

} // namespace

QByteArray CreateRunOutput(const QByteArray &Path, const std::vector<TFileIdentity> &Inputs, int &Handle,
                           const QByteArray &What)
{
    // Opened without emptying first, so that a recording of the run at
    // that name loses nothing.
    Handle = ::open(Path.constData(), O_WRONLY | O_CREAT | O_CLOEXEC, 0666);
    if (Handle < 0)
        return Failure(Path, errno);
    const std::optional<TFileIdentity> Opened = FileIdentityOf(Handle);
    for (const TFileIdentity &Input : Inputs)
        if (Opened && Opened->Device == Input.Device && Opened->Inode == Input.Inode)
            return Path + ": is a recording of this run, which " + What + " would replace";
    return ::ftruncate(Handle, 0) == 0 ? QByteArray() : Failure(Path, errno);
}

QByteArray MakeParentFolders(const QByteArray &Path)
{
    const qsizetype Slash = Path.lastIndexOf('/');
    if (Slash > 0)
        if (const int Error = MakeFolders(Path.left(Slash).toStdString()); Error != 0)
            return Failure(Path.left(Slash), Error);
    return {};
}

QByteArray AppendToRunOutput(int Handle, const QByteArray &Path, const QByteArray &Text)
{
    try {
        WriteAll(Handle, Text.constData(), Text.size());
    } catch (const TSystemCallFailed &Failed) {
        return Failure(Path, Failed.ErrorNumber);
    }
    return {};
}
