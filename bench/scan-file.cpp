// The engine's own detection rate on a recording's samples held in memory
// (read once, so the disk and page faults do not count), with the default
// settings: the yardstick for detection called from elsewhere on the same
// samples (bench/detect-bench). Prints the median of the runs (with "best",
// the fastest) in frames per second.
//
//   scan-file FILE.wav [RUNS [best]]
#include "engine/MappedRecording.h"
#include "engine/SampleFormat.h"
#include "engine/TrimDetection.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>
#include <vector>

int main(int argc, char *argv[])
{
    if (argc < 2) {
        std::fputs("usage: scan-file FILE.wav [RUNS [best]]\n", stderr);
        return 2;
    }
    const int Runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 7;
    try {
        TMappedRecording Recording{std::string(argv[1])};
        Recording.CopyIntoMemory();
        const TSampleView &View = Recording.View();
        const std::int64_t Frames = FrameCountOf(View);
        std::vector<double> Rates;
        std::size_t Pieces = 0;
        for (int Run = 0; Run < Runs; ++Run) {
            const auto Start = std::chrono::steady_clock::now();
            Pieces = DetectTrimAreas(View, TTrimSettings{}).size();
            const std::chrono::duration<double> Took = std::chrono::steady_clock::now() - Start;
            Rates.push_back(double(Frames) / Took.count());
        }
        std::sort(Rates.begin(), Rates.end());
        const bool Best = argc > 3 && std::string(argv[3]) == "best";
        std::printf("%.0f frames/s (%s of %d), %zu pieces\n", Best ? Rates.back() : Rates[Rates.size() / 2],
                    Best ? "fastest" : "median", Runs, Pieces);
    } catch (const std::exception &Error) {
        std::fprintf(stderr, "scan-file: %s\n", Error.what());
        return 1;
    }
    return 0;
}
