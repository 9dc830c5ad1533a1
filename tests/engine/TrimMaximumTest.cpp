// The longest piece: where long areas are cut, and that nothing else moves.
#include "MonoView.h"
#include "SpeechLike.h"
#include "engine/TrimDetection.h"
#include "engine/TrimMaximum.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

struct TRun {
    std::int64_t Count;
    std::int16_t Level; // the RMS of the run: samples of alternating sign
};

std::vector<std::int16_t> Runs(const std::vector<TRun> &Runs)
{
    std::vector<std::int16_t> Values;
    for (const TRun &Run : Runs)
        for (std::int64_t I = 0; I < Run.Count; ++I)
            Values.push_back(std::int16_t(Values.size() % 2 ? -Run.Level : Run.Level));
    return Values;
}


} // namespace

TEST(TrimMaximum, LongAreasAreCutAtTheQuietestPlaceThatLeavesNoShortPiece)
{
    // 1.8 s at 8000 Hz (a 20 ms window is 160 positions): silent gaps at
    // 0.2 s and 1.5 s, a merely quiet one at 0.9 s.
    const std::vector<std::int16_t> Samples = Runs({{1600, 3000}, {800, 0}, {4800, 3000}, {800, 200},
                                                    {4000, 3000}, {800, 0}, {1600, 3000}});
    const TSampleView View = MonoView16(Samples, 8000);
    struct TCase {
        const char *Why;
        std::int64_t Maximum, Minimum;
        std::vector<TTrimArea> Pieces;
    };
    const TCase Cases[] = {
        // Either silent gap would leave a piece of 0.3 s or less: the quiet
        // one is the quietest where both pieces keep 0.5 s. Of its windows,
        // all equally quiet, the last wholly in the gap makes the longest
        // piece: centred 80 positions before its end.
        {"avoids short pieces", 8000, 4000, {{0, 7920}, {7920, 14400}}},
        {"quietest in reach, the later of equals", 13000, 100, {{0, 12720}, {12720, 14400}}},
        {"never past the maximum", 12719, 100, {{0, 12700}, {12700, 14400}}},
        {"keeps the minimum", 13000, 2400, {{0, 7920}, {7920, 14400}}},
        {"never exactly the minimum", 13000, 2320, {{0, 7920}, {7920, 14400}}},
        {"off", 0, 100, {{0, 14400}}},
        {"not too long", 14400, 100, {{0, 14400}}},
        // No way to keep the minimum: every piece still within the maximum,
        // the short one last.
        {"maximum below minimum", 5000, 6000, {{0, 5000}, {5000, 10000}, {10000, 14400}}},
    };
    for (const TCase &Case : Cases) {
        SCOPED_TRACE(Case.Why);
        std::vector<TTrimArea> Areas = {{0, 14400}, {7, 7}};
        std::int32_t Count = 1;
        LimitTrimAreas(View, std::int64_t(Samples.size()), Case.Maximum, Case.Minimum, Areas, Count);
        ASSERT_EQ(Count, std::int32_t(Case.Pieces.size()));
        ASSERT_EQ(Areas.size(), Case.Pieces.size() + 1) << "the work slot stays";
        for (std::size_t I = 0; I < Case.Pieces.size(); ++I) {
            EXPECT_EQ(Areas[I].StartPos, Case.Pieces[I].StartPos) << I;
            EXPECT_EQ(Areas[I].EndPos, Case.Pieces[I].EndPos) << I;
        }
        EXPECT_EQ(Areas.back().StartPos, 7);
    }
}

