#include "split/ManifestOutput.h"

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

QByteArray TManifestOutput::Create(const QByteArray &Path, const std::vector<TFileIdentity> &Inputs, int &Handle)
{
    // Opened without emptying first, so that a recording of the run at
    // that name loses nothing.
    Handle = ::open(Path.constData(), O_WRONLY | O_CREAT | O_CLOEXEC, 0666);
    if (Handle < 0)
        return Failure(Path, errno);
    const std::optional<TFileIdentity> Opened = FileIdentityOf(Handle);
    for (const TFileIdentity &Input : Inputs)
        if (Opened && Opened->Device == Input.Device && Opened->Inode == Input.Inode)
            return Path + ": is a recording of this run, which the manifest would replace";
    return ::ftruncate(Handle, 0) == 0 ? QByteArray() : Failure(Path, errno);
}

TManifestOutput::~TManifestOutput()
{
    if (FOwnMain)
        ::close(FMain);
    if (FWavScp >= 0)
        ::close(FWavScp);
}

QByteArray TManifestOutput::Open(const TBatchOptions &Batch, std::FILE *Out, const std::vector<TFileIdentity> &Inputs)
{
    if (Batch.Manifest == TManifestFormat::Kaldi) {
        if (const int Error = MakeFolders(Batch.ManifestOut.toStdString()); Error != 0)
            return Failure(Batch.ManifestOut, Error);
        FWavScpPath = Batch.ManifestOut + "/wav.scp";
        if (const QByteArray Error = Create(FWavScpPath, Inputs, FWavScp); !Error.isEmpty())
            return Error;
        FMainPath = Batch.ManifestOut + "/segments";
    } else if (Batch.ManifestOut.isEmpty()) {
        std::fflush(Out);
        FMain = ::fileno(Out);
        FMainPath = "standard output";
        return {};
    } else {
        FMainPath = Batch.ManifestOut;
        // Its folders made as the pieces' are.
        const qsizetype Slash = FMainPath.lastIndexOf('/');
        if (Slash > 0)
            if (const int Error = MakeFolders(FMainPath.left(Slash).toStdString()); Error != 0)
                return Failure(FMainPath.left(Slash), Error);
    }
    const QByteArray Error = Create(FMainPath, Inputs, FMain);
    FOwnMain = FMain >= 0;
    return Error;
}

QByteArray TManifestOutput::Append(int Handle, const QByteArray &Path, const QByteArray &Text)
{
    try {
        WriteAll(Handle, Text.constData(), Text.size());
    } catch (const TSystemCallFailed &Failed) {
        return Failure(Path, Failed.ErrorNumber);
    }
    return {};
}

QByteArray TManifestOutput::Write(const TManifestLines &Lines)
{
    // wav.scp first: a segment never names a recording it lacks.
    if (!Lines.WavScp.isEmpty())
        if (const QByteArray Error = Append(FWavScp, FWavScpPath, Lines.WavScp); !Error.isEmpty())
            return Error;
    return Append(FMain, FMainPath, Lines.Main);
}
