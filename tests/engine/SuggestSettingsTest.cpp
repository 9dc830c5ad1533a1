// The suggested settings on a few seconds of speech-like sound over room
// noise and a hum: one piece per sentence, each whole, none of noise, also
// where the room grows noisier as the recording goes on.
#include "MonoView.h"
#include "SpeechLike.h"
#include "engine/SuggestSettings.h"
#include "engine/TrimDetection.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

struct TSuggestionRun {
    TSuggestedSettings Suggested;
    speechtest::TSentenceScore Score;
};

TSuggestionRun CutWithSuggestion(const speechtest::TSpeechPlan &Plan)
{
    const speechtest::TSpeechRecording Recording = speechtest::MakeSpeechLike(Plan);
    const TSampleView View = MonoView16(Recording.Samples, Recording.Rate);
    TSuggestionRun Run;
    Run.Suggested = SuggestTrimSettings(View);
    std::vector<speechtest::TPiece> Pieces;
    for (const TTrimArea &Area : DetectTrimAreas(View, Run.Suggested.Settings))
        Pieces.push_back({Area.StartPos, Area.EndPos});
    Run.Score = speechtest::ScorePieces(Recording.Sentences, Pieces, Recording.Rate);
    return Run;
}

} // namespace

TEST(SuggestSettings, FindsEachSentenceOfNoisySpeechWhole)
{
    speechtest::TSpeechPlan Plan;
    Plan.Seed = 3;
    Plan.Rate = 16000;
    Plan.Sentences = 5;
    Plan.FloorDb = -45;
    Plan.FloorEndDb = -42;
    Plan.HumDb = -50;
    const TSuggestionRun Run = CutWithSuggestion(Plan);
    EXPECT_NEAR(Run.Suggested.NoiseFloorDb, -42, 3);
    EXPECT_GT(Run.Suggested.SpeechLevelDb, Run.Suggested.NoiseFloorDb + 15);
    EXPECT_EQ(Run.Score.Pieces, 5);
    EXPECT_EQ(Run.Score.Matched, 5);
    EXPECT_EQ(Run.Score.ClippedEnds, 0);
    EXPECT_EQ(Run.Score.NoiseOnly, 0);

    // Digital silence: levels just above zero, and nothing to cut.
    const std::vector<std::int16_t> Zeros(16000);
    const TSuggestedSettings Quiet = SuggestTrimSettings(MonoView16(Zeros, 16000));
    EXPECT_GE(Quiet.Settings.CutStartLevel, 1);
    EXPECT_TRUE(DetectTrimAreas(MonoView16(Zeros, 16000), Quiet.Settings).empty());
}

TEST(SuggestSettings, FollowsAFloorThatRisesOverTheRecording)
{
    speechtest::TSpeechPlan Plan;
    Plan.Seed = 5;
    Plan.Rate = 16000;
    Plan.Sentences = 12;
    Plan.FloorDb = -60;
    Plan.FloorEndDb = -45;
    const TSuggestionRun Run = CutWithSuggestion(Plan);
    // Silence reaches above the floor where it is loudest, so the late,
    // noisier pauses still part the sentences.
    EXPECT_GT(Run.Suggested.Settings.NoSoundLevel, 32768 * std::pow(10.0, Plan.FloorEndDb / 20));
    EXPECT_EQ(Run.Score.Pieces, Plan.Sentences);
    EXPECT_EQ(Run.Score.Matched, Plan.Sentences);
    EXPECT_EQ(Run.Score.ClippedEnds, 0);
    EXPECT_EQ(Run.Score.NoiseOnly, 0);
}
