#include "split/ProgressBar.h"

#include "split/NameBytes.h"

#include <algorithm>

namespace {
constexpr int BarWidth = 30;
// A terminal redrawn more often than this only costs the cut time.
constexpr std::chrono::milliseconds Interval(100);
} // namespace

TProgressBar::TProgressBar(std::FILE *Stream, int Total, bool Shown) : FStream(Stream), FTotal(Total), FShown(Shown)
{
    Draw(true);
}

TProgressBar::~TProgressBar()
{
    std::lock_guard Guard(FLock);
    Clear();
}

void TProgressBar::Share(const QByteArray &File, double Fraction)
{
    std::lock_guard Guard(FLock);
    FCurrent = QString::fromUtf8(Printable(File));
    FShare = std::clamp(Fraction, 0.0, 1.0);
    Draw(false);
}

void TProgressBar::FileDone()
{
    std::lock_guard Guard(FLock);
    ++FDone;
    FCurrent.clear();
    FShare = 0;
    Draw(true);
}

void TProgressBar::ErrorLine(const QByteArray &Line)
{
    std::lock_guard Guard(FLock);
    Clear();
    std::fputs((Printable(Line) + '\n').constData(), FStream);
    Draw(true);
}

void TProgressBar::Draw(bool Now)
{
    if (!FShown)
        return;
    const auto Time = std::chrono::steady_clock::now();
    if (!Now && Time - FDrawn < Interval)
        return;
    FDrawn = Time;
    const double Whole = FTotal > 0 ? std::min(1.0, (FDone + FShare) / FTotal) : 1.0;
    const int Filled = int(Whole * BarWidth);
    QString Line = QStringLiteral("\r\033[K[") + QString(Filled, QLatin1Char('#'))
        + QString(BarWidth - Filled, QLatin1Char('-')) + QStringLiteral("] %1/%2 files").arg(FDone).arg(FTotal);
    if (!FCurrent.isEmpty() && FDone < FTotal)
        // Kept short, so the line never wraps and \r still returns to its start.
        Line += QStringLiteral("  %1 %2%").arg(FCurrent.right(30), QString::number(int(FShare * 100)));
    std::fputs(Line.toUtf8().constData(), FStream);
    std::fflush(FStream);
}

void TProgressBar::Clear()
{
    if (!FShown)
        return;
    std::fputs("\r\033[K", FStream);
    std::fflush(FStream);
}
