#include "engine/WindowLevels.h"

#include "engine/ScanAsking.h"

void ScanWindowedLevels(const TSampleView &Recording, std::int64_t N, const TTrimSettings &Settings,
                        std::vector<TTrimArea> &Areas, std::int32_t &Count, const TDetectionProgress &Progress)
{
    WithCodec(EncodingOf(Recording.Format), [&](auto Codec) {
        using TCodec = decltype(Codec);
        TWindowLevels<TCodec> Levels(Recording.Data, Recording.Format.nChannels, N, Settings.LevelWindow);
        const auto Limits = ScanLimitsOf(Settings, TWindowLevels<TCodec>::FromPanel);
        Levels.SetQuiet(Limits.NoSoundLevel);
        ScanAsking(Recording, Levels.Reach(), [&Levels](std::int64_t J) { return Levels(J); },
                   [&Levels](std::int64_t First) { return Levels.Loudest(First); }, N, Limits, Areas, Count, Progress);
    });
}
