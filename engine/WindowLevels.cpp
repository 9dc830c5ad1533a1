#include "engine/WindowLevels.h"

void ScanWindowedLevels(const TSampleView &Recording, std::int64_t N, const TTrimSettings &Settings,
                        std::vector<TTrimArea> &Areas, std::int32_t &Count)
{
    WithCodec(EncodingOf(Recording.Format), [&](auto Codec) {
        using TCodec = decltype(Codec);
        TWindowLevels<TCodec> Levels(Recording.Data, Recording.Format.nChannels, N, Settings.LevelWindow);
        const auto LevelOf = [&Levels](std::int64_t J) { return Levels(J); };
        const auto LoudestOf = [&Levels](std::int64_t First) { return Levels.Loudest(First); };
        ScanTrimAreasSkipping(LevelOf, LoudestOf, N,
                              ScanLimitsOf(Settings, [](std::int64_t Level) { return double(Level); }), Areas,
                              Count);
    });
}
