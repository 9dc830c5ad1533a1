// Times the wave library on one WAV file: LoadFromFile, SaveToFile, and a
// GetPosValue16 pass over every sample of every channel. Prints wall times,
// rates and the process's peak resident memory, to be compared with reading
// and writing the same number of bytes with `cat` / `dd`. A file the loader
// refuses gets the time and memory it took to refuse it.
//
//   wave-bench FILE.wav [OUT.wav]
#include "wave/ZuWAVE.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <chrono>
#include <cstdio>

#include <sys/resource.h>

namespace {

double Seconds(std::chrono::steady_clock::time_point Since)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - Since).count();
}

long PeakKiB()
{
    rusage Usage{};
    getrusage(RUSAGE_SELF, &Usage);
    return Usage.ru_maxrss;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: wave-bench FILE.wav [OUT.wav]\n");
        return 2;
    }
    QCoreApplication Application(argc, argv);
    const QString In = QString::fromLocal8Bit(argv[1]);
    const QString Out = argc > 2 ? QString::fromLocal8Bit(argv[2]) : In + ".bench-out.wav";
    const double FileMiB = double(QFileInfo(In).size()) / (1 << 20);

    try {
        TZuWave Wave(nullptr);
        auto Start = std::chrono::steady_clock::now();
        try {
            Wave.LoadFromFile(In);
        } catch (const std::exception &Error) {
            std::printf("file            %.1f MiB\n", FileMiB);
            std::printf("LoadFromFile    refused after %.4f s: %s\n", Seconds(Start), Error.what());
            std::printf("peak RSS        %.1f MiB\n", PeakKiB() / 1024.0);
            return 1;
        }
        const double Load = Seconds(Start);
        const long LoadPeak = PeakKiB();

        Start = std::chrono::steady_clock::now();
        Wave.SaveToFile(Out);
        const double Save = Seconds(Start);

        const std::int32_t Frames = Wave.GetWaveSize();
        const std::int32_t Channels = Wave.GetChannels();
        Start = std::chrono::steady_clock::now();
        std::int64_t Sum = 0;
        for (std::int32_t Ch = 0; Ch < Channels; ++Ch)
            for (std::int32_t Pos = 0; Pos < Frames; ++Pos)
                Sum += Wave.GetPosValue16(Ch, Pos);
        const double Pass = Seconds(Start);
        const double Samples = double(Frames) * Channels;

        std::printf("file            %.1f MiB, %d frames x %d channels\n", FileMiB, Frames, Channels);
        std::printf("LoadFromFile    %.3f s\n", Load);
        std::printf("SaveToFile      %.3f s\n", Save);
        std::printf("GetPosValue16   %.3f s  %.0f M samples/s  (checksum %lld)\n", Pass, Samples / Pass / 1e6,
                    static_cast<long long>(Sum));
        std::printf("peak RSS        %.1f MiB after load (%.2f x file), %.1f MiB at end (%.2f x file)\n",
                    LoadPeak / 1024.0, LoadPeak / 1024.0 / FileMiB, PeakKiB() / 1024.0, PeakKiB() / 1024.0 / FileMiB);
    } catch (const std::exception &Error) {
        std::fprintf(stderr, "wave-bench: %s\n", Error.what());
        return 1;
    }
    return 0;
}
