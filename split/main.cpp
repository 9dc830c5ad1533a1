// redivev-split: the window's automatic cut-out and export, from the
// command line, for any number of recordings.
#include "SplitOptions.h"
#include "SplitRun.h"

#include <QCoreApplication>

#include <cstdio>

#include <unistd.h>

int main(int argc, char *argv[])
{
    QCoreApplication Application(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("redivev-split"));
    QCoreApplication::setApplicationVersion(QStringLiteral(REDIVEV_VERSION));

    const TSplitCommand Command = ParseSplitCommand(QCoreApplication::arguments());
    switch (Command.Action) {
    case TSplitCommand::TAction::Help:
    case TSplitCommand::TAction::Version:
        std::fputs(Command.Text.toUtf8().constData(), stdout);
        return 0;
    case TSplitCommand::TAction::Error:
        std::fprintf(stderr, "redivev-split: %s\nTry 'redivev-split --help' for more information.\n",
                     Command.Text.toUtf8().constData());
        return 2;
    case TSplitCommand::TAction::Run:
        break;
    }
    return RunSplit(Command.Options, stdout, stderr, ::isatty(STDERR_FILENO) == 1);
}
