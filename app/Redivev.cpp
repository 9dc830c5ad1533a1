#include "app/Application.h"
#include "app/DisplayCheck.h"
#include "app/OpenNamed.h"
#include "app/StartUp.h"
#include "app/Unit1.h"
#include "app/Unit2.h"
#include "platform/StandardStreams.h"

#include <csignal>
#include <memory>

int main(int argc, char *argv[])
{
    OccupyClosedStandardStreams();
    // A file-size limit is then a failed export naming the file (EFBIG),
    // whose temporary file is removed, instead of the window vanishing.
    std::signal(SIGXFSZ, SIG_IGN);
    if (!DisplayChosen(argc, argv))
        return ReportNoDisplay();
    std::unique_ptr<TApplication> Application;
    {
        TNoDisplayGuard Guard;
        Application = std::make_unique<TApplication>(argc, argv);
    }
    TForm1 Form1;
    TForm2 Form2(Form1);
    ShowAtStart(Form1, Form2);
    // Qt has taken its own options out of argv; what is left are the bytes
    // the program was given, which a file's name is.
    QByteArrayList Arguments;
    for (int I = 0; I < argc; ++I)
        Arguments << QByteArray(argv[I]);
    OpenFromCommandLine(Form1, Arguments);
    return Application->exec();
}
