// Zoom and scroll of the waveform view: the wheel, the zoom keys and the
// whole-recording command, and the envelope levels the zoomed-out view
// draws from.
#include "app/Unit1.h"

#include "app/LevelReading.h"
#include "app/OverviewStrip.h"
#include "app/PaintBox.h"
#include "app/PeakLevels.h"
#include "app/WaitCursor.h"
#include "engine/SampleFormat.h"

#include <QFileInfo>
#include <QScrollBar>

#include <algorithm>
#include <cmath>

namespace {

// The designed widest zoom, which a short recording keeps.
constexpr std::int64_t DesignedMaxZoom = 2000;

int Clamped(std::int64_t Value, const QScrollBar &Bar)
{
    return static_cast<int>(std::clamp<std::int64_t>(Value, Bar.minimum(), Bar.maximum()));
}

} // namespace

std::shared_ptr<const TPeakLevels> TForm1::Peaks()
{
    const TSampleView Recording = Document.RecordingView();
    if (!FPeaks || !FPeaks->Describes(Recording)) {
        FLevelReading.reset();
        TWaitCursor Wait;
        FPeaks = std::make_shared<TPeakLevels>(Recording);
    }
    return FPeaks;
}

void TForm1::ReadLevels()
{
    // Levels of this much sample data are read in a blink; more is read
    // on a thread of its own, a 3-hour recording's 2 GB in seconds.
    constexpr std::int64_t ReadAtOnce = std::int64_t(64) << 20;
    FLevelReading.reset();
    FPeaks.reset();
    const TSampleView Recording = Document.RecordingView();
    if (!Document.Mapped() || Recording.DataSize <= ReadAtOnce || EncodingOf(Recording.Format) == TSampleEncoding::None)
        return; // Peaks() reads them when the view first needs them
    auto Levels = std::make_shared<TPeakLevels>(Recording, TPeakLevels::TDeferred{});
    FPeaks = Levels;
    FLevelReading = std::make_unique<TLevelReading>(PB, QFileInfo(Document.RecordingName()).fileName(), std::move(Levels), Document.Mapped(), [this] {
        PB->update();
        Overview->update();
    });
}

void TForm1::FitZoomRange()
{
    const std::int64_t Frames = FrameCountOf(Document.RecordingView());
    const std::int64_t Columns = std::max(1, PB->width());
    const std::int64_t Whole = (Frames + Columns - 1) / Columns;
    SBHZ->setMaximum(static_cast<int>(std::min<std::int64_t>(std::max(DesignedMaxZoom, Whole), INT32_MAX)));
}

void TForm1::ZoomAround(int X, double Factor)
{
    const std::int64_t Zoom = SBHZ->value();
    std::int64_t Wanted = std::llround(double(Zoom) * Factor);
    // Every step moves, also from the closest zooms where rounding would not.
    if (Factor > 1)
        Wanted = std::max(Wanted, Zoom + 1);
    else if (Factor < 1)
        Wanted = std::min(Wanted, Zoom - 1);
    const int NewZoom = Clamped(Wanted, *SBHZ);
    if (NewZoom == Zoom)
        return;
    const std::int64_t Frame = SB->value() + std::int64_t(X) * Zoom;
    SBHZ->setValue(NewZoom);
    SB->setValue(Clamped(Frame - std::int64_t(X) * NewZoom, *SB));
}

void TForm1::ShowWholeRecording()
{
    FitZoomRange();
    const std::int64_t Frames = FrameCountOf(Document.RecordingView());
    const std::int64_t Columns = std::max(1, PB->width());
    SB->setValue(0);
    SBHZ->setValue(Clamped((Frames + Columns - 1) / Columns, *SBHZ));
}

void TForm1::ScrollColumns(double Columns)
{
    const auto Frames = static_cast<std::int64_t>(std::llround(Columns * SBHZ->value()));
    SB->setValue(Clamped(SB->value() + Frames, *SB));
}

void TForm1::CentreOn(std::int64_t Frame)
{
    SB->setValue(Clamped(Frame - std::int64_t(PB->width() / 2) * SBHZ->value(), *SB));
}
