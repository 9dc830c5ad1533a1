#include "engine/SuggestSettings.h"

#include "engine/LevelBand.h"
#include "engine/PauseWidth.h"
#include "engine/RecordingLevels.h"
#include "engine/SampleFormat.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace {

// How much lower the floor must lie above 80 Hz for the cuts to be read
// there.
constexpr double TonalFloorDb = 8;

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
    const auto Middle = Loud.begin() + std::ptrdiff_t(Loud.size() / 2);
    std::nth_element(Loud.begin(), Middle, Loud.end());
    return *Middle;
}

// Whether the floor is mostly hum or rumble: its levels above the voice's
// lowest tones lie well below it. A hum lies under all of a recording, so
// a long one is judged on eight stretches of 4 s spread over it: filtering
// all of it would cost as much as the rest of the suggestion.
bool TonalFloor(const TSampleView &Recording, const std::vector<double> &Levels)
{
    const std::int64_t Width =
        std::max<std::int64_t>(std::max<std::uint32_t>(Recording.Format.nSamplesPerSec, 1) / LevelsPerSecond, 1);
    constexpr std::int64_t Stretches = 8, Stretch = 4 * LevelsPerSecond; // in levels
    const std::int64_t Count = std::int64_t(Levels.size());
    if (Count <= Stretches * Stretch) {
        NeedFrames(Recording, 0, FrameCountOf(Recording));
        return NoiseFloorOf(BandLevelsDb(Recording, BandHighPass)).Db < NoiseFloorOf(Levels).Db - TonalFloorDb;
    }
    const std::int64_t FrameBytes = FrameBytesOf(Recording);
    std::vector<double> Whole, Above;
    for (std::int64_t S = 0; S < Stretches; ++S) {
        const std::int64_t First = (Count - Stretch) * S / (Stretches - 1);
        TSampleView Part = Recording;
        Part.Data = Recording.Data + First * Width * FrameBytes;
        Part.DataSize = Stretch * Width * FrameBytes;
        Part.FileHandle = -1;
        NeedFrames(Recording, First * Width, (First + Stretch) * Width);
        Part.Source = nullptr;
        const std::vector<double> PartAbove = BandLevelsDb(Part, BandHighPass);
        Above.insert(Above.end(), PartAbove.begin(), PartAbove.end());
        Whole.insert(Whole.end(), Levels.begin() + std::ptrdiff_t(First), Levels.begin() + std::ptrdiff_t(First + Stretch));
    }
    return NoiseFloorOf(Above).Db < NoiseFloorOf(Whole).Db - TonalFloorDb;
}

// The levels over 20 ms, as detection's level window reads them: a
// rippling noise's single 10 ms peaks would break its pauses into pieces
// the detector never sees.
std::vector<double> OverTwenty(const std::vector<double> &Levels)
{
    std::vector<double> Smooth(Levels.size());
    for (std::size_t I = 0; I < Levels.size(); ++I) {
        const double Next = Levels[std::min(I + 1, Levels.size() - 1)];
        Smooth[I] = 10 * std::log10(0.5 * (std::pow(10.0, Levels[I] / 10) + std::pow(10.0, Next / 10)));
    }
    return Smooth;
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

TSuggestedSettings SuggestTrimSettings(const TSampleView &Recording, TPieceTarget Target)
{
    const std::vector<double> Levels = WindowLevelsDb(Recording);
    TSuggestedSettings Suggested = SuggestTrimSettings(Levels, Recording.Format.nSamplesPerSec, Target);
    // A floor that is mostly hum or rumble: its levels above the voice's
    // lowest tones lie well below it. Then the cuts are read there.
    if (Suggested.NoiseFloorDb > SilenceDb + 20 && TonalFloor(Recording, Levels)) {
        // The filter reads the whole recording.
        NeedFrames(Recording, 0, FrameCountOf(Recording));
        Suggested = SuggestTrimSettings(BandLevelsDb(Recording, BandHighPass), Recording.Format.nSamplesPerSec, Target);
        Suggested.Settings.Band = BandHighPass;
    }
    return Suggested;
}

TSuggestedSettings SuggestTrimSettings(const std::vector<double> &Levels, std::uint32_t Rate, TPieceTarget Target)
{
    TSuggestedSettings Suggested;
    Suggested.LevelsDb = Levels;
    Rate = std::max<std::uint32_t>(Rate, 1);
    const TNoiseFloor Noise = NoiseFloorOf(Levels);
    const double Floor = Noise.Db;
    const std::optional<double> Speech = SpeechLevelDb(Levels, Floor);
    Suggested.NoiseFloorDb = Floor;
    Suggested.Floor = FloorTrackOf(Levels, Noise, Rate);
    Suggested.SpeechLevelDb = Speech.value_or(Floor);
    Suggested.SpeechFound = Speech.has_value();

    // Silence ends clear of the floor's own ripple: noise whose short-time
    // levels swing (pink, rumbling) needs more room above its floor than
    // white noise, whose 20 ms levels barely move, so that its pauses are
    // seen whole. A piece opens a little higher, so that the noise opens
    // none, and no higher: quiet talkers and soft words are speech too.
    // Without speech the levels are the same: nothing above the floor
    // opens a piece.
    const double Quiet = std::max(2.5, 3.5 * Noise.RippleDb);
    const double Open = std::max(5.0, Quiet + 3);
    TTrimSettings &Settings = Suggested.Settings;
    Settings.NoSoundLevel = PanelLevel(Floor + Quiet);
    Settings.CutStartLevel = std::max(PanelLevel(Floor + Open), Settings.NoSoundLevel + 1);
    // Pauses as detection sees them: over a floor that moves, along it.
    const std::vector<double> Pauses = PauseLengths(OverTwenty(LevelsOverFloor(Levels, Suggested.Floor)), Floor + Quiet);
    Settings.NoSoundWidth = PanelWidth(PauseWidthFor(Pauses, Target), Rate);
    Settings.MinimumSize = PanelWidth(Target == TPieceTarget::Word ? 0.1 : 0.25, Rate);
    Settings.BackwardSearch = 0;
    Settings.ForwardSearch = 0;
    // Real voices begin and fade below the noise for longer than the
    // levels show: in rooms whose noise lies 15 to 25 dB under the speech,
    // a quarter second of margin left 6 to 17 % of the voice out. Neighbours
    // share a gap narrower than two margins at its middle, so a wide
    // margin never reaches into the next sentence.
    Settings.Pad = PanelWidth(Target == TPieceTarget::Word ? 0.05 : 0.8, Rate);
    Settings.LevelWindow = PanelWidth(0.02, Rate);
    Settings.JoinShort = 1;
    return Suggested;
}

TFloorTrack FloorFor(const TSuggestedSettings &Suggested, const TTrimSettings &Used)
{
    const TTrimSettings &Own = Suggested.Settings;
    if (Used.NoSoundLevel == Own.NoSoundLevel && Used.CutStartLevel == Own.CutStartLevel && Used.Band == Own.Band)
        return Suggested.Floor;
    return {};
}
