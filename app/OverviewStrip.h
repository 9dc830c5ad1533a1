#pragma once
// The whole recording in one strip above the view: its envelope, the trim
// areas, the stretch the view shows (framed) and the playhead. A click or a
// drag there brings the frame under the pointer to the middle of the view.
#include "app/PeakLevels.h"

#include <QImage>
#include <QWidget>

#include <cstdint>
#include <memory>
#include <vector>

class TForm1;

class TOverviewStrip : public QWidget {
public:
    TOverviewStrip(TForm1 &Form, QWidget *Parent);

    // The first frame of column X of the strip, for a recording of Frames.
    std::int64_t FrameAt(int X, std::int64_t Frames) const;

protected:
    void paintEvent(QPaintEvent *Event) override;
    void mousePressEvent(QMouseEvent *Event) override;
    void mouseMoveEvent(QMouseEvent *Event) override;

private:
    void MoveTo(int X);
    int ColumnOf(std::int64_t Frame, std::int64_t Frames) const;
    // The envelope of each column, worked out again only for other levels
    // or another width: scrolling and playing repaint the strip often.
    const std::vector<TLevelRange> &Columns(const std::shared_ptr<const TPeakLevels> &Levels);

    TForm1 &FForm;
    QImage FSurface;
    std::weak_ptr<const TPeakLevels> FColumnsOf;
    bool FColumnsComplete = false;
    int FColumnsWidth = 0;
    std::vector<TLevelRange> FColumns; // column by column, channel 0 then 1

};
