#include "SpeechLike.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <random>

namespace speechtest {

namespace {

constexpr double Pi = std::numbers::pi;

double Amplitude(double Db)
{
    return 32768.0 * std::pow(10.0, Db / 20.0);
}

class TSynth {
public:
    TSynth(const TSpeechPlan &Plan) : Plan(Plan), Random(Plan.Seed) {}

    double Uniform(double Low, double High) { return std::uniform_real_distribution<double>(Low, High)(Random); }
    std::int64_t Positions(double Seconds) const { return std::int64_t(std::lround(Seconds * Plan.Rate)); }

    // A word at From; gives the position just after its last sounding
    // sample. The last word of a sentence trails off: quieter, with a
    // longer fade.
    std::int64_t Word(std::vector<double> &Signal, std::int64_t From, bool Last, double ShiftDb, bool Lone)
    {
        const double Length = Lone ? Uniform(0.1, 0.2) : Uniform(0.12, 0.45);
        const double Rise = Uniform(0.015, 0.06), Fall = Last && !Lone ? Uniform(0.08, 0.25) : Uniform(0.04, 0.15);
        // Harmonics 1..8 at 1/k: their sum's RMS is 0.874 of the first's peak.
        const double Level =
            Amplitude(Plan.SpeechDb + ShiftDb + Uniform(-8, 4) - (Last && !Lone ? Uniform(3, 8) : 0));
        const double Pitch = Uniform(90, 240), Glide = Uniform(-0.2, 0.2), Syllables = Uniform(2, 5);
        const std::int64_t Count = Positions(Length + (Last && !Lone ? Fall : 0));
        Grow(Signal, From + Count);
        double Phase = 0;
        for (std::int64_t I = 0; I < Count; ++I) {
            const double T = double(I) / Plan.Rate;
            Phase += 2 * Pi * Pitch * (1 + Glide * T / Length) / Plan.Rate;
            double Voice = 0;
            for (int K = 1; K <= 8; ++K)
                Voice += std::sin(K * Phase) / K;
            const double Syllable = 1 - 0.35 * std::pow(std::sin(Pi * Syllables * T / Length), 2);
            const double Gain = Envelope(T, double(Count) / Plan.Rate, Rise, Fall);
            Signal[std::size_t(From + I)] += Level / 0.874 * Gain * Syllable * Voice;
        }
        std::int64_t End = From + Count;
        if (Uniform(0, 1) < 0.4)
            End = std::max(End, Hiss(Signal, From + Count - Positions(Fall / 2), Level, false));
        return End;
    }

    // The noise of a consonant, well below the word's level: after a word,
    // fading out (gives its end), or before one, growing into it (From is
    // then where the word starts; gives the hiss's start).
    std::int64_t Hiss(std::vector<double> &Signal, std::int64_t From, double WordLevel, bool Before)
    {
        const double Length = Uniform(0.04, 0.12);
        const double Level = WordLevel * std::pow(10.0, -Uniform(10, 20) / 20) / std::sqrt(2.0);
        const std::int64_t Count = Positions(Length);
        if (Before)
            From -= Count;
        Grow(Signal, From + Count);
        std::normal_distribution<double> Noise(0, Level);
        double Previous = 0;
        for (std::int64_t I = 0; I < Count; ++I) {
            const double White = Noise(Random);
            const double T = double(I) / Plan.Rate;
            const double Gain =
                Before ? Envelope(T, Length, Length * 0.6, 0.01) : Envelope(T, Length, 0.01, Length * 0.6);
            Signal[std::size_t(From + I)] += (White - Previous) * Gain;
            Previous = White;
        }
        return Before ? From : From + Count;
    }

    TSpeechRecording Make()
    {
        TSpeechRecording Made;
        Made.Rate = Plan.Rate;
        std::vector<double> Signal;
        std::int64_t Pos = Positions(Uniform(0.5, 1.5));
        for (int S = 0; S < Plan.Sentences; ++S) {
            std::int64_t Start = Pos;
            // Some sentences open with a consonant's hiss before their first word.
            if (Uniform(0, 1) < 0.25) {
                Pos += Positions(0.12); // within the pause: it stays as drawn
                Start = Hiss(Signal, Pos, Amplitude(Plan.SpeechDb), true);
            }
            const bool Lone = Plan.LoneWordEvery > 0 && S % Plan.LoneWordEvery == Plan.LoneWordEvery - 1;
            const int Words = Lone ? 1 : 2 + int(Random() % 8);
            const double Shift = 2 * S >= Plan.Sentences ? Plan.LaterSpeechDb : 0;
            for (int W = 0; W < Words; ++W) {
                Pos = Word(Signal, Pos, W + 1 == Words, Shift, Lone);
                if (W + 1 < Words)
                    Pos += Positions(Uniform(Plan.GapMin, Plan.GapMax));
            }
            Made.Sentences.push_back({Start, Pos});
            Pos += Positions(Uniform(Plan.PauseMin, Plan.PauseMax));
        }
        Grow(Signal, Pos + Positions(1.0));
        AddRoom(Signal);
        Made.Samples.resize(Signal.size());
        for (std::size_t I = 0; I < Signal.size(); ++I)
            Made.Samples[I] = std::int16_t(std::clamp<long>(std::lround(Signal[I]), -32768, 32767));
        return Made;
    }

private:
    // A rise over Rise seconds and a fall over the last Fall seconds of
    // Length, both as squared sines: soft, and truly 0 only at the ends.
    static double Envelope(double T, double Length, double Rise, double Fall)
    {
        double Gain = 1;
        if (T < Rise)
            Gain *= std::pow(std::sin(Pi / 2 * T / Rise), 2);
        if (T > Length - Fall)
            Gain *= std::pow(std::cos(Pi / 2 * (T - (Length - Fall)) / Fall), 2);
        return Gain;
    }

