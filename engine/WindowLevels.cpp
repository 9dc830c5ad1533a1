#include "engine/WindowLevels.h"

void ScanWindowedLevels(const TSampleView &Recording, std::int64_t N, const TTrimSettings &Settings,
                        std::vector<TTrimArea> &Areas, std::int32_t &Count, const TDetectionProgress &Progress)
{
    WithCodec(EncodingOf(Recording.Format), [&](auto Codec) {
        using TCodec = decltype(Codec);
        TWindowLevels<TCodec> Levels(Recording.Data, Recording.Format.nChannels, N, Settings.LevelWindow);
        const auto Limits = ScanLimitsOf(Settings, TWindowLevels<TCodec>::FromPanel);
        Levels.SetQuiet(Limits.NoSoundLevel);
        if (Recording.Source) {
            // Samples made as they are asked for: every read asks first
            // for all that the window levels may read around it.
            const TSampleSource &Source = *Recording.Source;
            const std::int64_t Reach = Levels.Reach();
            const auto LevelAt = [&](std::int64_t J) {
                Source.Need(J - Reach, J + Reach);
                return Levels(J);
            };
            const auto LoudestAt = [&](std::int64_t First) {
                Source.Need(First - Reach, First + TrimScanBlock + Reach);
                return Levels.Loudest(First);
            };
            if (!Progress) {
                ScanTrimAreasSkipping(LevelAt, LoudestAt, N, Limits, Areas, Count);
                return;
            }
            TDetectionTicks Ticks(Progress, N);
            ScanTrimAreasSkipping([&](std::int64_t J) { Ticks.Tick(J); return LevelAt(J); },
                                  [&](std::int64_t First) { Ticks.Tick(First); return LoudestAt(First); }, N, Limits,
                                  Areas, Count);
            return;
        }
        if (!Progress) {
            ScanTrimAreasSkipping([&Levels](std::int64_t J) { return Levels(J); },
                                  [&Levels](std::int64_t First) { return Levels.Loudest(First); }, N, Limits, Areas,
                                  Count);
            return;
        }
        TDetectionTicks Ticks(Progress, N);
        ScanTrimAreasSkipping([&](std::int64_t J) { Ticks.Tick(J); return Levels(J); },
                              [&](std::int64_t First) { Ticks.Tick(First); return Levels.Loudest(First); }, N, Limits,
                              Areas, Count);
    });
}
