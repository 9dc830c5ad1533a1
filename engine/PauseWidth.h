#pragma once
// The silence that closes a piece, read from the recording's own pauses:
// people differ in how long they pause between sentences and between words
// inside one, so a fixed width merges the sentences of one talker and cuts
// the sentences of another into words.
#include "engine/SuggestSettings.h"

#include <vector>

// Seconds of silence that close a piece holding Target, from the lengths
// of the recording's pauses (seconds). The pauses split best into short
// ones (inside sentences) and long ones (between them) where the spread
// within each group, on a logarithmic scale, is least; a sentence closes
// between the two, a phrase at the long end of the short ones, a word
// inside them. With too few pauses to tell, the widths that suit most
// speech.
double PauseWidthFor(std::vector<double> Pauses, TPieceTarget Target);
