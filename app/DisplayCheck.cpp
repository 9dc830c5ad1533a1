#include "app/DisplayCheck.h"

#include <QtGlobal>

#include <cstdio>
#include <cstdlib>
#include <cstring>

const char NoDisplayMessage[] = "redivev: no graphical display found (X11 or Wayland is needed)";

namespace {

QtMessageHandler PreviousHandler = nullptr;

bool NonEmpty(const char *Name)
{
    const char *Value = std::getenv(Name);
    return Value != nullptr && *Value != '\0';
}

void ExitOnFatal(QtMsgType Type, const QMessageLogContext &Context, const QString &Text)
{
    if (Type != QtFatalMsg) {
        if (PreviousHandler != nullptr)
            PreviousHandler(Type, Context, Text);
        return;
    }
    // Inside the application object's constructor: no destructor, no
    // exit handler may run on a half-built object.
    ReportNoDisplay();
    std::_Exit(1);
}

} // namespace

bool DisplayChosen(int Argc, char **Argv)
{
    if (NonEmpty("DISPLAY") || NonEmpty("WAYLAND_DISPLAY") || NonEmpty("QT_QPA_PLATFORM"))
        return true;
    for (int I = 1; I + 1 < Argc; ++I)
        if (std::strcmp(Argv[I], "-platform") == 0 || std::strcmp(Argv[I], "--platform") == 0)
            return true;
    return false;
}

int ReportNoDisplay()
{
    std::fprintf(stderr, "%s\n", NoDisplayMessage);
    std::fflush(stderr);
    return 1;
}

TNoDisplayGuard::TNoDisplayGuard()
{
    PreviousHandler = qInstallMessageHandler(ExitOnFatal);
}

TNoDisplayGuard::~TNoDisplayGuard()
{
    qInstallMessageHandler(PreviousHandler);
}
