// redivev-split: the window's automatic cut-out and export, from the
// command line, for any number of recordings.
#include "platform/StandardStreams.h"
#include "split/NameBytes.h"
#include "split/SplitOptions.h"
#include "split/SplitRun.h"

#include <QCoreApplication>

#include <csignal>
#include <cstdio>

#include <unistd.h>

int main(int argc, char *argv[])
{
    OccupyClosedStandardStreams();
    // A file-size limit is then an error naming the file (EFBIG), and the
    // piece's temporary file is removed, instead of a silent kill.
    std::signal(SIGXFSZ, SIG_IGN);
    QCoreApplication Application(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("redivev-split"));
    QCoreApplication::setApplicationVersion(QStringLiteral(REDIVEV_VERSION));

    // The arguments' own bytes: a name that is not UTF-8 must still open.
    QStringList Arguments;
    for (int I = 0; I < argc; ++I)
        Arguments << ArgumentText(QByteArray(argv[I]));
    const TSplitCommand Command = ParseSplitCommand(Arguments);
    switch (Command.Action) {
    case TSplitCommand::TAction::Help:
    case TSplitCommand::TAction::Version:
        std::fputs(Command.Text.toUtf8().constData(), stdout);
        return 0;
    case TSplitCommand::TAction::Error:
        std::fprintf(stderr, "redivev-split: %s\nTry 'redivev-split --help' for more information.\n",
                     Printable(ArgumentBytes(Command.Text)).constData());
        return 2;
    case TSplitCommand::TAction::Run:
        break;
    }
    return RunSplit(Command.Options, stdout, stderr, ::isatty(STDERR_FILENO) == 1);
}
