#include "engine/PauseWidth.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double Shortest = 0.05; // seconds: shorter silences are the gaps of a voice, not pauses
constexpr std::size_t Fewest = 8;

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
    return std::clamp(std::sqrt(LongestShort * ShortestLong), 0.2, 1.2);
}
