#include "split/CutInput.h"

#include "split/DoneRecord.h"

namespace {

// The file's kind, and for a skipped recording every fact, from its
// headers; a cut recording keeps the length it was cut at, also where a
// FLAC header leaves it open.
void AddFacts(const QByteArray &File, TCutOutcome &Outcome)
{
    QByteArray Error;
    const std::optional<TRecordingFacts> Read = ReadRecordingFacts(File, Error);
    if (!Read) {
        if (Outcome.Skipped) {
            Outcome.Error = Error;
            Outcome.Areas.clear();
        }
        return;
    }
    if (Outcome.Skipped)
        Outcome.Facts = *Read;
    else
        Outcome.Facts.Kind = Read->Kind;
}

} // namespace

TCutOutcome CutInput(const QByteArray &File, const TCutTarget &Target, const TSplitOptions &Options,
                     const std::function<void(double Share)> &Share)
{
    TCutOutcome Outcome;
    if (Options.Batch.SkipDone && !Options.List) {
        if (std::optional<TExportRecord> Done = MatchingDoneRecord(File, Target.Folder, Options)) {
            Outcome.Rate = Done->Rate;
            Outcome.Areas = std::move(Done->Areas);
            Outcome.Container = Done->Container;
            for (std::size_t I = 0; I < Outcome.Areas.size(); ++I)
                Outcome.PieceFiles.push_back(Done->Files[I].Name);
            Outcome.Skipped = true;
        }
    }
    if (!Outcome.Skipped)
        Outcome = CutRecording(File, Target, Options, Share);
    if (Outcome.Error.isEmpty())
        AddFacts(File, Outcome);
    return Outcome;
}
