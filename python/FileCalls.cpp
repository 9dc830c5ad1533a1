#include "python/FileCalls.h"

#include "split/CutInput.h"
#include "split/ManifestLines.h"
#include "split/ManifestPaths.h"
#include "split/NameBytes.h"
#include "split/OutputPlaces.h"
#include "split/RunPlan.h"

TFileResult CutFile(const QByteArray &File, const TSplitOptions &Options)
{
    TFileResult Result;
    if (!Options.List) {
        const TOutputPlace Place = OutputPlaces({File}, Options).front();
        Result.Folder = Place.Folder;
        Result.Outcome.Error = Place.Error;
        if (!Place.Error.isEmpty())
            return Result;
    }
    Result.Outcome = CutInput(File, {Result.Folder, {}, {}}, Options, [](double) {});
    return Result;
}

std::vector<TBatchFile> CutFiles(const QByteArrayList &Files, const TSplitOptions &Options, TManifestFormat Format)
{
    std::vector<TBatchFile> Results(std::size_t(Files.size()));
    const std::vector<TOutputPlace> Places = OutputPlaces(Files, Options);
    const TRunPlan Plan = PlanRun(Files, Places, Options);
    const TManifestPaths Paths{TBatchOptions{}};
    for (qsizetype I = 0; I < Files.size(); ++I) {
        const QByteArray &File = Files[I];
        const TOutputPlace &Place = Places[std::size_t(I)];
        TBatchFile &Result = Results[std::size_t(I)];
        QByteArray Error = Plan.Clash.isEmpty() ? Place.Error : Plan.Clash;
        if (Error.isEmpty()) {
            const TCutOutcome Outcome = CutInput(File, {Place.Folder, Plan.Reads, {}}, Options, [](double) {});
            Error = Outcome.Error;
            if (Error.isEmpty()) {
                TManifestLines Made =
                    ManifestLines(Format, {Paths.Of(File), Place.Name, Paths.Of(Place.Folder), {}, &Outcome}, false);
                Error = Made.Error;
                Result.Lines = Made.Parts.value(0);
            }
        }
        if (!Error.isEmpty())
            Result = {{}, Printable(File + ": " + Error)};
    }
    return Results;
}