    static void Grow(std::vector<double> &Signal, std::int64_t Size)
    {
        if (std::int64_t(Signal.size()) < Size)
            Signal.resize(std::size_t(Size), 0.0);
    }

    // Pink noise of about unit RMS from white: a sum of three one-pole
    // filters, each an octave band or so apart.
    double Pinker(double White)
    {
        Poles[0] = 0.99765 * Poles[0] + White * 0.0990460;
        Poles[1] = 0.96300 * Poles[1] + White * 0.2965164;
        Poles[2] = 0.57000 * Poles[2] + White * 1.0526913;
        return (Poles[0] + Poles[1] + Poles[2] + White * 0.1848) / 2.95;
    }

    // White (or pink) noise whose level moves in dB from the start's to the
    // end's, and the hum: 50 Hz with its third and fifth harmonics.
    void AddRoom(std::vector<double> &Signal)
    {
        std::normal_distribution<double> Noise(0, 1);
        const double Total = double(Signal.size());
        const double Overtones = Plan.PureHum ? 0 : 1;
        const double Hum = Amplitude(Plan.HumDb) / std::sqrt((1 + Overtones * (0.25 + 0.09)) / 2);
        for (std::size_t I = 0; I < Signal.size(); ++I) {
            const double Floor = Plan.FloorDb + (Plan.FloorEndDb - Plan.FloorDb) * double(I) / Total;
            const double T = double(I) / Plan.Rate;
            const double White = Noise(Random);
            Signal[I] += Amplitude(Floor) * (Plan.Pink ? Pinker(White) : White)
                + Hum * (std::sin(2 * Pi * 50 * T) + Overtones * (0.5 * std::sin(2 * Pi * 150 * T) + 0.3 * std::sin(2 * Pi * 250 * T)));
        }
    }

    TSpeechPlan Plan;
    std::mt19937 Random;
    double Poles[3] = {0, 0, 0};
};

} // namespace

TSpeechRecording MakeSpeechLike(const TSpeechPlan &Plan)
{
    return TSynth(Plan).Make();
}

double TSentenceScore::F1() const
{
    if (Matched == 0)
        return 0;
    const double Precision = double(Matched) / Pieces, Recall = double(Matched) / Sentences;
    return 2 * Precision * Recall / (Precision + Recall);
}

TSentenceScore ScorePieces(const std::vector<TSentence> &Sentences, const std::vector<TPiece> &Pieces,
                           std::uint32_t Rate)
{
    const std::int64_t Tolerance = std::lround(0.01 * Rate);
    TSentenceScore Score;
    Score.Sentences = int(Sentences.size());
    Score.Pieces = int(Pieces.size());
    std::vector<bool> Own(Sentences.size());
    for (const TPiece &Piece : Pieces) {
        int Touched = 0, Whole = -1;
        bool Clipped = false;
        for (std::size_t S = 0; S < Sentences.size(); ++S) {
            const TSentence &Sentence = Sentences[S];
            const std::int64_t Overlap =
                std::min(Piece.End, Sentence.End) - std::max(Piece.Start, Sentence.Start);
            if (Overlap <= Tolerance)
                continue;
            ++Touched;
            if (Piece.Start <= Sentence.Start + Tolerance && Piece.End >= Sentence.End - Tolerance)
                Whole = int(S);
            if (Piece.End < Sentence.End - Tolerance)
                Clipped = true;
        }
        Score.NoiseOnly += Touched == 0;
        Score.ClippedEnds += Clipped;
        if (Touched == 1 && Whole >= 0 && !Own[std::size_t(Whole)]) {
            Own[std::size_t(Whole)] = true;
            ++Score.Matched;
        }
    }
    return Score;
}

} // namespace speechtest
