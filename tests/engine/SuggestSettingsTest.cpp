// The suggested settings on a few seconds of speech-like sound over room
// noise and a hum: one piece per sentence, each whole, none of noise.
#include "MonoView.h"
#include "SpeechLike.h"
#include "engine/SuggestSettings.h"
#include "engine/TrimDetection.h"

#include <gtest/gtest.h>

TEST(SuggestSettings, FindsEachSentenceOfNoisySpeechWhole)
{
    speechtest::TSpeechPlan Plan;
    Plan.Seed = 3;
    Plan.Rate = 16000;
    Plan.Sentences = 5;
    Plan.FloorDb = -45;
    Plan.FloorEndDb = -42;
    Plan.HumDb = -50;
    const speechtest::TSpeechRecording Recording = speechtest::MakeSpeechLike(Plan);
    const TSampleView View = MonoView16(Recording.Samples, Recording.Rate);

    const TSuggestedSettings Suggested = SuggestTrimSettings(View);
    EXPECT_NEAR(Suggested.NoiseFloorDb, -42, 3);
    EXPECT_GT(Suggested.SpeechLevelDb, Suggested.NoiseFloorDb + 15);
    std::vector<speechtest::TPiece> Pieces;
    for (const TTrimArea &Area : DetectTrimAreas(View, Suggested.Settings))
        Pieces.push_back({Area.StartPos, Area.EndPos});
    const speechtest::TSentenceScore Score = speechtest::ScorePieces(Recording.Sentences, Pieces, Recording.Rate);
    EXPECT_EQ(Score.Pieces, 5);
    EXPECT_EQ(Score.Matched, 5);
    EXPECT_EQ(Score.ClippedEnds, 0);
    EXPECT_EQ(Score.NoiseOnly, 0);

    // Digital silence: levels just above zero, and nothing to cut.
    const std::vector<std::int16_t> Zeros(16000);
    const TSuggestedSettings Quiet = SuggestTrimSettings(MonoView16(Zeros, 16000));
    EXPECT_GE(Quiet.Settings.CutStartLevel, 1);
    EXPECT_TRUE(DetectTrimAreas(MonoView16(Zeros, 16000), Quiet.Settings).empty());
}
