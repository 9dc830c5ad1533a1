#include "split/SplitRun.h"

#include "platform/FolderWriter.h"
#include "split/AreaListing.h"
#include "split/CutInput.h"
#include "split/ErrorReport.h"
#include "split/InputList.h"
#include "split/ManifestOutput.h"
#include "split/OutputPlaces.h"
#include "split/NameBytes.h"
#include "split/ProgressBar.h"
#include "split/RunPlan.h"
#include "split/ShardMark.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cerrno>
#include <cstring>
#include <functional>
#include <exception>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include <sys/stat.h>

namespace {

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

void ErrorLine(std::FILE *Err, const QByteArray &Message)
{
    std::fputs(Printable("redivev-split: " + Message).append('\n').constData(), Err);
}

// Made with its parents before any file is read; one that cannot be is
// one failure, not one for each file.
bool MakeOutputFolder(const QByteArray &Folder, std::FILE *Err)
{
    try {
        const TFolderWriter Made(Folder.toStdString());
    } catch (const EFileSystemError &Error) {
        ErrorLine(Err, QByteArray::fromStdString(Error.Path) + ": " + QByteArray::fromStdString(Error.Reason));
        return false;
    }
    return true;
}

// The runs of one array job claim their manifest folder at once, each for
// a moment: a wait is said only when it lasts, as behind an export.
TFolderWait SilentAtFirst(std::FILE *Err)
{
    return [Err, Said = false](std::chrono::milliseconds Waited) mutable {
        if (!Said && Waited >= std::chrono::seconds(1)) {
            std::fputs("redivev-split: waiting for another run that writes into the manifest's folder\n", Err);
            Said = true;
        }
        return true;
    };
}

// Each recording's manifest lines once it and every one before it are
// done, so the manifest keeps the list's order whatever order they end in.
class TOrderedManifest {
public:
    TOrderedManifest(qsizetype Count, TManifestOutput *Output) : FDone(std::size_t(Count)), FOutput(Output) {}
    // Lines of recording Position (done now); those of recordings before
    // it that are still being cut wait for them. The first write error
    // stops the manifest.
    void Done(qsizetype Position, TManifestLines Lines)
    {
        const std::lock_guard<std::mutex> Hold(FLock);
        FDone[std::size_t(Position)] = std::move(Lines);
        for (; FNext < qsizetype(FDone.size()) && FDone[std::size_t(FNext)]; ++FNext) {
            if (FOutput && FError.isEmpty())
                FError = FOutput->Write(*FDone[std::size_t(FNext)]);
            FDone[std::size_t(FNext)].reset();
        }
    }
    QByteArray Error() const { return FError; }

private:
    std::mutex FLock;
    std::vector<std::optional<TManifestLines>> FDone;
    qsizetype FNext = 0;
    TManifestOutput *FOutput;
    QByteArray FError;
};

} // namespace

