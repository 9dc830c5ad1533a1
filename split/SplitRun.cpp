#include "split/SplitRun.h"

#include "platform/FolderWriter.h"
#include "split/AreaListing.h"
#include "split/CutRecording.h"
#include "split/NameBytes.h"
#include "split/ProgressBar.h"

#include <QHash>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cerrno>
#include <cstring>
#include <exception>
#include <optional>
#include <thread>
#include <vector>

#include <sys/stat.h>

namespace {

// The name a file's folder of pieces gets: its file name without the
// extension of a recording (".wav", ".flac", ...). Nothing for a name that
// would be no folder of its own ("", "." or "..", from "dir/", "..wav" or
// "...wav").
std::optional<QByteArray> FolderName(const QByteArray &File)
{
    QByteArray Name = File.mid(File.lastIndexOf('/') + 1);
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

// The folder each file's pieces go to: the output folder itself for one
// file, else a folder per file named after it. Two files of the same name
// would write over each other's pieces, so the later one gets no folder
// and an error instead.
std::vector<QByteArray> PieceFolders(const TSplitOptions &Options, std::vector<TCutOutcome> &Outcomes)
{
    std::vector<QByteArray> Folders(Options.Files.size());
    if (Options.Files.size() == 1) {
        Folders[0] = Options.OutDir;
        return Folders;
    }
    QHash<QByteArray, QByteArray> Owners;
    for (qsizetype I = 0; I < Options.Files.size(); ++I) {
        const QByteArray &File = Options.Files[I];
        const std::optional<QByteArray> Name = FolderName(File);
        if (!Name) {
            Outcomes[I].Error = "no folder of its pieces can be named after it; rename the file";
            continue;
        }
        const QByteArray Folder = Options.OutDir + '/' + *Name;
        const auto Owner = Owners.constFind(Folder);
        if (Owner != Owners.constEnd())
            Outcomes[I].Error = "its pieces would go to " + Folder + ", with those of " + *Owner;
        else
            Owners.insert(Folder, File);
        Folders[I] = Folder;
    }
    return Folders;
}

// The files the run's names lead to now, and the links among the names. A
// piece must replace none of them: not the file being cut, and not another
// recording still to be cut or being cut meanwhile. A name that leads
// nowhere fails on its own later.
std::vector<TFileIdentity> InputIdentities(const QByteArrayList &Files)
{
    std::vector<TFileIdentity> Inputs;
    for (const QByteArray &File : Files) {
        struct stat Info {};
        if (::stat(File.constData(), &Info) == 0)
            Inputs.push_back({Info.st_dev, Info.st_ino});
        if (::lstat(File.constData(), &Info) == 0 && S_ISLNK(Info.st_mode))
            Inputs.push_back({Info.st_dev, Info.st_ino});
    }
    return Inputs;
}

// Runs Work on up to Count threads, this one among them. Threads that the
// system refuses (a process limit, no memory for a stack) are gone
// without: those that started share the work, at least this one.
void RunOnThreads(qsizetype Count, const std::function<void()> &Work)
{
    std::vector<std::thread> Threads;
    for (qsizetype I = 1; I < Count; ++I) {
        try {
            Threads.emplace_back(Work);
        } catch (const std::exception &) {
            break;
        }
    }
    Work();
    for (std::thread &Thread : Threads)
        Thread.join();
}

// The listing on Out; the error number of the call that failed, or 0.
int WriteListing(const QByteArray &Text, std::FILE *Out)
{
    errno = 0;
    if (std::fwrite(Text.constData(), 1, std::size_t(Text.size()), Out) != std::size_t(Text.size()))
        return errno != 0 ? errno : EIO;
    return std::fflush(Out) == 0 ? 0 : errno;
}

} // namespace

int RunSplit(const TSplitOptions &Options, std::FILE *Out, std::FILE *Err, bool ShowProgress)
{
    const qsizetype Count = Options.Files.size();
    std::vector<TCutOutcome> Outcomes(Count);
    const std::vector<QByteArray> Folders = PieceFolders(Options, Outcomes);
    if (!Options.List) {
        // Made with its parents before any file is read; one that cannot be
        // is one failure, not one for each file.
        try {
            const TFolderWriter Made(Options.OutDir.toStdString());
        } catch (const EFileSystemError &Error) {
            std::fputs(Printable("redivev-split: " + QByteArray::fromStdString(Error.Path) + ": "
                                 + QByteArray::fromStdString(Error.Reason))
                           .append('\n')
                           .constData(),
                       Err);
            return 1;
        }
    }
    const std::vector<TFileIdentity> Inputs = InputIdentities(Options.Files);

    {
        // Gone, and its line cleared, before the listing is written.
        TProgressBar Progress(Err, int(Count), ShowProgress);
        std::atomic<qsizetype> Next = 0;
        auto Work = [&] {
            for (qsizetype I = Next++; I < Count; I = Next++) {
                const QByteArray &File = Options.Files[I];
                if (Outcomes[I].Error.isEmpty()) {
                    TCutTarget Target{Folders[I], Inputs, {}};
                    Target.Waiting = [&](std::chrono::milliseconds Waited) {
                        if (Waited.count() == 0)
                            Progress.ErrorLine("redivev-split: " + Folders[I]
                                               + ": waiting for another export into this folder to finish");
                        return true;
                    };
                    const QByteArray Name = File.mid(File.lastIndexOf('/') + 1);
                    Outcomes[I] = CutRecording(File, Target, Options,
                                               [&](double Share) { Progress.Share(Name, Share); });
                }
                if (!Outcomes[I].Error.isEmpty())
                    Progress.ErrorLine("redivev-split: " + File + ": " + Outcomes[I].Error);
                Progress.FileDone();
            }
        };
        RunOnThreads(std::min<qsizetype>(Options.Jobs, Count), Work);
    }

    bool AllCut = true;
    std::vector<TListedRecording> Listed;
    for (qsizetype I = 0; I < Count; ++I) {
        if (!Outcomes[I].Error.isEmpty()) {
            AllCut = false;
            continue;
        }
        if (Options.List && Options.Auto) {
            const QByteArray Line = "redivev-split: " + Options.Files[I] + ": " + Outcomes[I].Chosen;
            std::fputs(Printable(Line).append('\n').constData(), Err);
        }
        if (Options.List)
            Listed.push_back({Options.Files[I], Outcomes[I].Rate, std::move(Outcomes[I].Areas)});
    }
    if (Options.List) {
        const QByteArray Listing = Options.Labels ? Outcomes[0].LabelText
            : Options.Json                        ? JsonListing(Listed)
                                                  : CsvListing(Listed);
        const int Error = WriteListing(Listing, Out);
        if (Error != 0) {
            std::fprintf(Err, "redivev-split: cannot write the listing to stdout: %s\n", std::strerror(Error));
            return 1;
        }
    }
    return AllCut ? 0 : 1;
}
