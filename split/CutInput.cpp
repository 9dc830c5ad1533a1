#include "split/CutInput.h"

#include "split/DoneRecord.h"

TCutOutcome CutInput(const QByteArray &File, const TCutTarget &Target, const TSplitOptions &Options,
                     const std::function<void(double Share)> &Share)
{
    if (Options.Batch.SkipDone && !Options.List) {
        if (std::optional<TExportRecord> Done = MatchingDoneRecord(File, Target.Folder, Options)) {
            TCutOutcome Outcome;
            Outcome.Rate = Done->Rate;
            Outcome.Areas = std::move(Done->Areas);
            Outcome.Container = Done->Container;
            for (std::size_t I = 0; I < Outcome.Areas.size(); ++I)
                Outcome.PieceFiles.push_back(Done->Files[I].Name);
            Outcome.Skipped = true;
            return Outcome;
        }
    }
    return CutRecording(File, Target, Options, Share);
}
