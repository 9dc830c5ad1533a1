// The automatic cut-out's rules on 16-bit mono recordings made of runs of
// levels, with the default settings unless a test names others: where
// pieces open and close, the minimum size, the zero searches and the
// recording's ends.
#include "MonoView.h"
#include "engine/TrimDetection.h"

#include <gtest/gtest.h>

namespace {

using TAreas = std::vector<TTrimArea>;

TAreas Detect(std::initializer_list<TLevelRun> Runs, const TTrimSettings &Settings = {})
{
    return DetectTrimAreas(MonoView16(Levels16(Runs), 8000), Settings);
}

TEST(DetectionRules, LoudShortBurstEndsWhereTheSilenceRunCompletes)
{
    // 12000 is not below the zero search's 10000, so the end stays at the
    // position where the scan decided.
    EXPECT_EQ(Detect({{1000, 0}, {50, 12000}, {1000, 0}}), (TAreas{{1000, 1149}}));
}

TEST(DetectionRules, QuietOpeningsInsideALongSilenceCloseAtOnceAndReuseTheSlot)
{
    const std::vector<std::int16_t> Samples = Levels16({{1000, 0}, {3, 500}, {300, 5000}, {1000, 0}});
    TAreas Areas;
    std::int32_t Count = -1;
    DetectTrimAreas(MonoView16(Samples, 8000), TTrimSettings{}, Areas, Count);
    EXPECT_EQ(TAreas(Areas.begin(), Areas.begin() + Count), (TAreas{{1003, 1302}}));
    // Four openings, each setting the length to Count + 10 with the count
    // still 0.
    EXPECT_EQ(Areas.size(), 10u);
}

TEST(DetectionRules, PieceFollowedByTooShortASilenceEndsWithTheRecording)
{
    EXPECT_EQ(Detect({{1000, 0}, {300, 5000}, {500, 0}, {300, 5000}, {99, 0}}),
              (TAreas{{1000, 1299}, {1800, 2199}}));
}

TEST(DetectionRules, PieceCutOffByTheEndStillNeedsTheMinimumSize)
{
    EXPECT_EQ(Detect({{1000, 0}, {100, 5000}}), TAreas{});
    EXPECT_EQ(Detect({{1000, 0}, {101, 5000}}), (TAreas{{1000, 1101}}));
}

TEST(DetectionRules, ZeroSearchesMoveBothBoundariesToTheEarliestQuietestPosition)
{
    TTrimSettings Settings;
    Settings.BackwardSearch = 100;
    Settings.ForwardSearch = 100;
    EXPECT_EQ(Detect({{1000, 0}, {20, 50}, {300, 5000}, {10, 20}, {1000, 0}}, Settings), (TAreas{{920, 1330}}));
}

TEST(DetectionRules, StartSearchReachingPositionZeroIsNotMade)
{
    TTrimSettings Settings;
    // Opening at 50 with a window of 60 would begin at -10: not searched.
    Settings.BackwardSearch = 60;
    EXPECT_EQ(Detect({{50, 0}, {300, 5000}, {1000, 0}}, Settings), (TAreas{{50, 349}}));
    // A window of 50 begins at 0, which stops the search at once as well.
    Settings.BackwardSearch = 50;
    EXPECT_EQ(Detect({{50, 0}, {300, 5000}, {1000, 0}}, Settings), (TAreas{{50, 349}}));
    // At 49 it begins at 1, and the earliest silent position wins.
    Settings.BackwardSearch = 49;
    EXPECT_EQ(Detect({{50, 0}, {300, 5000}, {1000, 0}}, Settings), (TAreas{{1, 349}}));
}

TEST(DetectionRules, RecordingLoudFromItsFirstPositionStartsAtZero)
{
    EXPECT_EQ(Detect({{300, 5000}, {1000, 0}}), (TAreas{{0, 299}}));
}

TEST(DetectionRules, LevelsAreComparedWithTheirExactStrictness)
{
    TTrimSettings Settings;
    Settings.NoSoundLevel = 2000;  // silent: level <= 2000
    Settings.CutStartLevel = 3000; // opening: level >= 3000
    // 2001 is not silent and does not open; 3000 opens; 2000 is silent.
    EXPECT_EQ(Detect({{500, 2001}, {1, 3000}, {200, 2001}, {100, 2000}, {500, 0}}, Settings), (TAreas{{500, 700}}));
    // 2999 never opens an area.
    EXPECT_EQ(Detect({{500, 0}, {300, 2999}, {500, 0}}, Settings), TAreas{});
}

TEST(DetectionRules, LargeEndSearchLetsCountedAreasOverlap)
{
    TTrimSettings Settings;
    Settings.ForwardSearch = 500;
    Settings.CutStartLevel = 2000;
    // Level 1000 counts as silent, so the first piece closes inside the
    // quiet gap; its end search reaches past the second piece to the first
    // true silence at 1750, where the second piece ends as well.
    EXPECT_EQ(Detect({{1000, 0}, {300, 5000}, {150, 1000}, {300, 5000}, {1000, 0}}, Settings),
              (TAreas{{1000, 1750}, {1450, 1750}}));
}

} // namespace
