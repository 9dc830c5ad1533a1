// The suggested settings on the kinds of speech a fixed rule gets wrong:
// short lone words, talkers at different levels, a floor that rises, noise
// that ripples, slow talkers and a loud hum. Each recording's sentences
// get a piece of their own, none of noise, and no sound is left out.
#include "MonoView.h"
#include "SpeechLike.h"
#include "engine/LevelBand.h"
#include "engine/SuggestSettings.h"
#include "engine/TrimDetection.h"

#include <gtest/gtest.h>

namespace {

struct TCase {
    const char *Name;
    speechtest::TSpeechPlan Plan;
    double FloorDb;               // the floor found, where it is highest
    std::int32_t Band = BandFull; // the band the cuts are read in
};

speechtest::TSpeechPlan Plan(std::uint32_t Seed, double Floor, double FloorEnd)
{
    speechtest::TSpeechPlan Made;
    Made.Seed = Seed;
    Made.Rate = 16000;
    Made.Sentences = 12;
    Made.FloorDb = Floor;
    Made.FloorEndDb = FloorEnd;
    return Made;
}

std::vector<TCase> Cases()
{
    std::vector<TCase> Made;
    speechtest::TSpeechPlan Lone = Plan(11, -50, -50);
    Lone.LoneWordEvery = 3;
    Made.push_back({"a short word alone between pauses is kept", Lone, -50});
    speechtest::TSpeechPlan Talkers = Plan(12, -55, -55);
    Talkers.SpeechDb = -12;
    Talkers.LaterSpeechDb = -24;
    Made.push_back({"a quiet talker after a loud one is found", Talkers, -55});
    speechtest::TSpeechPlan Quiet = Plan(18, -55, -55);
    Quiet.SpeechDb = -40;
    Made.push_back({"a talker 15 dB over the floor throughout is found whole", Quiet, -55});
    Made.push_back({"a floor rising from -70 to -40 dBFS is followed", Plan(13, -70, -40), -40});
    // A quiet talker where the floor is low, a louder one where it is
    // high: each 18 dB over the floor at its loudest.
    speechtest::TSpeechPlan Rising = Plan(21, -70, -40);
    Rising.SpeechDb = -32;
    Rising.LaterSpeechDb = 10;
    Made.push_back({"a quiet talker while a floor rising to -40 dBFS is low", Rising, -40});
    speechtest::TSpeechPlan Falling = Plan(20, -40, -70);
    Falling.SpeechDb = -22;
    Falling.LaterSpeechDb = -10;
    Made.push_back({"a quiet talker once a floor falling from -40 dBFS is low", Falling, -40});
    speechtest::TSpeechPlan Pink = Plan(14, -40, -40);
    Pink.Pink = true;
    Pink.PauseMin = 0.5;
    Pink.PauseMax = 0.55;
    Made.push_back({"pink noise at -40 dBFS with 0.5 s pauses", Pink, -40});
    speechtest::TSpeechPlan Slow = Plan(15, -55, -55);
    Slow.GapMin = 0.3;
    Slow.GapMax = 0.45;
    Slow.PauseMin = 1.0;
    Slow.PauseMax = 1.3;
    Made.push_back({"word gaps of 0.4 s, sentence pauses of 1 s", Slow, -55});
    speechtest::TSpeechPlan Hum = Plan(16, -65, -65);
    Hum.HumDb = -40;
    Made.push_back({"a hum at -40 dBFS with its overtones is the floor", Hum, -40});
    speechtest::TSpeechPlan Mains = Plan(17, -65, -65);
    Mains.HumDb = -32;
    Mains.PureHum = true;
    // Above 80 Hz the hum lies 17 dB lower, under the noise's -65.
    Made.push_back({"a 50 Hz hum at -32 dBFS is read past, above 80 Hz", Mains, -49, BandHighPass});
    return Made;
}

} // namespace

TEST(SuggestSettings, CutsEachKindOfSpeechIntoItsSentences)
{
    for (const TCase &Case : Cases()) {
        SCOPED_TRACE(Case.Name);
        const speechtest::TSpeechRecording Recording = speechtest::MakeSpeechLike(Case.Plan);
        const TSampleView View = MonoView16(Recording.Samples, Recording.Rate);
        const TSuggestedSettings Suggested = SuggestTrimSettings(View);
        EXPECT_NEAR(Suggested.NoiseFloorDb, Case.FloorDb, 4);
        EXPECT_EQ(Suggested.Settings.Band, Case.Band);
        std::vector<speechtest::TPiece> Pieces;
        for (const TTrimArea &Area : DetectTrimAreas(View, Suggested.Settings, Suggested.Floor))
            Pieces.push_back({Area.StartPos, Area.EndPos});
        const speechtest::TSentenceScore Score = speechtest::ScorePieces(Recording.Sentences, Pieces, Recording.Rate);
        EXPECT_EQ(Score.Matched, Score.Sentences);
        EXPECT_EQ(Score.Pieces, Score.Sentences);
        EXPECT_EQ(Score.NoiseOnly, 0);
    }
}
