#pragma once
// The time ruler above the waveform view: ticks at round times and their
// clock readings (h:mm:ss.mmm), column for column with the view.
#include <QWidget>

class TForm1;

class TTimeRuler : public QWidget {
public:
    TTimeRuler(TForm1 &Form, QWidget *Parent);

    // The time between two labelled ticks at Zoom frames a column, in ms:
    // the shortest round step that leaves Room pixels for each label.
    static std::int64_t StepMs(std::int64_t Zoom, std::uint32_t Rate, int Room);

protected:
    void paintEvent(QPaintEvent *Event) override;

private:
    TForm1 &FForm;
};
