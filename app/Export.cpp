// Trim areas into sound the user keeps or hears: extraction into ZU2, the
// batch export into MakedFile, and playing the area under a right-click.
#include "Export.h"

#include "PaintBox.h"
#include "Unit1.h"
#include "WaitCursor.h"

#include <QDir>

#include <cstring>

void CopyFramesPerSample(TZuWave &Source, TZuWave &Target, std::int32_t StartPos, std::int32_t Length)
{
    const std::int32_t Channels = Source.GetChannels();
    for (std::int32_t P = 0; P < Length; ++P)
        for (std::int32_t Ch = 0; Ch < Channels; ++Ch)
            Target.SetPosValue(Ch, P, Source.GetPosValue(Ch, StartPos + P));
}

bool CopyFramesDirect(TZuWave &Source, TZuWave &Target, std::int32_t StartPos, std::int32_t Length)
{
    const TZuInternalWAVE *From = Source.InternalWave();
    TZuInternalWAVE *To = Target.InternalWave();
    if (From == nullptr || To == nullptr || !ZuDetail::ReadableLayout(From->FFormat) || To->FRefCount != 1
        || To->FFormat.wFormatTag != From->FFormat.wFormatTag || To->FFormat.nChannels != From->FFormat.nChannels
        || To->FFormat.wBitsPerSample != From->FFormat.wBitsPerSample)
        return false;
    // Out-of-range areas take the per-sample way, which raises at the first
    // position outside the recording, as it should.
    if (StartPos < 0 || Length < 0 || std::int64_t(StartPos) + Length > ZuDetail::FrameCount(*From)
        || ZuDetail::FrameCount(*To) != Length)
        return false;
    const std::int64_t FrameBytes = ZuDetail::FrameBytes(From->FFormat);
    if (Length > 0)
        std::memcpy(To->FData, From->FData + StartPos * FrameBytes, static_cast<std::size_t>(Length * FrameBytes));
    return true;
}

void TForm1::ExtractArea(std::int32_t Index)
{
    if (Index < 0 || Index >= FAreaCount || static_cast<std::size_t>(Index) >= FAreas.size())
        throw Exception("TForm1.ExtractArea: no trim area " + std::to_string(Index));
    const TTrimArea Area = FAreas[static_cast<std::size_t>(Index)];
    ZU2->SetFreq(ZU->GetFreq());
    ZU2->SetChannels(ZU->GetChannels());
    ZU2->SetBits(ZU->GetBits());
    const std::int32_t Length = Area.EndPos - Area.StartPos;
    ZU2->SetWaveSize(Length);
    if (!CopyFramesDirect(*ZU, *ZU2, Area.StartPos, Length))
        CopyFramesPerSample(*ZU, *ZU2, Area.StartPos, Length);
}

void TForm1::N6Click()
{
    const QString Folder = ExportFolder(*this);
    bool Failed = false;
    {
        TWaitCursor Wait;
        // An existing folder is fine, and one that cannot be made shows up
        // as the failure of the first save.
        QDir().mkdir(Folder);
        const std::int32_t Count = FAreaCount;
        for (std::int32_t I = 0; I < Count && !Failed; ++I) {
            try {
                ExtractArea(I);
                SaveWaveWhole(*ZU2, ExportFileName(Folder, I));
            } catch (...) {
                Failed = true;
            }
        }
        if (!Failed)
            PB->repaint();
    }
    if (Failed) {
        ShowMessage(QStringLiteral("元のwavファイルに問題があります"));
        return;
    }
    if (AskYesNo(QStringLiteral("情報"), QStringLiteral("分割しました。作成されたデータのフォルダを開きますか？")))
        OpenFolder(Folder);
}

void TForm1::Playthistrimarea1Click()
{
    TWaitCursor Wait;
    for (std::int32_t I = 0; I < FAreaCount && static_cast<std::size_t>(I) < FAreas.size(); ++I) {
        const TTrimArea Area = FAreas[static_cast<std::size_t>(I)];
        if (Area.StartPos < FClickPos && FClickPos < Area.EndPos) {
            ZU2->Stop();
            ExtractArea(I);
            ZU2->Play();
        }
    }
}
