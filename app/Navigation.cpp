// Loading a recording, the view's right-click, the "Move" joystick.
#include "app/Unit1.h"

#include "app/BackgroundWork.h"
#include "app/FormatReport.h"
#include "app/PaintBox.h"
#include "app/RecordingLoad.h"
#include "app/SettingEdits.h"
#include "app/WindowTitle.h"
#include "engine/MappedRecording.h"
#include "engine/SampleFormat.h"
#include "platform/Exception.h"
#include "platform/Streams.h"

#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QScrollBar>

#include <algorithm>
#include <cstdint>
#include <thread>
#include <utility>

void TForm1::FileOpen()
{
    const std::optional<QString> FileName = RunOpenDialog();
    if (!FileName)
        return;
    OpenRecording(QFile::encodeName(*FileName).toStdString());
}

void TForm1::OpenRecording(const std::string &FileName)
{
    // The file is read into fresh parts, and they take the place of the
    // recording shown only when all of it has succeeded: a file that cannot
    // be read, or whose reading is cancelled, leaves the recording, its
    // areas and their history as they were.
    const QString Shown = QFile::decodeName(QByteArray::fromStdString(FileName));
    // The areas shown go with the recording: asked for first, and kept.
    if (!ConfirmLeavingAreas())
        return;
    KeepShownAreas();
    TFileStream Stream(FileName, TFileStream::TMode::OpenRead);
    TFreshRecording Fresh;
    try {
        const TLoadPath Path = ChooseLoadPath(Stream);
        std::shared_ptr<TMappedRecording> Mapped;
        // A long recording (or one to decode) is mapped off the window's
        // thread, which keeps painting; a short one at once.
        if ((Path == TLoadPath::InPlace || Path == TLoadPath::Engine) && Stream.Size() > (std::int64_t(64) << 20)) {
            const bool Done = RunInBackground(this, tr("読み込んでいます...") + QLatin1Char('\n') + Shown,
                                              [&](TBackgroundWork &Work) {
                                                  Mapped = MapRecording(FileName, [&Work] { return Work.Cancelled(); });
                                              });
            if (!Done)
                return;
        }
        Fresh.Wave = std::make_unique<TZuWave>(nullptr);
        Fresh.Wave->SetOnNotify(ZU->GetOnNotify());
        ReadRecording(FileName, Stream, Path, std::move(Mapped), Fresh);
    } catch (const std::exception &Error) {
        // The cause as the reader words it, then which file it was.
        throw Exception(std::string(Error.what()) + "\n" + Shown.toStdString());
    }

    // The fresh wave's buffer becomes ZU's, ZU's old one goes with Fresh.
    std::swap(ZU->FInternalWave, Fresh.Wave->FInternalWave);
    Fresh.Wave.reset();
    std::shared_ptr<TMappedRecording> Old = std::exchange(FMapped, std::move(Fresh.Mapped));
    FRecordingFile = Fresh.File;
    FRecordingName = Shown;
    FRecordingKey.reset();
    FSavedAreas.clear();
    FPaintErrorReported = false;
    FChannelsNoticeGiven = false;
    FFormatRefusal.clear();
    FAreaCount = 0;
    // The bar holds an int: a recording of more than 2^31-1 frames is
    // clamped to that, so the view scrolls to frame 2^31-1 and shows the
    // screen from there; detection, the export and play still reach every
    // frame beyond.
    const std::int64_t Frames = FrameCountOf(RecordingView());
    SB->setMaximum(static_cast<int>(std::min<std::int64_t>(Frames, INT32_MAX)));
    // Times typed into the settings count at the new recording's rate.
    FSettingEdits->SetRate(RecordingView().Format.nSamplesPerSec);
    // The envelope levels are the new recording's: even a block at the old
    // one's address holds other samples.
    ReadLevels();
    FitZoomRange();
    // Corrections and their history belong to the recording they were made on.
    FEditor.Reset();
    FCursor.reset();
    FNewArea.reset();
    FDragged.reset();
    ShowRecordingTitle(*this, FileName);
    PB->repaint();
    // Unmapping hours of a recording the kernel has cached takes a moment:
    // the old one goes on a thread of its own (the level reading, which
    // held it too, has ended).
    if (Old)
        std::thread([Old = std::move(Old)]() mutable { Old.reset(); }).detach();
    if (!FMapped) {
        Stream.SetPosition(0);
        FFormatRefusal = UnreadableFormatReport(*this, Stream);
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
