#pragma once
// Where the waveform view stands: the zoom and the scroll (which the bars
// SBHZ and SB hold, as designed), and the playhead of a piece being played
// through the scratch wave. It works on the view's widgets and the document
// alone; the window paints what it says.
#include <QObject>

#include <cstdint>
#include <optional>

class QScrollBar;
class QTimer;
class QWidget;
class TRecordingDocument;
class TZuWave;

class TWaveView : public QObject {
public:
    // View is the widget painted, Scroll the bar of its first frame, Zoom
    // that of the frames a column shows.
    TWaveView(const TRecordingDocument &Document, TZuWave &Scratch, QScrollBar &Scroll, QScrollBar &Zoom,
              QWidget &View, QObject *Parent);

    // Zooms by Factor (above 1: out) keeping the frame under column X there.
    void ZoomAround(int X, double Factor);
    void ShowWholeRecording();
    // Scrolls the view by Columns (negative: back).
    void ScrollColumns(double Columns);
    // Lets the zoom reach one that shows the whole recording in the view.
    void FitZoomRange();
    // Shows Frame in the middle of the view, as far as the scroll bar goes.
    void CentreOn(std::int64_t Frame);

    // The playhead of the piece First..Last the scratch wave has started.
    void StartPlayhead(std::int64_t First, std::int64_t Last);
    void StopPlayback();
    // The frame being heard while a piece plays.
    std::optional<std::int64_t> PlayheadFrame() const;
    // Follows the playhead, on PlayheadTimer's ticks while a piece plays.
    void PlayheadTimerTimer();
    QTimer *PlayheadTimer() const { return FPlayheadTimer; }

private:
    const TRecordingDocument &FDocument;
    TZuWave &FScratch;
    QScrollBar &FScroll;
    QScrollBar &FZoom;
    QWidget &FView;
    QTimer *FPlayheadTimer = nullptr;
    std::int64_t FPlayFirst = 0;
    std::int64_t FPlayLast = 0;
    std::int64_t FPlayStartedMs = -1;
    bool FPlayheadInSight = false;
};
