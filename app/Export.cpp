// Trim areas into sound the user keeps or hears: extraction into ZU2, the
// batch export into MakedFile, and playing the area under a right-click.
// Pieces are written in the recording's own format; what is played is at
// most 16 bits and two channels, all the wave library plays.
#include "app/Export.h"

#include "app/LargeExport.h"
#include "app/FormatReport.h"
#include "app/PaintBox.h"
#include "app/ShrunkRecording.h"
#include "app/Unit1.h"
#include "app/WaitCursor.h"

#include <algorithm>

void TForm1::ExtractArea(std::int32_t Index)
{
    Document.ExtractArea(Index, *ZU2);
}

void TForm1::N6Click()
{
    if (RefuseShrunkRecording(*this) || RepeatUnreadableFormat(*this))
        return;
    const QString Folder = ExportFolder(*this);
    const auto Count = static_cast<std::int32_t>(std::min<std::int64_t>(FAreaCount, std::int64_t(FAreas.size())));
    if (!ConfirmLargeExport(*this, Document.RecordingView(), FAreas.data(), Count))
        return;
    QString Failure;
    {
        TWaitCursor Wait;
        Failure = Commands.Export(Folder, FPieceNames);
        if (Failure.isEmpty())
            PB->repaint();
    }
    if (!Failure.isEmpty()) {
        ShowMessage(Failure);
        return;
    }
    Document.MarkAreasSaved();
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
                WaveView->StartPlayhead(Area.StartPos, Area.EndPos);
                Played = true;
            }
        }
    }
    // The wave library plays two channels at most.
    if (Played && Document.RecordingView().Format.nChannels > 2 && Document.FirstChannelsNotice()) {
        ShowMessage(tr("このwavファイルの3チャンネル目以降は再生されません"));
    }
}