int RunSplit(const TSplitOptions &Options, std::FILE *Out, std::FILE *Err, bool Terminal)
{
    const std::optional<QByteArrayList> All = AllInputs(Options.Files, Options.Batch, Err);
    if (!All)
        return ExitFailed;
    const TBatchOptions &Batch = Options.Batch;
    const std::vector<TOutputPlace> Places = OutputPlaces(*All, Options);
    const std::vector<qsizetype> Positions = ShardPositions(All->size(), Batch.ShardIndex, Batch.ShardCount);
    const qsizetype Count = qsizetype(Positions.size());
    // Every file the list names, also those of other shards, which other
    // runs may be cutting now.
    const TRunPlan Plan = PlanRun(*All, Places, Options);
    if (!Plan.Clash.isEmpty()) {
        ErrorLine(Err, Plan.Clash + "; nothing was written");
        return ExitFailed;
    }
    const bool Manifested = Batch.Manifest != TManifestFormat::None;
    // Checked before anything is made or emptied; held until the manifest
    // is open.
    TShardMark Mark;
    if (Manifested && !Batch.ManifestOut.isEmpty()) {
        const QByteArray Error = Mark.Claim(Batch.ManifestOut, Batch.ShardCount, Batch.Sharded, SilentAtFirst(Err));
        if (!Error.isEmpty()) {
            ErrorLine(Err, "--manifest-out " + Error);
            return ExitFailed;
        }
    }
    if (!Options.List && !MakeOutputFolder(Options.OutDir, Err))
        return ExitFailed;
    std::vector<TFileIdentity> Inputs = Plan.Reads;
    TManifestOutput Manifest;
    if (Manifested) {
        QByteArray Error = Manifest.Open(Batch, Out, Inputs);
        if (Error.isEmpty())
            Error = Manifest.Write({ManifestHeader(Batch.Manifest, Batch.ShardIndex), {}, {}});
        if (!Error.isEmpty()) {
            ErrorLine(Err, "--manifest-out " + Error);
            return ExitFailed;
        }
        const std::vector<TFileIdentity> Written = ManifestFiles(Batch);
        Inputs.insert(Inputs.end(), Written.begin(), Written.end());
    }
    Mark.Release();
    TErrorReport Errors;
    if (const QByteArray Error = Errors.Open(Options.Report.ErrorsOut, Inputs); !Error.isEmpty()) {
        ErrorLine(Err, "--errors-out " + Error);
        return ExitFailed;
    }
    if (!Options.Report.ErrorsOut.isEmpty())
        for (const TFileIdentity &File : IdentitiesOfRunOutput(Options.Report.ErrorsOut, "--errors-out"))
            Inputs.push_back(File);
    std::vector<TCutOutcome> Outcomes(static_cast<std::size_t>(Count));
    bool Summarise = false;
    TOrderedManifest Ordered(Count, Manifested ? &Manifest : nullptr);

    {
        // Gone, and its line cleared, before the listing is written.
        TProgressBar Progress(Err, int(Count), Options.Report.Progress, Terminal);
        std::atomic<qsizetype> Next = 0;
        auto Work = [&] {
            for (qsizetype K = Next++; K < Count; K = Next++) {
                const qsizetype I = Positions[std::size_t(K)];
                const QByteArray &File = (*All)[I];
                const TOutputPlace &Place = Places[std::size_t(I)];
                TCutOutcome &Outcome = Outcomes[std::size_t(K)];
                Outcome.Error = Place.Error;
                if (Outcome.Error.isEmpty()) {
                    TCutTarget Target{Place.Folder, Inputs, {}};
                    Target.Waiting = [&](std::chrono::milliseconds Waited) {
                        if (Waited.count() == 0)
                            Progress.ErrorLine("redivev-split: " + Place.Folder
                                               + ": waiting for another export into this folder to finish");
                        return true;
                    };
                    const QByteArray Name = File.mid(File.lastIndexOf('/') + 1);
                    Outcome = CutInput(File, Target, Options, [&](double Share) { Progress.Share(Name, Share); });
                }
                TManifestLines Lines;
                if (Manifested && Outcome.Error.isEmpty()) {
                    Lines = ManifestLines(Batch.Manifest, {File, Place.Name, Place.Folder, &Outcome}, Options.List);
                    Outcome.Error = Lines.Error;
                }
                if (!Outcome.Error.isEmpty()) {
                    Progress.ErrorLine("redivev-split: " + File + ": " + Outcome.Error);
                    Errors.Add(File, Outcome.Error);
                }
                Ordered.Done(K, Outcome.Error.isEmpty() ? std::move(Lines) : TManifestLines{});
                Progress.FileDone(Outcome.Rate > 0 ? double(Outcome.Frames) / Outcome.Rate : 0);
            }
        };
        RunOnThreads(std::min<qsizetype>(Options.Jobs, Count), Work);
        Summarise = Progress.WantsSummary();
    }

    TRunTally Tally;
    std::vector<TListedRecording> Listed;
    for (qsizetype K = 0; K < Count; ++K) {
        TCutOutcome &Outcome = Outcomes[std::size_t(K)];
        if (!Outcome.Error.isEmpty()) {
            ++Tally.Failed;
            continue;
        }
        ++(Outcome.Skipped ? Tally.Skipped : Tally.Cut);
        Tally.Pieces += qsizetype(Outcome.Areas.size());
        if (Outcome.Rate > 0)
            Tally.Seconds += double(Outcome.Frames) / Outcome.Rate;
        const QByteArray &File = (*All)[Positions[std::size_t(K)]];
        if (Options.Auto && (Options.List || Outcome.NoSpeechFound)) {
            const QByteArray Line = "redivev-split: " + File + ": " + Outcome.Chosen;
            std::fputs(Printable(Line).append('\n').constData(), Err);
        }
        if (!Outcome.LeftOut.isEmpty())
            std::fputs(Printable("redivev-split: " + File + ": " + Outcome.LeftOut).append('\n').constData(), Err);
        if (Options.List && !Manifested)
            Listed.push_back({File, Outcome.Rate, std::move(Outcome.Areas)});
    }
    if (!Ordered.Error().isEmpty()) {
        ErrorLine(Err, "--manifest-out " + Ordered.Error());
        return ExitFailed;
    }
    if (!Errors.Error().isEmpty()) {
        ErrorLine(Err, "--errors-out " + Errors.Error());
        return ExitFailed;
    }
    if (Options.List && !Manifested) {
        // --labels lists one recording, which a shard may not hold.
        const QByteArray Listing = Options.Labels ? (Outcomes.empty() ? QByteArray() : Outcomes[0].LabelText)
            : Options.Json                        ? JsonListing(Listed)
                                                  : CsvListing(Listed);
        const int Error = WriteListing(Listing, Out);
        if (Error != 0) {
            std::fprintf(Err, "redivev-split: cannot write the listing to stdout: %s\n", std::strerror(Error));
            return ExitFailed;
        }
    }
    // A long run ends with what it did, for the log a scheduler keeps.
    if (Summarise)
        std::fputs((SummaryLine(Tally, Options.List) + '\n').constData(), Err);
    if (Tally.Failed == 0)
        return ExitCut;
    return Tally.Cut + Tally.Skipped > 0 ? ExitSomeFailed : ExitFailed;
}