TEST(TrimMaximum, DetectionCutsLongStretchesOfSpeechBetweenWords)
{
    speechtest::TSpeechPlan Plan;
    Plan.Seed = 5;
    Plan.Rate = 16000;
    Plan.Sentences = 12;
    Plan.FloorDb = -55;
    Plan.FloorEndDb = -55;
    const speechtest::TSpeechRecording Speech = speechtest::MakeSpeechLike(Plan);
    const TSampleView View = MonoView16(Speech.Samples, Plan.Rate);
    // Pauses never close a piece: the areas are long stretches.
    TTrimSettings Settings;
    Settings.NoSoundLevel = 300;
    Settings.CutStartLevel = 600;
    Settings.NoSoundWidth = 2 * 16000;
    Settings.MinimumSize = 8000;
    const std::vector<TTrimArea> Whole = DetectTrimAreas(View, Settings);
    Settings.MaximumSize = 3 * 16000;
    const std::vector<TTrimArea> Cut = DetectTrimAreas(View, Settings);
    ASSERT_GT(Cut.size(), Whole.size());

    std::size_t Next = 0;
    for (const TTrimArea &Area : Whole) {
        ASSERT_LT(Next, Cut.size());
        EXPECT_EQ(Cut[Next].StartPos, Area.StartPos);
        for (; Next < Cut.size() && Cut[Next].EndPos < Area.EndPos; ++Next) {
            const std::int64_t At = Cut[Next].EndPos;
            EXPECT_EQ(Cut[Next + 1].StartPos, At) << "pieces of one area abut";
            double Sum = 0;
            for (std::int64_t K = At - 160; K < At + 160; ++K)
                Sum += double(Speech.Samples[std::size_t(K)]) * Speech.Samples[std::size_t(K)];
            EXPECT_LT(std::sqrt(Sum / 320), 300) << "a cut at " << At << " is inside a word";
        }
        ASSERT_LT(Next, Cut.size());
        EXPECT_EQ(Cut[Next].EndPos, Area.EndPos);
        ++Next;
    }
    for (const TTrimArea &Piece : Cut) {
        EXPECT_LE(Piece.EndPos - Piece.StartPos, Settings.MaximumSize);
        EXPECT_GT(Piece.EndPos - Piece.StartPos, Settings.MinimumSize);
    }
}

TEST(TrimMaximum, MarginsCountInThePiecesButCutsStayInTheSound)
{
    // 0.5 s of silence, 2.6 s of a steady sound whose 20 ms windows are all
    // equally loud, 0.5 s of silence, at 8000 Hz. The area found is
    // 4000..24799 (it ends at its last loud position); margins of 0.25 s
    // make it 2000..26799.
    const std::vector<std::int16_t> Samples = Runs({{4000, 0}, {20800, 3000}, {4000, 0}});
    const TSampleView View = MonoView16(Samples, 8000);
    TTrimSettings Settings;
    Settings.NoSoundLevel = 1000;
    Settings.CutStartLevel = 2000;
    Settings.NoSoundWidth = 800;
    Settings.MinimumSize = 800;
    Settings.Pad = 2000;
    Settings.MaximumSize = 12000;
    // The silent margins are the quietest windows there are, but a piece of
    // margin alone holds nothing: the cuts fall where the window lies in
    // the sound, the latest of equals, on the grid of 20 positions from the
    // piece's start (2000): at the maximum, then 80 positions before the
    // sound ends. Pieces hold their margins within the maximum.
    const std::vector<TTrimArea> Expected = {{2000, 14000}, {14000, 24700}, {24700, 26799}};
    const std::vector<TTrimArea> Pieces = DetectTrimAreas(View, Settings);
    ASSERT_EQ(Pieces.size(), Expected.size());
    for (std::size_t I = 0; I < Expected.size(); ++I) {
        EXPECT_EQ(Pieces[I].StartPos, Expected[I].StartPos) << I;
        EXPECT_EQ(Pieces[I].EndPos, Expected[I].EndPos) << I;
    }
}

TEST(TrimMaximum, ASteadyToneIsCutIntoPiecesNearTheMaximum)
{
    // 60 s of 440 Hz at 44100 Hz: the samples repeat every 2205 positions,
    // so equally quiet windows recur all through it. Taking the latest of
    // them in reach gives pieces near the maximum, not near the minimum.
    const std::int64_t Rate = 44100;
    std::vector<std::int16_t> Samples(std::size_t(60 * Rate));
    for (std::size_t I = 0; I < Samples.size(); ++I)
        Samples[I] = std::int16_t(std::lround(10000 * std::sin(2 * M_PI * 440 * double(I) / double(Rate))));
    TTrimSettings Settings;
    Settings.MinimumSize = std::int32_t(Rate);
    Settings.MaximumSize = std::int32_t(15 * Rate);
    const std::vector<TTrimArea> Pieces = DetectTrimAreas(MonoView16(Samples, Rate), Settings);
    ASSERT_LE(Pieces.size(), 5u);
    for (std::size_t I = 0; I + 1 < Pieces.size(); ++I) {
        EXPECT_GT(Pieces[I].EndPos - Pieces[I].StartPos, 14 * Rate) << I;
        EXPECT_LE(Pieces[I].EndPos - Pieces[I].StartPos, 15 * Rate) << I;
    }
}
