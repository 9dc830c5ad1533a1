#include "split/CutInput.h"

#include "split/DoneRecord.h"

TCutOutcome CutInput(const QByteArray &File, const TCutTarget &Target, const TSplitOptions &Options,
                     const std::function<void(double Share)> &Share)
{
    const bool Marked = Options.Batch.SkipDone && !Options.List;
    if (Marked) {
        if (std::optional<TDoneRecord> Done = MatchingDoneRecord(File, Target.Folder, Options)) {
            TCutOutcome Outcome;
            Outcome.Rate = Done->Rate;
            Outcome.Areas = std::move(Done->Areas);
            Outcome.Container = Done->Container;
            Outcome.Skipped = true;
            return Outcome;
        }
    }
    if (!Options.List) {
        TCutOutcome Outcome;
        Outcome.Error = RemoveDoneRecord(Target.Folder);
        if (!Outcome.Error.isEmpty())
            return Outcome;
    }
    // Taken before the cut: a source changed during it is cut again.
    std::optional<TDoneRecord> Record = SourceStamp(File);
    TCutOutcome Outcome = CutRecording(File, Target, Options, Share);
    if (!Marked || !Outcome.Error.isEmpty() || !Record)
        return Outcome;
    Record->Settings = SettingsText(Options, Outcome.Rate);
    Record->Rate = Outcome.Rate;
    Record->Container = Outcome.Container;
    Record->Areas = Outcome.Areas;
    const QByteArray Error = WriteDoneRecord(Target.Folder, *Record);
    if (!Error.isEmpty()) {
        Outcome.Error = "its pieces are written, but the record that they are complete is not: " + Error;
        Outcome.Areas.clear();
    }
    return Outcome;
}
