#include "split/RunReport.h"

#include "split/NameBytes.h"

#include <QCommandLineParser>

void DefineReportOptions(QCommandLineParser &Parser)
{
    Parser.addOption({QStringLiteral("errors-out"),
                      QStringLiteral("Write one JSON line per recording that failed ({\"file\": ..., \"message\": "
                                     "...}) to this file, created or emptied by the run."),
                      QStringLiteral("file")});
    Parser.addOption({QStringLiteral("progress"),
                      QStringLiteral("bar (on a terminal, the default there), lines (a line at most every 5 s "
                                     "with recordings and hours done, rate and time left; the default off a "
                                     "terminal once a run lasts 10 s) or none (no progress and no summary)."),
                      QStringLiteral("form")});
}

QString ReadReportOptions(const QCommandLineParser &Parser, TReportOptions &Report)
{
    if (Parser.isSet(QStringLiteral("errors-out"))) {
        Report.ErrorsOut = ArgumentBytes(Parser.value(QStringLiteral("errors-out")));
        if (Report.ErrorsOut.isEmpty())
            return QStringLiteral("--errors-out: give the file to write the failed recordings to");
    }
    if (Parser.isSet(QStringLiteral("progress"))) {
        const QString Form = Parser.value(QStringLiteral("progress"));
        if (Form == QLatin1String("bar"))
            Report.Progress = TProgressForm::Bar;
        else if (Form == QLatin1String("lines"))
            Report.Progress = TProgressForm::Lines;
        else if (Form == QLatin1String("none"))
            Report.Progress = TProgressForm::None;
        else
            return QStringLiteral("--progress: \"%1\" is no form of progress; give bar, lines or none").arg(Form);
    }
    return {};
}

QByteArray SummaryLine(const TRunTally &Tally, bool Listing)
{
    return "redivev-split: " + QByteArray::number(Tally.Cut) + (Listing ? " listed, " : " cut, ")
        + QByteArray::number(Tally.Failed) + " failed, " + QByteArray::number(Tally.Skipped) + " skipped; "
        + QByteArray::number(Tally.Seconds / 3600, 'f', 2) + " h of audio, " + QByteArray::number(Tally.Pieces)
        + (Tally.Pieces == 1 ? " piece" : " pieces");
}
