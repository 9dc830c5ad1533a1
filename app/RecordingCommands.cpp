#include "app/RecordingCommands.h"

#include "app/BackgroundWork.h"
#include "app/FormatReport.h"
#include "app/PlayableCopy.h"
#include "app/RecordingDocument.h"
#include "app/RecordingLoad.h"
#include "app/WaitCursor.h"
#include "engine/ExportFolder.h"
#include "engine/LeftOutSound.h"
#include "engine/LevelBand.h"
#include "engine/MappedRecording.h"
#include "engine/RecordingLevels.h"
#include "engine/TrimDetection.h"
#include "platform/Exception.h"
#include "platform/Streams.h"
#include "wave/ZuWAVE.h"

#include <QFile>

#include <algorithm>
#include <atomic>
#include <cmath>

TRecordingCommands::TRecordingCommands(TRecordingDocument &Document, TZuWave &Scratch, QWidget *Parent)
    : FDocument(Document), FScratch(Scratch), FParent(Parent)
{
}

std::optional<TRecordingCommands::TOpened> TRecordingCommands::Open(const std::string &FileName)
{
    const QString Shown = QFile::decodeName(QByteArray::fromStdString(FileName));
    TFileStream Stream(FileName, TFileStream::TMode::OpenRead);
    TFreshRecording Fresh;
    try {
        const TLoadPath Path = ChooseLoadPath(Stream);
        std::shared_ptr<TMappedRecording> Mapped;
        // A long recording (or one to decode) is mapped off the window's
        // thread, which keeps painting; a short one at once.
        if ((Path == TLoadPath::InPlace || Path == TLoadPath::Engine) && Stream.Size() > (std::int64_t(64) << 20)) {
            const bool Done = RunInBackground(FParent, tr("読み込んでいます...") + QLatin1Char('\n') + Shown,
                                              [&](TBackgroundWork &Work) {
                                                  Mapped = MapRecording(FileName, [&Work] { return Work.Cancelled(); });
                                              });
            if (!Done)
                return std::nullopt;
        }
        Fresh.Wave = std::make_unique<TZuWave>(nullptr);
        Fresh.Wave->SetOnNotify(FDocument.Wave().GetOnNotify());
        ReadRecording(FileName, Stream, Path, std::move(Mapped), Fresh);
    } catch (const std::exception &Error) {
        // The cause as the reader words it, then which file it was.
        throw Exception(std::string(Error.what()) + "\n" + Shown.toStdString());
    }
    TOpened Opened{FDocument.Replace(Fresh, Shown)};
    if (!FDocument.Mapped()) {
        Stream.SetPosition(0);
        FDocument.SetFormatRefusal(UnreadableFormatReport(FDocument.Wave(), Stream));
    }
    return Opened;
}

std::optional<QString> TRecordingCommands::Detect(const TTrimSettings &Settings)
{
    TWaitCursor Wait;
    QString LeftOut;
    // Built apart and taken only when complete: a cancelled detection
    // leaves the areas shown as they were.
    std::vector<TTrimArea> Areas;
    std::int32_t Count = 0;
    const TSampleView Recording = FDocument.RecordingView();
    // Auto's levels follow the floor it found, as redivev-split --auto's do.
    const TFloorTrack Floor = FDocument.Suggested ? FloorFor(*FDocument.Suggested, Settings) : TFloorTrack{};
    bool Completed = false;
    try {
        Completed = RunInBackground(FParent, tr("自動切り出しをしています..."), [&](TBackgroundWork &Work) {
            DetectTrimAreas(Recording, Settings, Floor, Areas, Count, [&Work](double Share) {
                Work.Report(Share);
                return !Work.Cancelled();
            });
            // Short pieces kept are a promise that no sound is lost: what
            // still lies in no piece is said.
            if (Settings.JoinShort != 0) {
                // In the band the cuts were read in, where its floor is.
                const std::vector<double> Levels =
                    Settings.Band != BandFull ? BandLevelsDb(Recording, Settings.Band) : WindowLevelsDb(Recording);
                const TLeftOutSound Found = LeftOutSound(Levels, Recording.Format.nSamplesPerSec,
                                                         NoiseFloorOf(Levels).Db, Areas, Count, Floor);
                if (Found.Stretches > 0)
                    LeftOut = tr("。雑音より%1 dB大きい音が%nか所 (最初は%2秒) どの区間にも入っていません", nullptr,
                                 Found.Stretches)
                                  .arg(Found.AboveFloorDb, 0, 'f', 1)
                                  .arg(Found.FirstSeconds, 0, 'f', 2);
            }
        });
    } catch (...) {
        FDocument.AreaCount = 0;
        throw;
    }
    if (!Completed)
        return std::nullopt;
    FDocument.TakeDetected(std::move(Areas), Count);
    return tr("%n個に分割されました", nullptr, FDocument.AreaCount) + LeftOut;
}

