#include "split/CutRecording.h"

#include "engine/ExportFolder.h"
#include "engine/FlacStream.h"
#include "engine/LabelFile.h"
#include "engine/LeftOutSound.h"
#include "engine/MappedReads.h"
#include "engine/MappedRecording.h"
#include "engine/Normalisation.h"
#include "engine/PieceNames.h"
#include "engine/SampleFormat.h"
#include "engine/SuggestSettings.h"
#include "engine/TrimDetection.h"
#include "split/DoneRecord.h"
#include "split/LabelAreas.h"
#include "wave/ZuWAVE.h"

#include <exception>

namespace {

// How much of a recording the scan keeps mapped behind it; one larger than
// a few times this is let go of as the scan passes, so that a job's memory
// does not grow with the length of what it cuts.
constexpr std::int64_t HeldBehind = std::int64_t(64) << 20;

// Progress that lets the pages behind the scan go.
TDetectionProgress ReleaseBehind(const TMappedRecording &Recording)
{
    const std::int64_t Size = Recording.View().DataSize;
    if (Size <= 4 * HeldBehind)
        return {};
    return [&Recording, Size, Released = std::int64_t(0)](double Share) mutable {
        const std::int64_t Before = std::int64_t(Share * double(Size)) - HeldBehind;
        if (Before - Released >= HeldBehind) {
            Recording.ReleaseBefore(Before);
            Released = Before;
        }
        return true;
    };
}

// How a floor that moved did, for the summary: ", followed as it rose
// from -65.0 to -40.0 dBFS".
QByteArray FloorMoved(const TFloorTrack &Floor)
{
    if (!Floor.Moves())
        return {};
    const TFloorMovement Moved = FloorMovementOf(Floor);
    const auto Db = [](double Value) { return QByteArray::number(Value, 'f', 1); };
    // Rising or falling when it went no lower than where it started or
    // ended, give or take a dB.
    if (Moved.LowestDb >= std::min(Moved.StartDb, Moved.EndDb) - 1 && Moved.HighestDb <= std::max(Moved.StartDb, Moved.EndDb) + 1)
        return ", followed as it " + QByteArray(Moved.StartDb < Moved.EndDb ? "rose" : "fell") + " from "
            + Db(Moved.StartDb) + " to " + Db(Moved.EndDb) + " dBFS";
    return ", followed as it moved between " + Db(Moved.LowestDb) + " and " + Db(Moved.HighestDb) + " dBFS";
}

// The areas detection finds with the options' settings; false, with the
// outcome's error, when a setting does not fit at the recording's rate.
bool DetectAreas(const TMappedRecording &Recording, const TSplitOptions &Options, TCutOutcome &Outcome)
{
    const TSampleView &View = Recording.View();
    std::optional<TSuggestedSettings> Suggested;
    if (Options.Auto) {
        ReadMapped([&] { Suggested = SuggestTrimSettings(View, Options.Target); });
        Recording.ReleaseBefore(View.DataSize);
    }
    const TSettingsAtRate Settings =
        TrimSettingsAt(Options, Outcome.Rate, Suggested ? &Suggested->Settings : nullptr);
    if (!Settings.Settings) {
        Outcome.Error = Settings.Error.toUtf8();
        return false;
    }
    if (Suggested && Suggested->SpeechFound)
        Outcome.Chosen = SettingsAsOptions(*Settings.Settings) + " (noise floor "
            + QByteArray::number(Suggested->NoiseFloorDb, 'f', 1) + " dBFS" + FloorMoved(Suggested->Floor) + ", speech "
            + QByteArray::number(Suggested->SpeechLevelDb, 'f', 1) + " dBFS)";
    else if (Suggested)
        Outcome.Chosen = SettingsAsOptions(*Settings.Settings)
            + (Suggested->NoiseFloorDb <= SilenceDb
                   ? QByteArray(" (the recording is silent: no speech to cut)")
                   : " (no quiet stretch to measure a noise floor from: the recording stays near "
                       + QByteArray::number(Suggested->NoiseFloorDb, 'f', 1)
                       + " dBFS, with nothing louder to take for speech)");
    Outcome.NoSpeechFound = Suggested && !Suggested->SpeechFound;
    // A file shortened by another program meanwhile becomes this file's
    // error instead of a signal that ends the run.
    std::vector<TTrimArea> &Areas = Outcome.Areas;
    const TTrimSettings &Trim = *Settings.Settings;
    std::int32_t Count = 0;
    const TDetectionProgress Release = ReleaseBehind(Recording);
    const TFloorTrack Floor = Suggested ? FloorFor(*Suggested, Trim) : TFloorTrack{};
    ReadMapped([&] { DetectTrimAreas(View, Trim, Floor, Areas, Count, Release); });
    Recording.ReleaseBefore(View.DataSize);
    Areas.resize(static_cast<std::size_t>(Count));
    if (Suggested) {
        const TLeftOutSound Left = LeftOutSound(Suggested->LevelsDb, Outcome.Rate, Suggested->NoiseFloorDb, Areas, Count, Floor);
        if (Left.Stretches > 0)
            Outcome.LeftOut = QByteArray::number(Left.Stretches)
                + (Left.Stretches == 1 ? " stretch of sound" : " stretches of sound") + " up to "
                + QByteArray::number(Left.LoudestDb, 'f', 1) + " dBFS, "
                + QByteArray::number(Left.AboveFloorDb, 'f', 1)
                + " dB above the noise floor, lie in no piece (the first at "
                + QByteArray::number(Left.FirstSeconds, 'f', 2) + " s)";
    }
    return true;
}

void Cut(const QByteArray &File, const TCutTarget &Target, const TSplitOptions &Options,
         const std::function<void(double)> &Share, TMappedRecording::TFlac Flac, TCutOutcome &Outcome)
{
    // Taken before the cut: a source changed during it is cut again.
    const std::optional<TFileStamp> Source = SourceStamp(File);
    // A FLAC recording is decoded as the cut reads it, so that neither
    // memory nor a temporary file grows with its length; normalising
    // needs all of its samples at once anyway.
    TMappedRecording Recording(File.toStdString(), TMappedRecording::TAccess::ReadOnly,
                               Options.Normalise ? TMappedRecording::TFlac::Whole : Flac);
    if (Options.Normalise) {
        // Normalising rewrites the samples, so they need a block of their
        // own; a silent or tiny recording is cut as it is.
        Recording.CopyIntoMemory();
        NormaliseSamples(const_cast<std::uint8_t *>(Recording.View().Data), Recording.View());
    }
    const TSampleView &View = Recording.View();
    Outcome.Rate = View.Format.nSamplesPerSec;
    Outcome.Facts = FactsOfView(View, View.Container == TContainer::Flac ? TFileKind::Flac : TFileKind::Unknown);
    Outcome.Container = View.Container;
    std::vector<TTrimArea> &Areas = Outcome.Areas;
    QStringList Labels;
    std::vector<TFileIdentity> LabelFiles;
    if (!Options.AreasFile.isEmpty() || Options.AreasBeside) {
        // A damaged recording is refused before its labels are read.
        Recording.Verify();
        TLabelAreas Read = ReadLabelAreas(Options.AreasBeside ? LabelFileBeside(File) : Options.AreasFile,
                                          Outcome.Rate, FrameCountOf(View));
        if (!Read.Error.isEmpty()) {
            Outcome.Error = Read.Error;
            return;
        }
        Areas = std::move(Read.Areas);
        Labels = Read.Labels;
        if (Read.File)
            LabelFiles.push_back(*Read.File);
    } else if (!DetectAreas(Recording, Options, Outcome)) {
        return;
    }
    // Detection may not have read to the end: a recording damaged past
    // what it read is refused before anything is listed or written.
    Recording.Verify();
    std::vector<std::string> Names;
    if (Options.NameFromLabels)
        Names = PieceNamesFromLabels(Labels);
    if (Options.Labels) {
        QStringList Stems;
        for (std::size_t I = 0; I < Areas.size(); ++I)
            Stems << QString::fromStdString(I < Names.size() ? Names[I] : NumberedPieceName(int(I)));
        Outcome.LabelText = LabelFileText(Areas, Outcome.Rate, Stems);
    }
    if (Options.List)
        return;
    if (const std::string Problem = ConversionProblem(View.Format, Options.Convert); !Problem.empty()) {
        Outcome.Error = QByteArray::fromStdString(Problem);
        return;
    }

    TExportJob Job;
    Job.Recording = View;
    Job.Areas = Outcome.Areas.data();
    Job.Count = static_cast<std::int32_t>(Outcome.Areas.size());
    Job.Folder = Target.Folder.toStdString();
    Job.RecordingFiles = Target.Inputs;
    // The file as it is open now, should its name have been replaced since
    // the run began.
    if (const std::optional<TFileIdentity> Open = FileIdentityOf(Recording.Handle()))
        Job.RecordingFiles.push_back(*Open);
    Job.Progress = [&](std::int32_t Written) {
        // Pieces are written in order, so what lies before the last one
        // written is not read again.
        if (Written > 0)
            Recording.ReleaseBefore(Outcome.Areas[std::size_t(Written - 1)].EndPos * View.Format.nBlockAlign);
        Share(double(Written) / Job.Count);
    };
    Job.WaitForFolder = Target.Waiting;
    Job.Names = Names;
    Job.RecordingFiles.insert(Job.RecordingFiles.end(), LabelFiles.begin(), LabelFiles.end());
    Job.WriteLabels = Options.Labels;
    Job.Convert = Options.Convert;
    // Without the source's stamp no later run can trust the record.
    if (Source) {
        Job.Settings = SettingsText(Options, Outcome.Rate).toStdString();
        Job.Source = *Source;
    }
    Outcome.PieceFiles = WriteExportFolder(Job);
}

} // namespace

