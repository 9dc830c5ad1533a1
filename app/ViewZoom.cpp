// The envelope levels the zoomed-out view draws from.
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
