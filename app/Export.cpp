// Trim areas into sound the user keeps or hears: extraction into ZU2, the
// batch export into MakedFile, and playing the area under a right-click.
// Pieces are written in the recording's own format; what is played is at
// most 16 bits and two channels, all the wave library plays.
#include "app/Export.h"

#include "app/BackgroundWork.h"
#include "app/LargeExport.h"
#include "app/FormatReport.h"
#include "app/PaintBox.h"
#include "app/PlayableCopy.h"
#include "app/RecordingLoad.h"
#include "app/ShrunkRecording.h"
#include "app/Unit1.h"
#include "app/WaitCursor.h"

#include <QFile>

#include <algorithm>
#include <atomic>

void TForm1::ExtractArea(std::int32_t Index)
{
    if (Index < 0 || Index >= FAreaCount || static_cast<std::size_t>(Index) >= FAreas.size())
        throw Exception("TForm1.ExtractArea: no trim area " + std::to_string(Index));
    const TTrimArea &Area = FAreas[static_cast<std::size_t>(Index)];
    // Sample by sample through ZU where the library reads the recording's
    // format; from the samples as they lie where only the engine does.
    if (ZU->GetWaveSize() > 0 || !FMapped)
        ExtractTrimArea(*ZU, Area, *ZU2);
    else
        CopyPlayable(RecordingView(), Area, *ZU2);
}

void TForm1::N6Click()
{
    if (RefuseShrunkRecording(*this) || RepeatUnreadableFormat(*this))
        return;
    const QString Folder = ExportFolder(*this);
    const auto Count = static_cast<std::int32_t>(std::min<std::int64_t>(FAreaCount, std::int64_t(FAreas.size())));
    const TSampleView Recording = RecordingView();
    if (!ConfirmLargeExport(*this, Recording, FAreas.data(), Count))
        return;
    QString Failure;
    {
        TWaitCursor Wait;
        std::atomic<bool> FolderAwaited{false};
        TExportJob Job{Recording, FAreas.data(), Count, QFile::encodeName(Folder).toStdString(), {}, {}, {}};
        if (FRecordingFile)
            Job.RecordingFiles.push_back(*FRecordingFile);
        Job.Names = FPieceNames;
        bool Completed = false;
        try {
            Completed = RunInBackground(this, tr("切り出した範囲を保存しています...\n") + Folder,
                                        [&](TBackgroundWork &Work) {
                Job.WaitForFolder = [&](std::chrono::milliseconds) {
                    if (!FolderAwaited.exchange(true))
                        Work.Say(tr("出力先のフォルダには別の分割が書き込み中です。終わるのを待っています。\n")
                                 + Folder);
                    return !Work.Cancelled();
                };
                // Files are put in place whole: stopping between two
                // leaves the folder as a kill would.
                Job.Progress = [&](std::int32_t Written) {
                    if (FolderAwaited.exchange(false))
                        Work.Say({});
                    Work.Report(double(Written) / std::max(Job.Count, 1));
                    if (Work.Cancelled())
                        throw EWorkCancelled();
                };
                WriteExportFolder(Job);
            });
            if (Completed && Count > 0
                && FitsPlayable(Recording, FAreas[static_cast<std::size_t>(Count - 1)]))
                // The scratch wave ends holding the last area saved, when a
                // wave can hold it: a longer piece is written all the same.
                ExtractArea(Count - 1);
        } catch (const EExportOverwritesRecording &Error) {
            Failure = tr("開いているwavファイルが出力先にあるため分割できません\n") + Error.Path;
        } catch (const EExportReadFailed &Error) {
            Failure = tr("元のwavファイルに問題があります\n") + Error.Path + QStringLiteral(": ")
                + Error.Reason;
        } catch (const EExportFailed &Error) {
            // Disk full, read-only, no permission: the recording is fine.
            Failure = tr("出力先のフォルダに書き込めません\n") + Error.Path + QStringLiteral(": ")
                + Error.Reason;
        }
        if (!Completed && Failure.isEmpty())
            Failure = FolderAwaited ? tr("出力先のフォルダは別の分割が使用中のため、分割を取り消しました\n") + Folder
                                    : tr("保存を取り消しました。それまでに保存したファイルは出力先に残っています\n")
                    + Folder;
        if (Failure.isEmpty())
            PB->repaint();
    }
    if (!Failure.isEmpty()) {
        ShowMessage(Failure);
        return;
    }
    MarkAreasSaved();
    if (AskYesNo(tr("情報"), tr("分割しました。作成されたデータのフォルダを開きますか？") + QLatin1Char('\n')
                     + tr("%n個のファイル: %1", nullptr, int(Count)).arg(Folder)))
        OpenFolder(Folder);
}

void TForm1::Playthistrimarea1Click()
{
    if (RefuseShrunkRecording(*this))
        return;
    bool Played = false;
    {
        TWaitCursor Wait;
        for (std::int32_t I = 0; I < FAreaCount && static_cast<std::size_t>(I) < FAreas.size(); ++I) {
            const TTrimArea Area = FAreas[static_cast<std::size_t>(I)];
            if (Area.StartPos < FClickPos && FClickPos < Area.EndPos) {
                ZU2->Stop();
                ExtractArea(I);
                ZU2->Play();
                StartPlayhead(Area.StartPos, Area.EndPos);
                Played = true;
            }
        }
    }
    // The wave library plays two channels at most.
    if (Played && RecordingView().Format.nChannels > 2 && !FChannelsNoticeGiven) {
        FChannelsNoticeGiven = true;
        ShowMessage(tr("このwavファイルの3チャンネル目以降は再生されません"));
    }
}
