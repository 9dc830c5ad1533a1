#include "split/ManifestOutput.h"

#include "platform/FolderWriter.h"
#include "split/RunOutputFile.h"

#include <cerrno>
#include <cstring>

#include <unistd.h>

namespace {

QByteArray Failure(const QByteArray &Path, int Error)
{
    return Path + ": " + std::strerror(Error);
}

} // namespace

QByteArray TManifestOutput::Create(const QByteArray &Path, const std::vector<TFileIdentity> &Inputs, int &Handle)
{
    return CreateRunOutput(Path, Inputs, Handle, "the manifest");
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
        if (const QByteArray Error = MakeParentFolders(FMainPath); !Error.isEmpty())
            return Error;
    }
    const QByteArray Error = Create(FMainPath, Inputs, FMain);
    FOwnMain = FMain >= 0;
    return Error;
}

QByteArray TManifestOutput::Append(int Handle, const QByteArray &Path, const QByteArray &Text)
{
    return AppendToRunOutput(Handle, Path, Text);
}

QByteArray TManifestOutput::Write(const TManifestLines &Lines)
{
    // wav.scp first: a segment never names a recording it lacks.
    if (!Lines.WavScp.isEmpty())
        if (const QByteArray Error = Append(FWavScp, FWavScpPath, Lines.WavScp); !Error.isEmpty())
            return Error;
    return Append(FMain, FMainPath, Lines.Main);
}
