// The playhead of a piece being played, and stopping the playback.
#include "app/Unit1.h"

#include "app/PaintBox.h"

#include <QScrollBar>
#include <QTimer>

#include <algorithm>
#include <chrono>

namespace {

std::int64_t NowMs()
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

} // namespace

void TForm1::StartPlayhead(std::int64_t First, std::int64_t Last)
{
    FPlayFirst = First;
    FPlayLast = Last;
    FPlayStartedMs = NowMs();
    FPlayheadInSight = First >= SB->value() && First < SB->value() + std::int64_t(PB->width()) * SBHZ->value();
    PlayheadTimer->start();
    PB->update();
}

std::optional<std::int64_t> TForm1::PlayheadFrame() const
{
    if (FPlayStartedMs < 0 || ZU2->InternalWave() == nullptr || ZU2->InternalWave()->FState != 1)
        return std::nullopt;
    // Played at the recording's rate from the moment the output started;
    // the clock, not the device, tells where, which may lead what is heard
    // by the output's latency.
    const std::int64_t Rate = Document.RecordingView().Format.nSamplesPerSec;
    const std::int64_t Frame = FPlayFirst + (NowMs() - FPlayStartedMs) * Rate / 1000;
    return std::min(Frame, std::max(FPlayFirst, FPlayLast - 1));
}

void TForm1::StopPlayback()
{
    ZU2->Stop();
    FPlayStartedMs = -1;
    PlayheadTimer->stop();
    PB->update();
}

void TForm1::PlayheadTimerTimer()
{
    const std::optional<std::int64_t> Frame = PlayheadFrame();
    if (!Frame) {
        // Played to its end, or stopped: the playhead goes with the sound.
        FPlayStartedMs = -1;
        PlayheadTimer->stop();
        PB->update();
        return;
    }
    // A playhead in sight that reaches the right edge turns the page, so
    // it stays in sight; one the user scrolled away from is left alone.
    const std::int64_t First = SB->value();
    const std::int64_t Shown = std::int64_t(PB->width()) * SBHZ->value();
    if (*Frame >= First && *Frame < First + Shown) {
        FPlayheadInSight = true;
    } else if (FPlayheadInSight && *Frame >= First + Shown && First < SB->maximum()) {
        SB->setValue(static_cast<int>(std::min<std::int64_t>(*Frame - Shown / 10, SB->maximum())));
        return;
    } else {
        FPlayheadInSight = false;
    }
    PB->update();
}