std::optional<TRecordingCommands::TSuggestion> TRecordingCommands::Suggest(TPieceTarget Target,
                                                                           std::int32_t MaximumSize)
{
    TWaitCursor Wait;
    TSuggestion Result;
    const TSampleView Recording = FDocument.RecordingView();
    // Read once for the levels and once for the count: long work that keeps
    // the window answering and can be cancelled, leaving the settings as
    // they were.
    const bool Found = RunInBackground(FParent, tr("設定を録音から提案しています..."), [&](TBackgroundWork &Work) {
        Result.Suggested = SuggestTrimSettings(Recording, Target);
        if (Work.Cancelled())
            throw EWorkCancelled();
        TTrimSettings Settings = Result.Suggested.Settings;
        Settings.MaximumSize = MaximumSize;
        std::vector<TTrimArea> Areas;
        DetectTrimAreas(Recording, Settings, Result.Suggested.Floor, Areas, Result.Pieces, [&Work](double Share) {
            Work.Report(Share);
            return !Work.Cancelled();
        });
    });
    if (!Found)
        return std::nullopt;
    FDocument.Suggested = Result.Suggested;
    FDocument.Suggested->LevelsDb.clear();
    return Result;
}

QString TRecordingCommands::Describe(const TSuggestion &Suggestion)
{
    const TSuggestedSettings &Suggested = Suggestion.Suggested;
    const auto Db = [](double Value) {
        return (Value < 0 ? QStringLiteral("\u2212") : QString()) + QString::number(std::abs(Value), 'f', 1);
    };
    // Without a quiet stretch there is no floor to measure, and a level
    // reported for speech would be made up: say so instead.
    if (!Suggested.SpeechFound && Suggested.NoiseFloorDb <= SilenceDb)
        return tr("録音は無音です。切り出す声がありません。自動切り出しで%n個に分割されます", nullptr,
                  Suggestion.Pieces);
    if (!Suggested.SpeechFound)
        return tr("録音はずっと %1 dBFS 前後で、雑音を測れる静かな部分も、声と見なせる大きな部分もありません。"
                  "自動切り出しで%n個に分割されます",
                  nullptr, Suggestion.Pieces)
            .arg(Db(Suggested.NoiseFloorDb));
    return tr("雑音 %1 dBFS、声 %2 dBFS から設定を提案しました。自動切り出しで%n個に分割されます", nullptr,
              Suggestion.Pieces)
        .arg(Db(Suggested.NoiseFloorDb), Db(Suggested.SpeechLevelDb));
}

QString TRecordingCommands::Export(const QString &Folder, const std::vector<std::string> &Names)
{
    TWaitCursor Wait;
    const std::vector<TTrimArea> &Areas = FDocument.Areas;
    const auto Count = static_cast<std::int32_t>(std::min<std::int64_t>(FDocument.AreaCount, std::int64_t(Areas.size())));
    const TSampleView Recording = FDocument.RecordingView();
    std::atomic<bool> FolderAwaited{false};
    TExportJob Job{Recording, Areas.data(), Count, QFile::encodeName(Folder).toStdString(), {}, {}, {}};
    if (FDocument.RecordingFile())
        Job.RecordingFiles.push_back(*FDocument.RecordingFile());
    Job.Names = Names;
    bool Completed = false;
    QString Failure;
    try {
        Completed = RunInBackground(FParent, tr("切り出した範囲を保存しています...\n") + Folder, [&](TBackgroundWork &Work) {
            Job.WaitForFolder = [&](std::chrono::milliseconds) {
                if (!FolderAwaited.exchange(true))
                    Work.Say(tr("出力先のフォルダには別の分割が書き込み中です。終わるのを待っています。\n") + Folder);
                return !Work.Cancelled();
            };
            // Files are put in place whole: stopping between two leaves
            // the folder as a kill would.
            Job.Progress = [&](std::int32_t Written) {
                if (FolderAwaited.exchange(false))
                    Work.Say({});
                Work.Report(double(Written) / std::max(Job.Count, 1));
                if (Work.Cancelled())
                    throw EWorkCancelled();
            };
            WriteExportFolder(Job);
        });
        if (Completed && Count > 0 && FitsPlayable(Recording, Areas[static_cast<std::size_t>(Count - 1)]))
            // The scratch wave ends holding the last area saved, when a
            // wave can hold it: a longer piece is written all the same.
            FDocument.ExtractArea(Count - 1, FScratch);
    } catch (const EExportOverwritesRecording &Error) {
        Failure = tr("開いているwavファイルが出力先にあるため分割できません\n") + Error.Path;
    } catch (const EExportReadFailed &Error) {
        Failure = tr("元のwavファイルに問題があります\n") + Error.Path + QStringLiteral(": ") + Error.Reason;
    } catch (const EExportFailed &Error) {
        // Disk full, read-only, no permission: the recording is fine.
        Failure = tr("出力先のフォルダに書き込めません\n") + Error.Path + QStringLiteral(": ") + Error.Reason;
    }
    if (!Completed && Failure.isEmpty())
        Failure = FolderAwaited
            ? tr("出力先のフォルダは別の分割が使用中のため、分割を取り消しました\n") + Folder
            : tr("保存を取り消しました。それまでに保存したファイルは出力先に残っています\n") + Folder;
    return Failure;
}

TNormaliseResult TRecordingCommands::Normalise()
{
    TWaitCursor Wait;
    return FDocument.Normalise();
}