TCutOutcome CutRecording(const QByteArray &File, const TCutTarget &Target, const TSplitOptions &Options,
                         const std::function<void(double Share)> &Share)
{
    TCutOutcome Outcome;
    try {
        try {
            Cut(File, Target, Options, Share, TMappedRecording::TFlac::Streamed, Outcome);
        } catch (const EFlacLongerThanStated &) {
            // Its length is known only once it is decoded whole, and
            // nothing was written before that was found.
            Outcome = {};
            Cut(File, Target, Options, Share, TMappedRecording::TFlac::Whole, Outcome);
        }
    } catch (const EExportOverwritesRecording &Error) {
        const QByteArray Kept = QByteArray::fromStdString(Error.Kept);
        Outcome.Error = "a piece would replace a recording being cut, so none was written: "
            + QByteArray::fromStdString(Error.FilePath);
        if (!Kept.isEmpty() && Kept != QByteArray::fromStdString(Error.FilePath))
            Outcome.Error += " (" + Kept + ")";
    } catch (const EExportFailed &Error) {
        Outcome.Error = QByteArray::fromStdString(Error.FilePath) + ": " + Error.Reason.toUtf8();
    } catch (const std::exception &Error) {
        Outcome.Error = Error.what();
    }
    if (!Outcome.Error.isEmpty())
        Outcome.Areas.clear();
    return Outcome;
}
