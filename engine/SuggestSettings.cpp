#include "engine/SuggestSettings.h"

#include "engine/SampleFormat.h"
#include "engine/WindowLevels.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

namespace {

constexpr double Silence = SilentDb;
constexpr double Loudest = 200; // dBFS of one that is not finite: far above any threshold

// The RMS of each 10 ms window, loudest channel, in dBFS.
std::vector<double> WindowLevelsDb(const TSampleView &Recording, std::int64_t N, std::int64_t Width)
{
    std::vector<double> Levels;
    const int Channels = Recording.Format.nChannels;
    WithCodec(EncodingOf(Recording.Format), [&](auto Codec) {
        using TCodec = decltype(Codec);
        // The exact levels a single sample has; a float that is not finite
        // makes its window as loud as can be.
        const long double Scale = static_cast<long double>(TCodec::FromPanel(1));
        std::vector<long double> Sums(static_cast<std::size_t>(Channels));
        for (std::int64_t First = 0; First + Width <= N; First += Width) {
            std::fill(Sums.begin(), Sums.end(), 0.0L);
            for (std::int64_t J = First; J < First + Width; ++J)
                for (int Ch = 0; Ch < Channels; ++Ch) {
                    const std::uint8_t *At = Recording.Data + (J * Channels + Ch) * TCodec::Bytes;
                    const long double Level = static_cast<long double>(TCodec::Magnitude(At)) / Scale;
                    Sums[std::size_t(Ch)] += Level * Level;
                }
            const long double Top = *std::max_element(Sums.begin(), Sums.end());
            const double Rms = double(std::sqrt(Top / static_cast<long double>(Width)) / 32768.0L);
            Levels.push_back(Rms > 0 ? std::clamp(20 * std::log10(Rms), Silence, Loudest) : Silence);
        }
    });
    return Levels;
}

// The value below which Share of Values lie (Values is reordered).
double Quantile(std::vector<double> &Values, double Share)
{
    const auto At = Values.begin() + std::ptrdiff_t(Share * double(Values.size() - 1));
    std::nth_element(Values.begin(), At, Values.end());
    return *At;
}

// The noise floor: the quiet end of each stretch of a few seconds, and of
// those the high end, so that a floor that rises over the recording counts
// where it is highest and a stretch of unbroken speech does not count.
double NoiseFloorDb(const std::vector<double> &Levels)
{
    constexpr std::size_t Stretch = 300; // windows: 3 s
    std::vector<double> Floors;
    for (std::size_t First = 0; First < Levels.size(); First += Stretch) {
        std::vector<double> Part(Levels.begin() + std::ptrdiff_t(First),
                                 Levels.begin() + std::ptrdiff_t(std::min(First + Stretch, Levels.size())));
        Floors.push_back(Quantile(Part, 0.1));
    }
    return Quantile(Floors, 0.9);
}

// The speech level: the middle of the windows clearly above the floor;
// nothing when none is.
std::optional<double> SpeechLevelDb(const std::vector<double> &Levels, double Floor)
{
    std::vector<double> Loud;
    for (double Level : Levels)
        if (Level > Floor + 10)
            Loud.push_back(Level);
    if (Loud.empty())
        return std::nullopt;
    return Quantile(Loud, 0.5);
}

std::int32_t PanelLevel(double Db)
{
    return std::int32_t(std::clamp(std::lround(32768.0 * std::pow(10.0, Db / 20.0)), 1L, 32768L));
}

std::int32_t PanelWidth(double Seconds, std::uint32_t Rate)
{
    return std::int32_t(std::max(1L, std::lround(Seconds * Rate)));
}

} // namespace

TSuggestedSettings SuggestTrimSettings(const TSampleView &Recording)
{
    TSuggestedSettings Suggested;
    const std::uint32_t Rate = std::max<std::uint32_t>(Recording.Format.nSamplesPerSec, 1);
    const bool Read = Recording.Format.wFormatTag == WAVE_FORMAT_PCM || Recording.Format.wFormatTag == WaveFormatFloat;
    const std::int64_t N = Read ? FrameCountOf(Recording) : 0;
    if (N > 0)
        RefuseUnreadLayout(Recording);
    const std::vector<double> Levels =
        N > 0 ? WindowLevelsDb(Recording, N, std::max<std::int64_t>(Rate / 100, 1)) : std::vector<double>{};
    const double Floor = Levels.empty() ? Silence : NoiseFloorDb(Levels);
    const std::optional<double> Speech = SpeechLevelDb(Levels, Floor);
    Suggested.NoiseFloorDb = Floor;
    Suggested.SpeechLevelDb = Speech.value_or(Floor);
    Suggested.SpeechFound = Speech.has_value();

    // Silence ends well clear of the floor's own ripple; a piece opens only
    // nearer speech, so a noise that passes the lower level opens none.
    // Without speech the levels sit as far above the floor as for speech
    // 20 dB above it.
    const double Span = Speech ? *Speech - Floor : 20;
    TTrimSettings &Settings = Suggested.Settings;
    Settings.NoSoundLevel = PanelLevel(Floor + std::max(4.0, 0.2 * Span));
    Settings.CutStartLevel = std::max(PanelLevel(Floor + std::max(9.0, 0.45 * Span)), Settings.NoSoundLevel + 1);
    Settings.NoSoundWidth = PanelWidth(0.3, Rate);
    Settings.MinimumSize = PanelWidth(0.25, Rate);
    Settings.BackwardSearch = 0;
    Settings.ForwardSearch = 0;
    Settings.Pad = PanelWidth(0.25, Rate);
    Settings.LevelWindow = PanelWidth(0.02, Rate);
    return Suggested;
}
