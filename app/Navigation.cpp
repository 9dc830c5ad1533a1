// Loading a recording, the view's right-click, the "Move" joystick.
#include "Unit1.h"

#include "FormatReport.h"
#include "PaintBox.h"
#include "Streams.h"

#include <QFile>
#include <QMenu>
#include <QScrollBar>

#include <algorithm>

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
    TFileStream Stream(FileName, TFileStream::TMode::OpenRead);
    FPaintErrorReported = false;
    const auto ShowNewRecording = [this] {
        FAreaCount = 0;
        SB->setMaximum(ZU->InternalWave() != nullptr ? ZU->GetWaveSize() : 0);
        PB->repaint();
    };
    FRecordingFile.reset();
    try {
        ZU->LoadFromStream(Stream);
    } catch (...) {
        ShowNewRecording();
        throw;
    }
    FRecordingFile = FileIdentityOf(Stream.Handle());
    ShowNewRecording();
    ReportUnreadableFormat(*this, Stream);
}

void TForm1::PBMouseDown(Qt::MouseButton Button, Qt::KeyboardModifiers, int X, int Y)
{
    if (Button != Qt::RightButton)
        return;
    PM->popup(PB->mapToGlobal(QPoint(X, Y)));
    // Wide arithmetic: near the end of a recording of 2^31 frames the sum
    // would overflow; the position keeps the designed 32-bit width.
    FClickPos = static_cast<std::int32_t>(std::int64_t(SB->value()) + std::int64_t(X) * SBHZ->value());
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
