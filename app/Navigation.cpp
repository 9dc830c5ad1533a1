// Loading a recording, the view's right-click, the "Move" joystick.
#include "app/Unit1.h"

#include "app/FormatReport.h"
#include "app/PaintBox.h"
#include "app/RecordingLoad.h"
#include "app/SettingEdits.h"
#include "app/WindowTitle.h"
#include "engine/SampleFormat.h"
#include "platform/Streams.h"

#include <QFile>
#include <QMenu>
#include <QScrollBar>

#include <algorithm>
#include <cstdint>

void TForm1::FileOpen()
{
    const std::optional<QString> FileName = RunOpenDialog();
    if (!FileName)
        return;
    OpenRecording(QFile::encodeName(*FileName).toStdString());
}

void TForm1::OpenRecording(const std::string &FileName)
{
    // A file that cannot be opened leaves the recording as it was; once it
    // is open, a failed load has already replaced the recording, and the
    // trim areas and the scroll range of the old one must go with it.
    std::optional<TFileStream> Stream(std::in_place, FileName, TFileStream::TMode::OpenRead);
    // The areas shown go with the recording: asked for first, and kept.
    if (!ConfirmLeavingAreas())
        return;
    KeepShownAreas();
    FRecordingKey.reset();
    FRecordingName.clear();
    FSavedAreas.clear();
    FPaintErrorReported = false;
    FChannelsNoticeGiven = false;
    FFormatRefusal.clear();
    const auto ShowNewRecording = [this] {
        FAreaCount = 0;
        // The bar holds an int: a recording of more than 2^31-1 frames is
        // clamped to that, so the view scrolls to frame 2^31-1 and shows the
        // screen from there; detection, the export and play still reach
        // every frame beyond.
        const std::int64_t Frames = FrameCountOf(RecordingView());
        SB->setMaximum(static_cast<int>(std::min<std::int64_t>(Frames, INT32_MAX)));
        // Times typed into the settings count at the new recording's rate.
        FSettingEdits->SetRate(RecordingView().Format.nSamplesPerSec);
        // The envelope levels are the new recording's, read once now: even
        // a block at the old one's address holds other samples.
        FPeaks.reset();
        FitZoomRange();
        // Corrections and their history belong to the recording they were made on.
        FEditor.Reset();
        FCursor.reset();
        FNewArea.reset();
        FDragged.reset();
        PB->repaint();
    };
    FRecordingFile.reset();
    TLoadPath Path = TLoadPath::WaveLibrary;
    try {
        FHeld.reset();
        Path = ChooseLoadPath(*Stream);
        switch (Path) {
        case TLoadPath::WaveLibrary:
            ZU->LoadFromStream(*Stream);
            break;
        case TLoadPath::NotAudio: {
            // The library's own refusal, of an image with nothing in it: at
            // once whatever the file's size (its walk would step through
            // every byte of a file of zeros), and ZU left as a refused load
            // leaves it.
            TMemoryStream Nothing;
            ZU->LoadFromStream(Nothing);
            break;
        }
        case TLoadPath::Engine:
            EmptyWave(*ZU);
            // Its exclusive lock would refuse the engine's shared one.
            Stream.reset();
            FHeld = ReadIntoMemory(FileName);
            FRecordingFile = FHeld->File;
            break;
        }
    } catch (...) {
        ShowRecordingTitle(*this, {});
        ShowNewRecording();
        throw;
    }
    if (Path == TLoadPath::WaveLibrary)
        FRecordingFile = FileIdentityOf(Stream->Handle());
    ShowRecordingTitle(*this, FileName);
    ShowNewRecording();
    if (Path == TLoadPath::WaveLibrary) {
        FFormatRefusal = UnreadableFormatReport(*this, *Stream);
        if (!FFormatRefusal.isEmpty())
            ShowMessage(FFormatRefusal);
    }
    OfferAreasKept(FileName);
}

void TForm1::PBMouseDown(Qt::MouseButton Button, Qt::KeyboardModifiers, int X, int Y)
{
    if (Button != Qt::RightButton)
        return;
    // Wide arithmetic: near the end of a recording of 2^31 frames the sum
    // would overflow 32 bits, and the areas there are counted in 64.
    FClickPos = std::int64_t(SB->value()) + std::int64_t(X) * SBHZ->value();
    // Greyed where it would play nothing: inside an area only, as it plays.
    const auto Count = std::min<std::size_t>(std::size_t(std::max(FAreaCount, 0)), FAreas.size());
    Playthistrimarea1->setEnabled(std::any_of(FAreas.begin(), FAreas.begin() + std::ptrdiff_t(Count),
                                              [this](const TTrimArea &Area) {
                                                  return Area.StartPos < FClickPos && FClickPos < Area.EndPos;
                                              }));
    PM->popup(PB->mapToGlobal(QPoint(X, Y)));
}

void TForm1::Button2MouseDown(Qt::MouseButton, Qt::KeyboardModifiers, int X, int Y)
{
    FMoving = true;
    FDownX = X;
    FDownY = Y;
    FMoveDX = 0;
    FMoveDY = 0;
}

void TForm1::Button2MouseMove(Qt::KeyboardModifiers, int X, int Y)
{
    FMoveDX = X - FDownX;
    FMoveDY = Y - FDownY;
}

void TForm1::Button2MouseUp(Qt::MouseButton, Qt::KeyboardModifiers, int, int)
{
    FMoving = false;
}

void TForm1::Timer1Timer()
{
    if (!FMoving)
        return;
    // Wide arithmetic: a position near 2^31 plus the joystick's distance
    // would overflow; the bar clamps what is in range of an int.
    const auto Moved = [](QScrollBar *Bar, std::int32_t Delta) {
        const std::int64_t Wanted = std::int64_t(Bar->value()) + Delta;
        Bar->setValue(static_cast<int>(std::clamp<std::int64_t>(Wanted, Bar->minimum(), Bar->maximum())));
    };
    Moved(SB, FMoveDX);
    Moved(SBV, FMoveDY);
}

void TForm1::ZUNotify(QObject *) {}
