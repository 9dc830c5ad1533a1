#pragma once
// The progress of a run on stderr: on a terminal, files done of total and
// the share of the file being cut, redrawn on one line; in a log, a line
// at most every few seconds with recordings and hours of audio done, the
// rate and the time left. Error lines go through it too, so that they
// never land in the middle of the bar. Names are shown through Printable:
// a name cannot command the terminal.
#include "split/RunReport.h"

#include <QByteArray>
#include <QString>

#include <chrono>
#include <cstdio>
#include <mutex>

class TProgressBar {
public:
    // Form Automatic: a bar when Terminal, else lines once the run has
    // lasted a while.
    TProgressBar(std::FILE *Stream, int Total, TProgressForm Form, bool Terminal);
    ~TProgressBar();
    TProgressBar(const TProgressBar &) = delete;
    TProgressBar &operator=(const TProgressBar &) = delete;

    // Called from any worker.
    void Share(const QByteArray &File, double Fraction);
    // A recording done, with the seconds of audio it held.
    void FileDone(double Seconds);
    // One line, on a line of its own; its newline is added.
    void ErrorLine(const QByteArray &Line);
    // Whether the run's end deserves a summary line: asked for with lines,
    // or a run long enough to have been watched.
    bool WantsSummary() const;

private:
    void Draw(bool Now);
    void Clear();
    void Line();

    std::mutex FLock;
    std::FILE *FStream;
    int FTotal;
    bool FShown; // the bar
    bool FLines;
    bool FAskedLines;
    bool FQuiet; // --progress none
    std::chrono::steady_clock::time_point FStart;
    std::chrono::steady_clock::time_point FLineDue;
    double FSeconds = 0;
    int FDone = 0;
    QString FCurrent;
    double FShare = 0;
    std::chrono::steady_clock::time_point FDrawn{};
};
