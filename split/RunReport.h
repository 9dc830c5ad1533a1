#pragma once
// What a run tells whoever watches it, a terminal or a cluster's log: its
// progress, the recordings that failed, and how it ended.
#include <QByteArray>
#include <QString>

class QCommandLineParser;

// How progress is shown on stderr. Automatic is a bar on a terminal and,
// elsewhere, lines once the run has lasted a while, so that a short run
// into a log stays silent.
enum class TProgressForm { Automatic, Bar, Lines, None };

struct TReportOptions {
    QByteArray ErrorsOut; // one JSON line per failed recording; empty: none
    TProgressForm Progress = TProgressForm::Automatic;
};

// The exit status of a run, for scripts and schedulers that act on it.
enum TExitStatus : int {
    ExitCut = 0,        // every recording cut (or skipped as done)
    ExitFailed = 1,     // nothing cut: the run, or each of its recordings, failed
    ExitUsage = 2,      // the command line was refused
    ExitSomeFailed = 3, // some recordings failed, the others were cut
};

void DefineReportOptions(QCommandLineParser &Parser);
// An error message naming the option, or empty.
QString ReadReportOptions(const QCommandLineParser &Parser, TReportOptions &Report);

// What a run did, in one line for its end.
struct TRunTally {
    int Cut = 0;
    int Failed = 0;
    int Skipped = 0;
    double Seconds = 0; // of audio cut
    long long Pieces = 0;
};
QByteArray SummaryLine(const TRunTally &Tally, bool Listing);
