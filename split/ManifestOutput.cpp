#include "split/ManifestOutput.h"

#include "platform/FolderWriter.h"

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <unistd.h>

namespace {

int Create(const QByteArray &Path)
{
    return ::open(Path.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
}

QByteArray Failure(const QByteArray &Path, int Error)
{
    return Path + ": " + std::strerror(Error);
}

} // namespace

TManifestOutput::~TManifestOutput()
{
    if (FOwnMain)
        ::close(FMain);
    if (FWavScp >= 0)
        ::close(FWavScp);
}

QByteArray TManifestOutput::Open(const TBatchOptions &Batch, std::FILE *Out)
{
    if (Batch.Manifest == TManifestFormat::Kaldi) {
        if (const int Error = MakeFolders(Batch.ManifestOut.toStdString()); Error != 0)
            return Failure(Batch.ManifestOut, Error);
        FWavScpPath = Batch.ManifestOut + "/wav.scp";
        FWavScp = Create(FWavScpPath);
        if (FWavScp < 0)
            return Failure(FWavScpPath, errno);
        FMainPath = Batch.ManifestOut + "/segments";
    } else if (Batch.ManifestOut.isEmpty()) {
        std::fflush(Out);
        FMain = ::fileno(Out);
        FMainPath = "standard output";
        return {};
    } else {
        FMainPath = Batch.ManifestOut;
    }
    FMain = Create(FMainPath);
    FOwnMain = FMain >= 0;
    return FOwnMain ? QByteArray() : Failure(FMainPath, errno);
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
