// Detection's speed per sample format, on the same ten minutes of stereo
// sound held in memory (so the disk and the page cache do not blur it):
// bursts of tone over a faint noise floor, as 16-bit, 24-bit, 32-bit and
// float samples. Prints positions per second, medians of 7 runs, and each
// format's rate against 16-bit's; then 16-bit with levels over a 10 ms
// window, the margin-and-window path, and the settings suggestion, which
// reads every sample; last what --auto costs (the suggestion, then
// detection with the settings it chose) against detection with the
// designed settings.
#include "engine/SuggestSettings.h"
#include "engine/TrimDetection.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

std::vector<std::int16_t> Signal(std::int64_t Frames)
{
    std::vector<std::int16_t> Values(std::size_t(Frames) * 2);
    std::uint32_t Noise = 1;
    for (std::int64_t J = 0; J < Frames; ++J) {
        const bool Burst = (J / 44100) % 4 < 3;
        for (int Ch = 0; Ch < 2; ++Ch) {
            Noise = Noise * 1664525u + 1013904223u;
            const int Floor = int(Noise >> 26) - 32;
            const double Tone = Burst ? 12000 * std::sin(double(J) * 0.05 + Ch) : 0;
            Values[std::size_t(J) * 2 + Ch] = std::int16_t(std::lround(Tone) + Floor);
        }
    }
    return Values;
}

std::vector<std::uint8_t> Encode(const std::vector<std::int16_t> &Values, std::uint16_t Tag, int Bits)
{
    std::vector<std::uint8_t> Out;
    Out.reserve(Values.size() * std::size_t(Bits / 8));
    for (std::int16_t Value : Values) {
        if (Tag == 3) {
            const float Scaled = float(Value / 32768.0);
            const auto *At = reinterpret_cast<const std::uint8_t *>(&Scaled);
            Out.insert(Out.end(), At, At + 4);
            continue;
        }
        const std::int64_t Wide = std::int64_t(Value) << (Bits - 16);
        for (int B = 0; B < Bits / 8; ++B)
            Out.push_back(std::uint8_t(std::uint64_t(Wide) >> (8 * B)));
    }
    return Out;
}

double PositionsPerSecond(const std::vector<std::uint8_t> &Data, std::uint16_t Tag, int Bits, std::int64_t Frames,
                          std::int32_t LevelWindow = 0)
{
    TSampleView View;
    View.Format = {Tag, 2, 44100, 0, 0, std::uint16_t(Bits), 0};
    View.Data = Data.data();
    View.DataSize = std::int64_t(Data.size());
    TTrimSettings Settings;
    Settings.NoSoundWidth = 13230;
    Settings.LevelWindow = LevelWindow;
    std::vector<double> Rates;
    for (int Run = 0; Run < 7; ++Run) {
        const auto Start = std::chrono::steady_clock::now();
        const std::vector<TTrimArea> Areas = DetectTrimAreas(View, Settings);
        const std::chrono::duration<double> Took = std::chrono::steady_clock::now() - Start;
        if (Areas.empty())
            std::fprintf(stderr, "scan-bench: no areas found\n");
        Rates.push_back(double(Frames) / Took.count());
    }
    std::sort(Rates.begin(), Rates.end());
    return Rates[Rates.size() / 2];
}

// The median of Runs runs' seconds.
template <class TRun>
double Median(int Runs, TRun &&Run)
{
    std::vector<double> Took;
    for (int I = 0; I < Runs; ++I) {
        const auto Start = std::chrono::steady_clock::now();
        Run();
        Took.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - Start).count());
    }
    std::sort(Took.begin(), Took.end());
    return Took[Took.size() / 2];
}

} // namespace

int main()
{
    const std::int64_t Frames = 600LL * 44100;
    const std::vector<std::int16_t> Values = Signal(Frames);
    struct TCase {
        const char *Name;
        std::uint16_t Tag;
        int Bits;
    };
    const TCase Cases[] = {{"16-bit", 1, 16}, {"24-bit", 1, 24}, {"32-bit", 1, 32}, {"float", 3, 32}};
    double Base = 0;
    for (const TCase &Case : Cases) {
        const double Rate = PositionsPerSecond(Encode(Values, Case.Tag, Case.Bits), Case.Tag, Case.Bits, Frames);
        if (Base == 0)
            Base = Rate;
        std::printf("%-7s %8.1f M positions/s  %.2f of 16-bit's (target >= 0.5)\n", Case.Name, Rate / 1e6, Rate / Base);
    }
    const double Windowed = PositionsPerSecond(Encode(Values, 1, 16), 1, 16, Frames, 441);
    std::printf("16-bit, 10 ms level window %8.1f M positions/s  %.2f of 16-bit's\n", Windowed / 1e6, Windowed / Base);
    const std::vector<std::uint8_t> Data = Encode(Values, 1, 16);
    TSampleView View;
    View.Format = {1, 2, 44100, 0, 0, 16, 0};
    View.Data = Data.data();
    View.DataSize = std::int64_t(Data.size());
    std::vector<double> Took;
    for (int Run = 0; Run < 3; ++Run) {
        const auto Start = std::chrono::steady_clock::now();
        if (SuggestTrimSettings(View).Settings.LevelWindow == 0)
            std::fprintf(stderr, "scan-bench: no level window suggested\n");
        Took.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - Start).count());
    }
    std::sort(Took.begin(), Took.end());
    std::printf("suggestion  %8.1f M positions/s (%.2f s for these 10 minutes)\n", double(Frames) / Took[1] / 1e6,
                Took[1]);
    const double Auto = Median(7, [&View] {
        if (DetectTrimAreas(View, SuggestTrimSettings(View).Settings).empty())
            std::fprintf(stderr, "scan-bench: no areas found with the suggested settings\n");
    });
    const double Plain = Median(7, [&View] {
        if (DetectTrimAreas(View, TTrimSettings{}).empty())
            std::fprintf(stderr, "scan-bench: no areas found with the designed settings\n");
    });
    std::printf("auto        %.3f s against %.3f s with the designed settings: %.2f (target <= 1.5)\n", Auto, Plain,
                Auto / Plain);
}
