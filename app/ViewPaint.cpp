// The waveform view: trim areas, the recording's channels (every one, at
// 16-bit scale whatever the format) and the guide marks of the trim
// settings, recomputed from the controls at every paint.
#include "app/Unit1.h"

#include "app/EngineMessages.h"
#include "app/PaintBox.h"
#include "app/OverviewStrip.h"
#include "app/PeakLevels.h"
#include "app/ShrunkRecording.h"
#include "app/TimeRuler.h"
#include "app/ViewCanvas.h"
#include "app/ViewColours.h"

#include <QPainter>
#include <QScrollBar>
#include <QTimer>

#include <algorithm>
#include <cstdlib>
#include <exception>
#include <vector>

namespace {

using namespace viewcolours;

constexpr QRgb BandBorder = 0x808000;
constexpr QRgb Green = 0x008000;
constexpr QRgb Selected = 0xFFFF00;
// The selected area's band: another hue than the others' green, so that it
// stands out at a glance also where its borders lie out of sight.
constexpr QRgb SelectedFill = 0x404000;
constexpr QRgb Cursor = 0x00FFFF;

} // namespace

void TForm1::PBPaint()
{
    QPainter *Canvas = PB->Canvas();
    if (Canvas == nullptr) {
        // Asked outside a paint: the view draws only while it is painted.
        PB->repaint();
        return;
    }
    ListAreaChanges();
    // The paint starts from the panel's black that shows through the view.
    QImage &Surface = PB->Surface();
    Surface.fill(Panel2->palette().color(QPalette::Window));
    {
        TViewCanvas View(Surface, PB->font(), Lime);
        PaintView(View);
    }
    Canvas->drawImage(0, 0, Surface);
    // The strip above shows the same stretch, areas and playhead.
    Overview->update();
    Ruler->update();
}

