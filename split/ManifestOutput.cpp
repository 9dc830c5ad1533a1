#include "split/ManifestOutput.h"

#include "platform/FolderWriter.h"
#include "split/RunOutputFile.h"

#include <algorithm>
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
    if (FOwned)
        for (const int Handle : FHandles)
            if (Handle >= 0)
                ::close(Handle);
}

QByteArray TManifestOutput::Open(const TBatchOptions &Batch, std::FILE *Out, const std::vector<TFileIdentity> &Inputs)
{
    const QByteArrayList Names = ManifestFileNames(Batch.Manifest);
    if (Batch.ManifestOut.isEmpty()) {
        std::fflush(Out);
        FHandles = {::fileno(Out)};
        FPaths = {"standard output"};
        return {};
    }
    FOwned = true;
    if (!Names.isEmpty()) {
        if (const int Error = MakeFolders(Batch.ManifestOut.toStdString()); Error != 0)
            return Failure(Batch.ManifestOut, Error);
        for (const QByteArray &Name : Names)
            FPaths << Batch.ManifestOut + '/' + Name;
    } else {
        FPaths << Batch.ManifestOut;
        if (const QByteArray Error = MakeParentFolders(Batch.ManifestOut); !Error.isEmpty())
            return Error;
    }
    FSorted = Batch.Manifest == TManifestFormat::Kaldi;
    FHeld.resize(std::size_t(FPaths.size()));
    for (const QByteArray &Path : FPaths) {
        FHandles.push_back(-1);
        if (const QByteArray Error = Create(Path, Inputs, FHandles.back()); !Error.isEmpty())
            return Error;
    }
    return {};
}

QByteArray TManifestOutput::Append(std::size_t File, const QByteArray &Text)
{
    return AppendToRunOutput(FHandles[File], FPaths[qsizetype(File)], Text);
}

QByteArray TManifestOutput::Write(const TManifestLines &Lines)
{
    // In the order of the files: a segment or supervision never names a
    // recording that is not yet written.
    const std::size_t Count = std::min(FHandles.size(), std::size_t(Lines.Parts.size()));
    for (std::size_t I = 0; I < Count; ++I) {
        const QByteArray &Text = Lines.Parts[qsizetype(I)];
        if (FSorted)
            FHeld[I] += Text.split('\n').mid(0, Text.count('\n'));
        else if (!Text.isEmpty())
            if (const QByteArray Error = Append(I, Text); !Error.isEmpty())
                return Error;
    }
    return {};
}

QByteArray TManifestOutput::Finish()
{
    if (!FSorted)
        return {};
    // Bytewise, as Kaldi's tools sort (LC_ALL=C): ids hold no byte below
    // the space that ends them, so lines sort as their first fields do.
    for (QByteArrayList &Held : FHeld)
        std::sort(Held.begin(), Held.end());
    // spk2utt from the sorted utt2spk, whose utterances are grouped by
    // speaker in speaker order.
    QByteArrayList &Speakers = FHeld[3];
    for (const QByteArray &Line : FHeld[2]) {
        const qsizetype Space = Line.indexOf(' ');
        const QByteArray Speaker = Line.mid(Space + 1), Utterance = Line.left(Space);
        if (!Speakers.isEmpty() && Speakers.back().startsWith(Speaker + ' '))
            Speakers.back() += ' ' + Utterance;
        else
            Speakers << Speaker + ' ' + Utterance;
    }
    for (std::size_t I = 0; I < FHeld.size(); ++I) {
        QByteArray Text = FHeld[I].join('\n');
        if (!Text.isEmpty())
            Text += '\n';
        if (const QByteArray Error = Append(I, Text); !Error.isEmpty())
            return Error;
    }
    return {};
}
