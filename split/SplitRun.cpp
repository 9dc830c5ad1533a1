#include "SplitRun.h"

#include "AreaListing.h"
#include "CutRecording.h"
#include "ProgressBar.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <thread>
#include <vector>

namespace {

// The folder each file's pieces go to: the output folder itself for one
// file, else a folder per file named after it. Two files of the same name
// would write over each other's pieces, so the later one gets no folder
// and an error instead.
std::vector<QString> PieceFolders(const TSplitOptions &Options, std::vector<TCutOutcome> &Outcomes)
{
    std::vector<QString> Folders(Options.Files.size());
    if (Options.Files.size() == 1) {
        Folders[0] = Options.OutDir;
        return Folders;
    }
    QHash<QString, QString> Owners;
    for (qsizetype I = 0; I < Options.Files.size(); ++I) {
        const QString &File = Options.Files[I];
        QString Name = QFileInfo(File).fileName();
        if (Name.endsWith(QLatin1String(".wav"), Qt::CaseInsensitive) && Name.size() > 4)
            Name.chop(4);
        const QString Folder = QDir(Options.OutDir).filePath(Name);
        const auto Owner = Owners.constFind(Folder);
        if (Owner != Owners.constEnd())
            Outcomes[I].Error = QStringLiteral("its pieces would go to %1, with those of %2").arg(Folder, *Owner);
        else
            Owners.insert(Folder, File);
        Folders[I] = Folder;
    }
    return Folders;
}

} // namespace

int RunSplit(const TSplitOptions &Options, std::FILE *Out, std::FILE *Err, bool ShowProgress)
{
    const qsizetype Count = Options.Files.size();
    std::vector<TCutOutcome> Outcomes(Count);
    const std::vector<QString> Folders = PieceFolders(Options, Outcomes);
    if (!Options.List && Count > 1)
        QDir().mkpath(Options.OutDir); // a failure shows as each file's own

    TProgressBar Progress(Err, int(Count), ShowProgress);
    std::atomic<qsizetype> Next = 0;
    auto Work = [&] {
        for (qsizetype I = Next++; I < Count; I = Next++) {
            const QString &File = Options.Files[I];
            if (Outcomes[I].Error.isEmpty())
                Outcomes[I] = CutRecording(File, Folders[I], Options,
                                           [&](double Share) { Progress.Share(QFileInfo(File).fileName(), Share); });
            if (!Outcomes[I].Error.isEmpty())
                Progress.ErrorLine(QStringLiteral("redivev-split: %1: %2").arg(File, Outcomes[I].Error));
            Progress.FileDone();
        }
    };
    const qsizetype Workers = std::min<qsizetype>(Options.Jobs, Count);
    std::vector<std::thread> Threads;
    for (qsizetype I = 1; I < Workers; ++I)
        Threads.emplace_back(Work);
    Work();
    for (std::thread &Thread : Threads)
        Thread.join();

    bool AllCut = true;
    std::vector<TListedRecording> Listed;
    for (qsizetype I = 0; I < Count; ++I) {
        if (!Outcomes[I].Error.isEmpty()) {
            AllCut = false;
            continue;
        }
        if (Options.List)
            Listed.push_back({Options.Files[I], Outcomes[I].Rate, std::move(Outcomes[I].Areas)});
    }
    if (Options.List) {
        const QByteArray Text = Options.Json ? JsonListing(Listed) : CsvListing(Listed);
        const bool Written = std::fwrite(Text.constData(), 1, std::size_t(Text.size()), Out) == std::size_t(Text.size())
            && std::fflush(Out) == 0;
        if (!Written) {
            std::fprintf(Err, "redivev-split: cannot write the listing: %s\n", std::strerror(errno));
            return 1;
        }
    }
    return AllCut ? 0 : 1;
}
