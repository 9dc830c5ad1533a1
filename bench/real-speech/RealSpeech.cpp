#include "RealSpeech.h"

#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <numbers>
#include <random>

namespace realspeech {

namespace {

constexpr std::uint32_t Rate = 48000;

// A clip's own pauses longer than this make it two utterances: longer
// than the pauses the plan puts inside a sentence, and than many of those
// it puts between sentences.
constexpr std::size_t LongestOwnPause = 60; // 10 ms windows

// Mono at 48 kHz by linear interpolation, cut into its utterances, each
// trimmed to its voice, peak 1. A file whose own room noise lies within
// 30 dB of its voice gives none: where its voice starts and ends is not
// clear, and that noise would start and stop with each clip.
bool Read(const std::string &Path, std::vector<TClip> &Clips)
{
    SF_INFO Info{};
    SNDFILE *File = sf_open(Path.c_str(), SFM_READ, &Info);
    if (!File)
        return false;
    std::vector<float> Frames(std::size_t(Info.frames * Info.channels));
    const sf_count_t Got = sf_readf_float(File, Frames.data(), Info.frames);
    sf_close(File);
    if (Got <= 0 || Info.samplerate <= 0)
        return false;
    std::vector<float> Mono(static_cast<std::size_t>(Got));
    for (sf_count_t I = 0; I < Got; ++I)
        Mono[std::size_t(I)] = Frames[std::size_t(I * Info.channels)];
    std::vector<float> Samples;
    const double Step = double(Info.samplerate) / Rate;
    for (double At = 0; At + 1 < double(Mono.size()); At += Step) {
        const std::size_t I = std::size_t(At);
        Samples.push_back(float(Mono[I] + (At - double(I)) * (Mono[I + 1] - Mono[I])));
    }
    // Voiced: the 10 ms windows within 30 dB of the loudest.
    constexpr std::size_t Window = Rate / 100;
    std::vector<double> Power;
    for (std::size_t First = 0; First + Window <= Samples.size(); First += Window) {
        double Sum = 0;
        for (std::size_t I = First; I < First + Window; ++I)
            Sum += double(Samples[I]) * Samples[I];
        Power.push_back(Sum / Window);
    }
    if (Power.empty())
        return false;
    const double Loudest = *std::max_element(Power.begin(), Power.end());
    std::vector<double> Sorted = Power;
    std::nth_element(Sorted.begin(), Sorted.begin() + std::ptrdiff_t(Sorted.size() / 10), Sorted.end());
    if (Loudest <= 0 || Sorted[Sorted.size() / 10] >= Loudest * 1e-3)
        return false;
    const auto Voiced = [Loudest](double Value) { return Value >= Loudest * 1e-3; };
    for (std::size_t First = 0; First < Power.size();) {
        while (First < Power.size() && !Voiced(Power[First]))
            ++First;
        if (First == Power.size())
            break;
        std::size_t End = First + 1, Quiet = 0;
        for (std::size_t K = First + 1; K < Power.size() && Quiet <= LongestOwnPause; ++K) {
            Quiet = Voiced(Power[K]) ? 0 : Quiet + 1;
            if (!Quiet)
                End = K + 1;
        }
        TClip Clip;
        Clip.Samples.assign(Samples.begin() + std::ptrdiff_t(First * Window),
                            Samples.begin() + std::ptrdiff_t(End * Window));
        float Peak = 0;
        for (float Value : Clip.Samples)
            Peak = std::max(Peak, std::abs(Value));
        if (Peak > 0 && Clip.Samples.size() > Rate / 20) {
            for (float &Value : Clip.Samples)
                Value /= Peak;
            Clips.push_back(std::move(Clip));
        }
        First = End;
    }
    return true;
}

std::vector<TClip> Found()
{
    std::vector<std::string> Paths;
    for (const char *Root : {"/usr/share/klettres", "/usr/share/sounds/alsa"}) {
        std::error_code Error;
        for (auto It = std::filesystem::recursive_directory_iterator(Root, Error);
             !Error && It != std::filesystem::recursive_directory_iterator(); It.increment(Error)) {
            const std::string Path = It->path().string();
            const bool Sound = Path.ends_with(".ogg") || Path.ends_with(".wav");
            if (Sound && Path.find("Noise") == std::string::npos)
                Paths.push_back(Path);
        }
    }
    std::sort(Paths.begin(), Paths.end());
    std::vector<TClip> Clips;
    for (const std::string &Path : Paths)
        Read(Path, Clips);
    return Clips;
}

} // namespace

const std::vector<TClip> &Clips()
{
    static const std::vector<TClip> All = Found();
    return All;
}

speechtest::TSpeechRecording MakeRealSpeech(const TRealPlan &Plan, TRealTruth *Truth)
{
    speechtest::TSpeechRecording Made;
    Made.Rate = Rate;
    if (Truth)
        *Truth = {};
    const std::vector<TClip> &All = Clips();
    if (All.empty())
        return Made;
    std::mt19937 Random(Plan.Seed);
    const auto Uniform = [&Random](double Low, double High) {
        return std::uniform_real_distribution<double>(Low, High)(Random);
    };
    const auto Positions = [](double Seconds) { return std::int64_t(std::lround(Seconds * Rate)); };
    std::vector<double> Signal;
    std::int64_t Pos = Positions(Uniform(0.5, 1.5));
    for (int S = 0; S < Plan.Sentences; ++S) {
        const double Peak = 32767 * std::pow(10.0, Uniform(-30, -6) / 20);
        const int Count = 1 + int(Random() % 4);
        const std::int64_t Start = Pos;
        for (int C = 0; C < Count; ++C) {
            const TClip &Clip = All[Random() % All.size()];
            Signal.resize(std::size_t(Pos) + Clip.Samples.size(), 0.0);
            for (std::size_t I = 0; I < Clip.Samples.size(); ++I)
                Signal[std::size_t(Pos) + I] += Peak * Clip.Samples[I];
            Pos += std::int64_t(Clip.Samples.size());
            if (Truth)
                Truth->Voiced.push_back({Pos - std::int64_t(Clip.Samples.size()), Pos});
            if (C + 1 < Count)
                Pos += Positions(Uniform(0.15, 0.6));
        }
        Made.Sentences.push_back({Start, Pos});
        Pos += Positions(Uniform(0.3, 2.0));
    }
    Signal.resize(std::size_t(Pos + Positions(1.0)), 0.0);
    std::vector<double> Loudest(Made.Sentences.size()), NoisePower(Made.Sentences.size());
    for (std::size_t S = 0; S < Made.Sentences.size(); ++S)
        for (std::int64_t First = Made.Sentences[S].Start; First + Rate / 100 <= Made.Sentences[S].End;
             First += Rate / 100) {
            double Sum = 0;
            for (std::int64_t I = First; I < First + Rate / 100; ++I)
                Sum += Signal[std::size_t(I)] * Signal[std::size_t(I)];
            Loudest[S] = std::max(Loudest[S], Sum / (Rate / 100));
        }
    std::normal_distribution<double> Noise(0, 1);
    double Poles[3] = {0, 0, 0};
    for (std::size_t I = 0; I < Signal.size(); ++I) {
        const double Share = double(I) / double(Signal.size());
        const double Floor = Plan.Noise == TNoise::Rising ? Plan.FloorDb + (-40 - Plan.FloorDb) * Share : Plan.FloorDb;
        double Value = Noise(Random);
        if (Plan.Noise == TNoise::Pink) {
            Poles[0] = 0.99765 * Poles[0] + Value * 0.0990460;
            Poles[1] = 0.96300 * Poles[1] + Value * 0.2965164;
            Poles[2] = 0.57000 * Poles[2] + Value * 1.0526913;
            Value = (Poles[0] + Poles[1] + Poles[2] + Value * 0.1848) / 2.95;
        }
        double Level = 32768 * std::pow(10.0, Floor / 20) * Value;
        if (Plan.Noise == TNoise::Hum)
            Level = 32768 * std::pow(10.0, (Floor - 25) / 20) * Value
                + 32768 * std::pow(10.0, Floor / 20) * std::sqrt(2.0)
                    * std::sin(2 * std::numbers::pi * 50 * double(I) / Rate);
        Signal[I] += Level;
        const auto In = std::upper_bound(Made.Sentences.begin(), Made.Sentences.end(), std::int64_t(I),
                                         [](std::int64_t At, const speechtest::TSentence &S) { return At < S.End; });
        if (In != Made.Sentences.end() && In->Start <= std::int64_t(I))
            NoisePower[std::size_t(In - Made.Sentences.begin())] += Level * Level;
    }
    if (Truth) {
        for (std::size_t S = 0; S < Made.Sentences.size(); ++S)
            Truth->AboveFloorDb.push_back(10 * std::log10(Loudest[S] * double(Made.Sentences[S].End - Made.Sentences[S].Start)
                                                    / std::max(NoisePower[S], 1e-30)));
    }
    Made.Samples.resize(Signal.size());
    for (std::size_t I = 0; I < Signal.size(); ++I)
        Made.Samples[I] = std::int16_t(std::clamp<long>(std::lround(Signal[I]), -32768, 32767));
    return Made;
}

} // namespace realspeech
