#include "split/ProgressBar.h"

#include "split/NameBytes.h"

#include <algorithm>

namespace {
constexpr int BarWidth = 30;
// A terminal redrawn more often than this only costs the cut time.
constexpr std::chrono::milliseconds Interval(100);
// A log is read, not watched: a line now and then is enough, and a short
// run writes none unless asked.
constexpr std::chrono::seconds LineInterval(5);
constexpr std::chrono::seconds QuietStart(10);
} // namespace

TProgressBar::TProgressBar(std::FILE *Stream, int Total, TProgressForm Form, bool Terminal)
    : FStream(Stream), FTotal(Total),
      FShown(Form == TProgressForm::Bar || (Form == TProgressForm::Automatic && Terminal)),
      FLines(Form == TProgressForm::Lines || (Form == TProgressForm::Automatic && !Terminal)),
      FAskedLines(Form == TProgressForm::Lines), FQuiet(Form == TProgressForm::None),
      FStart(std::chrono::steady_clock::now()),
      FLineDue(Form == TProgressForm::Lines ? FStart : FStart + QuietStart)
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
    Line();
}

void TProgressBar::FileDone(double Seconds)
{
    std::lock_guard Guard(FLock);
    ++FDone;
    FSeconds += Seconds;
    FCurrent.clear();
    FShare = 0;
    Draw(true);
    Line();
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

void TProgressBar::Line()
{
    const auto Time = std::chrono::steady_clock::now();
    if (!FLines || Time < FLineDue || FDone >= FTotal)
        return;
    FLineDue = Time + LineInterval;
    const double Elapsed = std::chrono::duration<double>(Time - FStart).count();
    const double Done = FDone + FShare;
    QByteArray Text = "redivev-split: " + QByteArray::number(FDone) + "/" + QByteArray::number(FTotal)
        + " recordings, " + QByteArray::number(FSeconds / 3600, 'f', 2) + " h of audio";
    if (Elapsed > 0 && FSeconds > 0)
        Text += ", " + QByteArray::number(FSeconds / Elapsed, 'f', 0) + "x real time";
    if (Done > 0)
        Text += ", about " + QByteArray::number(Elapsed * (FTotal - Done) / Done / 60, 'f', 1) + " min left";
    std::fputs((Text + '\n').constData(), FStream);
    std::fflush(FStream);
}

bool TProgressBar::WantsSummary() const
{
    return FAskedLines || (!FQuiet && std::chrono::steady_clock::now() - FStart >= QuietStart);
}
