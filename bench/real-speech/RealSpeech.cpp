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

// Mono at 48 kHz by linear interpolation, trimmed to its voice, peak 1.
bool Read(const std::string &Path, TClip &Clip)
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
    const double Step = double(Info.samplerate) / Rate;
    for (double At = 0; At + 1 < double(Mono.size()); At += Step) {
        const std::size_t I = std::size_t(At);
        Clip.Samples.push_back(float(Mono[I] + (At - double(I)) * (Mono[I + 1] - Mono[I])));
    }
    // Voiced: the 10 ms windows within 30 dB of the loudest, so that the
    // room a clip was recorded in is not taken for its voice.
    constexpr std::size_t Window = Rate / 100;
    std::vector<double> Power;
    for (std::size_t First = 0; First + Window <= Clip.Samples.size(); First += Window) {
        double Sum = 0;
        for (std::size_t I = First; I < First + Window; ++I)
            Sum += double(Clip.Samples[I]) * Clip.Samples[I];
        Power.push_back(Sum / Window);
    }
    if (Power.empty())
        return false;
    const double Loudest = *std::max_element(Power.begin(), Power.end());
    if (Loudest <= 0)
        return false;
    const auto Voiced = [Loudest](double Value) { return Value >= Loudest * 1e-3; };
    const std::size_t First = std::size_t(std::find_if(Power.begin(), Power.end(), Voiced) - Power.begin());
    const std::size_t Last = std::size_t(std::find_if(Power.rbegin(), Power.rend(), Voiced).base() - Power.begin());
    Clip.Samples = std::vector<float>(Clip.Samples.begin() + std::ptrdiff_t(First * Window),
                                      Clip.Samples.begin() + std::ptrdiff_t(Last * Window));
    float Peak = 0;
    for (float Value : Clip.Samples)
        Peak = std::max(Peak, std::abs(Value));
    if (Peak <= 0)
        return false;
    for (float &Value : Clip.Samples)
        Value /= Peak;
    return Clip.Samples.size() > Rate / 20;
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
    for (const std::string &Path : Paths) {
        TClip Clip;
        if (Read(Path, Clip))
            Clips.push_back(std::move(Clip));
    }
    return Clips;
}

} // namespace

const std::vector<TClip> &Clips()
{
    static const std::vector<TClip> All = Found();
    return All;
}

speechtest::TSpeechRecording MakeRealSpeech(const TRealPlan &Plan)
{
    speechtest::TSpeechRecording Made;
    Made.Rate = Rate;
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
            if (C + 1 < Count)
                Pos += Positions(Uniform(0.15, 0.6));
        }
        Made.Sentences.push_back({Start, Pos});
        Pos += Positions(Uniform(0.3, 2.0));
    }
    Signal.resize(std::size_t(Pos + Positions(1.0)), 0.0);
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
    }
    Made.Samples.resize(Signal.size());
    for (std::size_t I = 0; I < Signal.size(); ++I)
        Made.Samples[I] = std::int16_t(std::clamp<long>(std::lround(Signal[I]), -32768, 32767));
    return Made;
}

} // namespace realspeech
