#include "CutRecording.h"

#include "ExportFolder.h"
#include "MappedRecording.h"
#include "Normalisation.h"
#include "TrimDetection.h"
#include "ZuWAVE.h"

#include <exception>
#include <memory>

namespace {

void Cut(const QByteArray &File, const TCutTarget &Target, const TSplitOptions &Options,
         const std::function<void(double)> &Share, TCutOutcome &Outcome)
{
    const TMappedRecording Recording(File.toStdString());
    TSampleView View = Recording.View();
    // The wave lives and dies in this thread: it is a QObject.
    std::unique_ptr<TZuWave> Wave;
    if (Options.Normalise) {
        // Normalising rewrites the samples, so they need a block of their
        // own; a silent or tiny recording is cut as it is.
        Wave = std::make_unique<TZuWave>(nullptr);
        Recording.LoadInto(*Wave);
        NormaliseRecording(*Wave);
        View = SampleViewOf(*Wave);
    }
    Outcome.Rate = View.Format.nSamplesPerSec;
    const TSettingsAtRate Settings = TrimSettingsAt(Options, Outcome.Rate);
    if (!Settings.Settings) {
        Outcome.Error = Settings.Error.toUtf8();
        return;
    }
    Outcome.Areas = DetectTrimAreas(View, *Settings.Settings);
    if (Options.List)
        return;

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
    Job.Progress = [&](std::int32_t Written) { Share(double(Written) / Job.Count); };
    Job.WaitForFolder = Target.Waiting;
    WriteExportFolder(Job);
}

} // namespace

TCutOutcome CutRecording(const QByteArray &File, const TCutTarget &Target, const TSplitOptions &Options,
                         const std::function<void(double Share)> &Share)
{
    TCutOutcome Outcome;
    try {
        Cut(File, Target, Options, Share, Outcome);
    } catch (const EExportOverwritesRecording &Error) {
        Outcome.Error = "a piece would replace a recording being cut, so none was written: "
            + QByteArray::fromStdString(Error.FilePath);
    } catch (const EExportFailed &Error) {
        Outcome.Error = QByteArray::fromStdString(Error.FilePath) + ": " + Error.Reason.toUtf8();
    } catch (const std::exception &Error) {
        Outcome.Error = Error.what();
    }
    if (!Outcome.Error.isEmpty())
        Outcome.Areas.clear();
    return Outcome;
}
