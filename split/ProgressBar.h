#pragma once
// The progress of a run on stderr: files done of total and the share of
// the file being cut, redrawn on one terminal line. Error lines go through
// it too, so that they never land in the middle of the bar. Off a
// terminal it draws nothing and only the error lines are written. Names
// are shown through Printable: a name cannot command the terminal.
#include <QByteArray>
#include <QString>

#include <chrono>
#include <cstdio>
#include <mutex>

class TProgressBar {
public:
    TProgressBar(std::FILE *Stream, int Total, bool Shown);
    ~TProgressBar();
    TProgressBar(const TProgressBar &) = delete;
    TProgressBar &operator=(const TProgressBar &) = delete;

    // Called from any worker.
    void Share(const QByteArray &File, double Fraction);
    void FileDone();
    // One line, on a line of its own; its newline is added.
    void ErrorLine(const QByteArray &Line);

private:
    void Draw(bool Now);
    void Clear();

    std::mutex FLock;
    std::FILE *FStream;
    int FTotal;
    bool FShown;
    int FDone = 0;
    QString FCurrent;
    double FShare = 0;
    std::chrono::steady_clock::time_point FDrawn{};
};
