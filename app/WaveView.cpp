#include "app/WaveView.h"

#include "app/RecordingDocument.h"
#include "engine/SampleFormat.h"
#include "wave/ZuWAVE.h"

#include <QScrollBar>
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <chrono>
#include <cmath>

namespace {

constexpr int PlayheadIntervalMs = 30;
// The designed widest zoom, which a short recording keeps.
constexpr std::int64_t DesignedMaxZoom = 2000;

int Clamped(std::int64_t Value, const QScrollBar &Bar)
{
    return static_cast<int>(std::clamp<std::int64_t>(Value, Bar.minimum(), Bar.maximum()));
}

std::int64_t NowMs()
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

} // namespace

TWaveView::TWaveView(const TRecordingDocument &Document, TZuWave &Scratch, QScrollBar &Scroll, QScrollBar &Zoom,
                     QWidget &View, QObject *Parent)
    : QObject(Parent), FDocument(Document), FScratch(Scratch), FScroll(Scroll), FZoom(Zoom), FView(View)
{
    FPlayheadTimer = new QTimer(this);
    FPlayheadTimer->setObjectName(QStringLiteral("PlayheadTimer"));
    FPlayheadTimer->setInterval(PlayheadIntervalMs);
}

void TWaveView::FitZoomRange()
{
    const std::int64_t Frames = FrameCountOf(FDocument.RecordingView());
    const std::int64_t Columns = std::max(1, FView.width());
    const std::int64_t Whole = (Frames + Columns - 1) / Columns;
    FZoom.setMaximum(static_cast<int>(std::min<std::int64_t>(std::max(DesignedMaxZoom, Whole), INT32_MAX)));
}

void TWaveView::ZoomAround(int X, double Factor)
{
    const std::int64_t Zoom = FZoom.value();
    std::int64_t Wanted = std::llround(double(Zoom) * Factor);
    // Every step moves, also from the closest zooms where rounding would not.
    if (Factor > 1)
        Wanted = std::max(Wanted, Zoom + 1);
    else if (Factor < 1)
        Wanted = std::min(Wanted, Zoom - 1);
    const int NewZoom = Clamped(Wanted, FZoom);
    if (NewZoom == Zoom)
        return;
    const std::int64_t Frame = FScroll.value() + std::int64_t(X) * Zoom;
    FZoom.setValue(NewZoom);
    FScroll.setValue(Clamped(Frame - std::int64_t(X) * NewZoom, FScroll));
}

void TWaveView::ShowWholeRecording()
{
    FitZoomRange();
    const std::int64_t Frames = FrameCountOf(FDocument.RecordingView());
    const std::int64_t Columns = std::max(1, FView.width());
    FScroll.setValue(0);
    FZoom.setValue(Clamped((Frames + Columns - 1) / Columns, FZoom));
}

void TWaveView::ScrollColumns(double Columns)
{
    const auto Frames = static_cast<std::int64_t>(std::llround(Columns * FZoom.value()));
    FScroll.setValue(Clamped(FScroll.value() + Frames, FScroll));
}

void TWaveView::CentreOn(std::int64_t Frame)
{
    FScroll.setValue(Clamped(Frame - std::int64_t(FView.width() / 2) * FZoom.value(), FScroll));
}

void TWaveView::StartPlayhead(std::int64_t First, std::int64_t Last)
{
    FPlayFirst = First;
    FPlayLast = Last;
    FPlayStartedMs = NowMs();
    FPlayheadInSight =
        First >= FScroll.value() && First < FScroll.value() + std::int64_t(FView.width()) * FZoom.value();
    FPlayheadTimer->start();
    FView.update();
}

std::optional<std::int64_t> TWaveView::PlayheadFrame() const
{
    if (FPlayStartedMs < 0 || FScratch.InternalWave() == nullptr || FScratch.InternalWave()->FState != 1)
        return std::nullopt;
    // Played at the recording's rate from the moment the output started;
    // the clock, not the device, tells where, which may lead what is heard
    // by the output's latency.
    const std::int64_t Rate = FDocument.RecordingView().Format.nSamplesPerSec;
    const std::int64_t Frame = FPlayFirst + (NowMs() - FPlayStartedMs) * Rate / 1000;
    return std::min(Frame, std::max(FPlayFirst, FPlayLast - 1));
}

void TWaveView::StopPlayback()
{
    FScratch.Stop();
    FPlayStartedMs = -1;
    FPlayheadTimer->stop();
    FView.update();
}

void TWaveView::PlayheadTimerTimer()
{
    const std::optional<std::int64_t> Frame = PlayheadFrame();
    if (!Frame) {
        // Played to its end, or stopped: the playhead goes with the sound.
        FPlayStartedMs = -1;
        FPlayheadTimer->stop();
        FView.update();
        return;
    }
    // A playhead in sight that reaches the right edge turns the page, so
    // it stays in sight; one the user scrolled away from is left alone.
    const std::int64_t First = FScroll.value();
    const std::int64_t Shown = std::int64_t(FView.width()) * FZoom.value();
    if (*Frame >= First && *Frame < First + Shown) {
        FPlayheadInSight = true;
    } else if (FPlayheadInSight && *Frame >= First + Shown && First < FScroll.maximum()) {
        FScroll.setValue(static_cast<int>(std::min<std::int64_t>(*Frame - Shown / 10, FScroll.maximum())));
        return;
    } else {
        FPlayheadInSight = false;
    }
    FView.update();
}
