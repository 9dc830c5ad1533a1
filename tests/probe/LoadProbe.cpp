// Loads one WAV file in a process of its own, so that the process's peak
// resident memory is the load's and not the rest of a test suite's.
//
//   load_probe FILE.wav
//
// Prints two lines: "frames N" or "error MESSAGE", then how far the load
// raised the peak resident memory above what was resident before it, in KiB.
#include "wave/ZuWAVE.h"

#include "ProcessStatus.h"

#include <QCoreApplication>

#include <cstdio>
#include <exception>
#include <string>

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: load_probe FILE.wav\n");
        return 2;
    }
    // Waves own QObjects; give them the application object they expect.
    QCoreApplication Application(argc, argv);
    const long Before = StatusKiB("VmRSS:");
    std::string Outcome;
    try {
        TZuWave Wave(nullptr);
        Wave.LoadFromFile(QString::fromLocal8Bit(argv[1]));
        Outcome = "frames " + std::to_string(Wave.GetWaveSize());
    } catch (const std::exception &Error) {
        Outcome = std::string("error ") + Error.what();
    }
    const long Peak = StatusKiB("VmHWM:");
    if (Before < 0 || Peak < 0) {
        std::fprintf(stderr, "load_probe: no memory figures in /proc/self/status\n");
        return 1;
    }
    std::printf("%s\n%ld\n", Outcome.c_str(), Peak - Before);
    return 0;
}
