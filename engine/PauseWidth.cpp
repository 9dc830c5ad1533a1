#include "engine/PauseWidth.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double Shortest = 0.05; // seconds: shorter silences are the gaps of a voice, not pauses
constexpr std::size_t Fewest = 8;
constexpr double SyllablePause = 0.15; // seconds: shorter ones lie inside words

double Fallback(TPieceTarget Target)
{
    switch (Target) {
    case TPieceTarget::Word: return 0.08;
    case TPieceTarget::Phrase: return 0.2;
    case TPieceTarget::Sentence: break;
    }
    return 0.3;
}

// The index that splits the sorted logs into the two groups of least
// spread within each: Logs[0..Split-1] and Logs[Split..].
std::size_t BestSplit(const std::vector<double> &Logs)
{
    std::vector<double> Sum(Logs.size() + 1), Squares(Logs.size() + 1);
    for (std::size_t I = 0; I < Logs.size(); ++I) {
        Sum[I + 1] = Sum[I] + Logs[I];
        Squares[I + 1] = Squares[I] + Logs[I] * Logs[I];
    }
    const auto Spread = [&](std::size_t From, std::size_t To) {
        const double Count = double(To - From), Total = Sum[To] - Sum[From];
        return Squares[To] - Squares[From] - Total * Total / Count;
    };
    std::size_t Best = 1;
    double Least = HUGE_VAL;
    for (std::size_t Split = 1; Split < Logs.size(); ++Split) {
        const double Within = Spread(0, Split) + Spread(Split, Logs.size());
        if (Within < Least) {
            Least = Within;
            Best = Split;
        }
    }
    return Best;
}

// Where the sorted logs leave the widest empty stretch from above 0.1 s to
// a pause of 0.3 to 1.2 s, with enough pauses on either side: the index of
// the first pause above it, or 0 when no stretch is wider than a ratio of
// 1.35. Speech read or recited pauses so: its word gaps well apart from its
// sentence pauses, which are seldom shorter than 0.3 s.
std::size_t ClearValley(const std::vector<double> &Logs)
{
    const double Widest = std::log(1.35), Low = std::log(0.1), Above = std::log(0.3), High = std::log(1.2);
    std::size_t Best = 0;
    double BestWidth = Widest;
    for (std::size_t I = Fewest / 2; I + Fewest / 2 <= Logs.size(); ++I)
        if (Logs[I - 1] >= Low && Logs[I] >= Above && Logs[I] <= High && Logs[I] - Logs[I - 1] > BestWidth) {
            BestWidth = Logs[I] - Logs[I - 1];
            Best = I;
        }
    return Best;
}

} // namespace

double PauseWidthFor(std::vector<double> Pauses, TPieceTarget Target)
{
    std::erase_if(Pauses, [](double Pause) { return Pause < Shortest; });
    if (Pauses.size() < Fewest)
        return Fallback(Target);
    std::vector<double> Logs;
    for (double Pause : Pauses)
        Logs.push_back(std::log(Pause));
    std::sort(Logs.begin(), Logs.end());
    const std::size_t Split = BestSplit(Logs);
    const double LongestShort = std::exp(Logs[Split - 1]), ShortestLong = std::exp(Logs[Split]);
    switch (Target) {
    case TPieceTarget::Word:
        return std::clamp(0.5 * std::exp(Logs[Split / 2]), 0.04, 0.15);
    case TPieceTarget::Phrase:
        return std::clamp(0.5 * (std::exp(Logs[Split / 2]) + LongestShort), 0.1, 0.5);
    case TPieceTarget::Sentence: break;
    }
    // Between the groups, nearer the short pauses' end: a sentence's last
    // word trails off, so the pause the detector sees is shorter than this.
    if (const std::size_t Valley = ClearValley(Logs))
        return std::clamp(std::exp(0.5 * (Logs[Valley - 1] + Logs[Valley])), 0.2, 1.2);
    // Talk with no such gap: pauses inside sentences and between them
    // overlap, and the shortest are the gaps inside words. The pauses of
    // at least a syllable's length split into the two groups instead.
    std::vector<double> Long;
    for (double Log : Logs)
        if (Log >= std::log(SyllablePause))
            Long.push_back(Log);
    if (Long.size() < Fewest)
        return std::clamp(std::sqrt(LongestShort * ShortestLong), 0.2, 1.2);
    const std::size_t LongSplit = BestSplit(Long);
    return std::clamp(std::exp(0.5 * (Long[LongSplit - 1] + Long[LongSplit])), 0.2, 1.2);
}
