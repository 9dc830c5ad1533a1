// Times the program's commands on one recording, through the real main form
// (offscreen): load as the menu does, automatic cut-out, export of every
// area (answering No to the folder question), peak normalisation.
//
//   redivev-bench FILE.wav [--out DIR] [--runs K] [--overwrite]
//
// The export goes to DIR/MakedFile (default: a temporary directory removed
// afterwards), emptied before each run unless --overwrite is given, in which
// case the files of the run before are replaced as a repeated export does.
// With --runs K the whole sequence runs K times on a fresh form and each
// stage's best time is printed as well.
#include "app/Unit1.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

using TClock = std::chrono::steady_clock;

template <class TAction>
double Seconds(TAction &&Action)
{
    const auto Start = TClock::now();
    Action();
    return std::chrono::duration<double>(TClock::now() - Start).count();
}

struct TRun {
    double Load = 0, Scan = 0, Export = 0, Normalise = 0;
    std::int64_t Positions = 0, Samples = 0;
    std::int32_t Areas = 0, Files = 0;
    QStringList Messages;
};

TRun RunOnce(const QString &File, const QString &OutDir, bool Overwrite)
{
    TForm1 Form;
    Form.show();
    TRun Run;
    Form.RunOpenDialog = [&] { return std::optional<QString>(File); };
    Form.ShowMessage = [&](const QString &Text) { Run.Messages << Text; };
    Form.AskYesNo = [](const QString &, const QString &) { return false; };
    Form.OpenFolder = [](const QString &) {};
    Form.ProgramDirectory = [&] { return OutDir; };

    // Nothing of an earlier run still waiting to be written back, so that
    // each run's export pays only for its own files.
    if (!Overwrite)
        QDir(OutDir + "/MakedFile").removeRecursively();
    QDir().mkpath(OutDir);
    ::sync();

    Run.Load = Seconds([&] { Form.FileOpen(); });
    Run.Positions = Form.ZU->GetWaveSize();
    Run.Samples = Run.Positions * Form.ZU->GetChannels();
    Run.Scan = Seconds([&] { Form.N5Click(); });
    Run.Areas = Form.FAreaCount;
    Run.Export = Seconds([&] { Form.N6Click(); });
    Run.Files = static_cast<std::int32_t>(QDir(OutDir + "/MakedFile").entryList(QDir::Files).size());
    Run.Normalise = Seconds([&] { Form.N3Click(); });
    return Run;
}

void Print(const char *Title, const TRun &Run)
{
    std::printf("%s\n", Title);
    std::printf("  load       %8.3f s\n", Run.Load);
    std::printf("  scan       %8.3f s  %7.1f M positions/s  (%d areas)\n", Run.Scan, Run.Positions / Run.Scan / 1e6,
                Run.Areas);
    std::printf("  export     %8.3f s  (%d files)\n", Run.Export, Run.Files);
    std::printf("  load+scan+export %8.3f s\n", Run.Load + Run.Scan + Run.Export);
    std::printf("  normalise  %8.3f s  %7.1f M samples/s\n", Run.Normalise, Run.Samples / Run.Normalise / 1e6);
}

} // namespace

int main(int argc, char **argv)
{
    if (qgetenv("QT_QPA_PLATFORM").isEmpty())
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication Application(argc, argv);

    QString File, OutDir;
    int Runs = 1;
    bool Overwrite = false;
    for (int I = 1; I < argc; ++I) {
        const std::string Arg = argv[I];
        if (Arg == "--out" && I + 1 < argc)
            OutDir = QString::fromLocal8Bit(argv[++I]);
        else if (Arg == "--runs" && I + 1 < argc)
            Runs = std::max(1, std::atoi(argv[++I]));
        else if (Arg == "--overwrite")
            Overwrite = true;
        else if (File.isEmpty() && Arg.rfind("--", 0) != 0)
            File = QString::fromLocal8Bit(argv[I]);
        else {
            std::fprintf(stderr, "usage: redivev-bench FILE.wav [--out DIR] [--runs K] [--overwrite]\n");
            return 2;
        }
    }
    if (File.isEmpty()) {
        std::fprintf(stderr, "usage: redivev-bench FILE.wav [--out DIR] [--runs K] [--overwrite]\n");
        return 2;
    }
    QTemporaryDir Temporary;
    if (OutDir.isEmpty())
        OutDir = Temporary.path();

    try {
        TRun Best;
        for (int R = 0; R < Runs; ++R) {
            const TRun Run = RunOnce(File, OutDir, Overwrite);
            if (Run.Messages.size() != 1) {
                std::fprintf(stderr, "unexpected messages:\n%s\n", qPrintable(Run.Messages.join('\n')));
                return 1;
            }
            char Title[64];
            std::snprintf(Title, sizeof Title, "run %d of %d (%lld positions)", R + 1, Runs,
                          static_cast<long long>(Run.Positions));
            Print(Title, Run);
            if (R == 0) {
                Best = Run;
            } else {
                Best.Load = std::min(Best.Load, Run.Load);
                Best.Scan = std::min(Best.Scan, Run.Scan);
                Best.Export = std::min(Best.Export, Run.Export);
                Best.Normalise = std::min(Best.Normalise, Run.Normalise);
            }
        }
        if (Runs > 1)
            Print("best of all runs (each stage on its own)", Best);
    } catch (const std::exception &Error) {
        std::fprintf(stderr, "redivev-bench: %s\n", Error.what());
        return 1;
    }
    return 0;
}