void TForm1::PaintView(TViewCanvas &Canvas)
{
    const int W = Canvas.Width();
    const int H = Canvas.Height();
    const std::int64_t S = SB->value();
    const int HZ = SBHZ->value();
    const std::int64_t VZ = SBVZ->value();
    const int Y0 = H / 2 - SBV->value();
    const int CX = W / 2;
    const auto Scaled = [VZ](std::int64_t Value) { return static_cast<int>(Value * VZ / 256000); };

    if (FAreaCount > 0) {
        // Fills and borders all span the full height, so the bands leave
        // each column one colour from top to bottom: worked out column by
        // column first, in the same order, and then drawn once. Zoomed out,
        // thousands of areas in sight cost no more than the view's width.
        const QRgb Background = Panel2->palette().color(QPalette::Window).rgb();
        std::vector<QRgb> Row(static_cast<std::size_t>(W), Background);
        const auto Border = [&](int X) {
            if (X >= 0 && X < W)
                Row[std::size_t(X)] |= BandBorder | 0xFF000000u;
        };
        const std::int64_t E = std::int64_t(W) * HZ + S;
        const int Chosen = Document.Editor().Selected();
        for (std::int32_t I = 0; I < FAreaCount; ++I) {
            const TTrimArea &Area = FAreas[static_cast<std::size_t>(I)];
            if (!(Area.StartPos < E && Area.EndPos > S))
                continue;
            const int X1 = static_cast<int>(std::max<std::int64_t>((Area.StartPos - S) / HZ, 0));
            const int X2 = static_cast<int>(std::min<std::int64_t>((Area.EndPos - S) / HZ - 1, W));
            if (X2 > X1)
                std::fill(Row.begin() + X1, Row.begin() + X2, (I == Chosen ? SelectedFill : BandFill) | 0xFF000000u);
            Border(X1);
            Border(X2);
        }
        Canvas.FillRows(Row);
    }

    try {
        const TSampleView Recording = Document.RecordingView();
        RefuseUnreadLayout(Recording);
        // Zeros where another program cut the file short are no waveform.
        if (const QString Shrunk = ShrunkRecordingReport(*this); !Shrunk.isEmpty()) {
            ReportPaintError(Shrunk);
            return;
        }
        const std::int64_t Size = FrameCountOf(Recording);
        const int Channels = Size > 0 ? Recording.Format.nChannels : 0;
        const std::shared_ptr<const TPeakLevels> Levels = Channels > 0 ? Peaks() : nullptr;
        for (int Ch = 0; Ch < Channels; ++Ch) {
            const QRgb Colour = Ch % 2 == 0 ? Channel0 : Channel1;
            // Column W lies just outside the image: nothing of it shows.
            for (int X = 0; X < W; ++X) {
                const std::int64_t P = std::int64_t(X) * HZ + S;
                if (P >= Size)
                    break;
                // Each column shows every sample it covers: the strokes of
                // its lowest and highest, which hold all the others'. At one
                // sample a column both are that sample's stroke.
                const TLevelRange Range = Levels->Range(Ch, P, std::min(P + HZ, Size));
                if (Range.Low > Range.High)
                    break; // the levels from here on are still being read
                Canvas.Line(X, Y0, X, Y0 + Scaled(Range.High), Colour);
                if (Range.Low != Range.High)
                    Canvas.Line(X, Y0, X, Y0 + Scaled(Range.Low), Colour);
            }
        }
    } catch (const std::exception &Error) {
        // Like a paint that stops at its first failure: the bands stay, the
        // rest is not drawn.
        ReportPaintError(EngineMessage(Error.what()));
        return;
    }

    const int TH = Canvas.TextHeight();
    const int F = Scaled(32768);
    Canvas.Line(0, Y0, W, Y0, Lime);
    Canvas.Text(W - 80, Y0 - TH, tr("Center Position"));
    Canvas.Line(0, Y0 - F, W, Y0 - F, Lime);
    Canvas.Text(W - 80, Y0 - F - TH, tr("Max Position"));
    Canvas.Line(0, Y0 + F, W, Y0 + F, Lime);
    Canvas.Text(W - 80, Y0 + F + 1, tr("Max Position"));

    const auto Bracket = [&](int Left, int Level, const QString &Caption, int CaptionLeft) {
        Canvas.Line(Left, Y0 - Level, W - Left, Y0 - Level, Green);
        Canvas.Line(Left, Y0 + Level, Left, Y0 - Level, Green);
        Canvas.Line(Left, Y0 + Level, W - Left, Y0 + Level, Green);
        Canvas.Text(CaptionLeft, Y0 + Level + 1, Caption);
    };
    // Levels close together put both captions on one row, where the inner
    // one's would run on from the outer one's: it moves along its line
    // past the other.
    const int NoSound = Scaled(Settings->ValueOf(SBN));
    const int CutStart = Scaled(Settings->ValueOf(SBCSL));
    const QString CutStartCaption = tr("Cut Start");
    const int Apart = std::abs(NoSound - CutStart) >= TH ? 100
        : std::max(100, 50 + Canvas.TextWidth(CutStartCaption + QLatin1Char(' ')));
    Bracket(100, NoSound, tr("No Sound Level"), Apart);
    Bracket(50, CutStart, CutStartCaption, 50);

    Canvas.Line(CX, 0, CX, H, Green);

    // A bar near the bottom, hanging from just above the mid line.
    // A width in pixels at this zoom; a typed width may reach far beyond
    // the view, where it is drawn as if just past its edge.
    const auto Reach = [&](std::int32_t Positions) { return int(std::min<std::int64_t>(Positions / HZ, 1 << 20)); };
    const auto HangingBar = [&](int Left, int Right, int Bottom) {
        Canvas.Line(CX - Left, Bottom, CX + Right, Bottom, Green);
        Canvas.Line(CX - Left, Y0 - 10, CX - Left, Bottom, Green);
        Canvas.Line(CX + Right, Y0 - 10, CX + Right, Bottom, Green);
    };
    {
        const int A = Reach(Settings->ValueOf(SBAFIL));
        const int B = Reach(Settings->ValueOf(SBAFOL));
        HangingBar(A, B, H - 50);
        Canvas.Text(CX - 30, H - 49, tr("Fade Width"));
        Canvas.Text(CX + B + 2, H - 50 - TH, tr("Out"));
        Canvas.Text(CX - A - 10, H - 50 - TH, tr("In"));
    }
    {
        const int A = Reach(Settings->ValueOf(SBMZSS));
        const int B = Reach(Settings->ValueOf(SBMZSE));
        HangingBar(A, B, H - 25);
        Canvas.Text(CX - 30, H - 24, tr("Zero Search"));
        // The left end is the backward search window, the right end the
        // forward one, as on the panel and in the detection.
        const QString Backword = tr("Backword");
        Canvas.Text(CX - A - 2 - Canvas.TextWidth(Backword), H - 25 - TH, Backword);
        Canvas.Text(CX + B + 2, H - 25 - TH, tr("Forword"));
    }

    // A centred width, hanging from a leader at the top.
    const auto CentredWidth = [&](std::int32_t Width, int Top, const QString &Caption) {
        const int Half = Reach(Width) / 2;
        Canvas.Line(10, Top, CX + Half, Top, Green);
        Canvas.Line(CX - Half, Top, CX - Half, Y0 + 10, Green);
        Canvas.Line(CX + Half, Top, CX + Half, Y0 + 10, Green);
        Canvas.Text(10, Top + 1, Caption);
    };
    CentredWidth(Settings->ValueOf(SBNW), 10, tr("No Sound Width"));
    CentredWidth(Settings->ValueOf(SBML), 30, tr("Minimum Size"));

    // Hand corrections: the selected area's borders, the one a Shift+drag
    // is adding, and the cursor a click left.
    // Two columns wide, inside the area.
    const auto Marked = [&](const TTrimArea &Area) {
        const std::int64_t First = (Area.StartPos - S) / HZ;
        const std::int64_t Last = (Area.EndPos - S) / HZ - 1;
        for (const std::int64_t X : {First, std::min(First + 1, Last), std::max(Last - 1, First), Last})
            if (X >= 0 && X < W)
                Canvas.Line(int(X), 0, int(X), H, Selected);
    };
    if (Document.Editor().Selected() >= 0 && Document.Editor().Selected() < FAreaCount && std::size_t(Document.Editor().Selected()) < FAreas.size())
        Marked(FAreas[std::size_t(Document.Editor().Selected())]);
    if (FNewArea)
        Marked(*FNewArea);
    if (FCursor && *FCursor >= S && (*FCursor - S) / HZ < W)
        Canvas.Line(int((*FCursor - S) / HZ), 0, int((*FCursor - S) / HZ), H, Cursor);
    if (const std::optional<std::int64_t> Frame = WaveView != nullptr ? WaveView->PlayheadFrame() : std::nullopt; Frame && *Frame >= S) {
        const std::int64_t X = (*Frame - S) / HZ;
        if (X < W)
            Canvas.Line(int(X), 0, int(X), H, Playhead);
    }
}

void TForm1::ReportPaintError(const QString &Text)
{
    if (FPaintErrorReported)
        return;
    FPaintErrorReported = true;
    // A modal report must not run inside the paint; it follows it.
    QTimer::singleShot(0, this, [this, Text] { ShowError(Text); });
}
