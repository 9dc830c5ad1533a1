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

// Lead seconds of digital silence go before the speech, with a click
// 45 dB under its noise floor in their middle.
TSuggestionRun CutWithSuggestion(const speechtest::TSpeechPlan &Plan, int Lead = 0)
{
    speechtest::TSpeechRecording Recording = speechtest::MakeSpeechLike(Plan);
    if (Lead > 0) {
        const std::size_t Frames = std::size_t(Lead) * Plan.Rate;
        std::vector<std::int16_t> Silence(Frames);
        const double Click = 32768 * std::pow(10.0, (Plan.FloorDb - 45) / 20) * std::sqrt(2.0);
        for (std::size_t I = Frames / 2; I < Frames / 2 + Plan.Rate / 50; ++I)
            Silence[I] = std::int16_t(std::lround(Click * std::sin(0.3 * double(I))));
        Recording.Samples.insert(Recording.Samples.begin(), Silence.begin(), Silence.end());
        for (speechtest::TSentence &Sentence : Recording.Sentences)
            Sentence.Start += std::int64_t(Frames), Sentence.End += std::int64_t(Frames);
    }
    const TSampleView View = MonoView16(Recording.Samples, Recording.Rate);
    TSuggestionRun Run;
    Run.Suggested = SuggestTrimSettings(View);
    std::vector<speechtest::TPiece> Pieces;
    for (const TTrimArea &Area : DetectTrimAreas(View, Run.Suggested.Settings, Run.Suggested.Floor))
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

    // Digital silence before the room's noise: the floor is followed down
    // into it no more than 40 dB, and a click further under the room opens
    // no piece.
    const TSuggestionRun Lead = CutWithSuggestion(Plan, 10);
    EXPECT_TRUE(Lead.Suggested.Floor.Moves());
    EXPECT_EQ(Lead.Score.Pieces, 5);
    EXPECT_EQ(Lead.Score.Matched, 5);
    EXPECT_EQ(Lead.Score.NoiseOnly, 0);
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
