#pragma once
// Recordings of real voices with known sentence boundaries: the recorded
// letters and syllables of klettres-data (many languages) and the test
// voice of alsa-utils ("Front Left", ...), as Debian installs them, joined
// into sentences of one to four clips with pauses inside them and longer
// ones between them, each sentence at its own talker level, over white,
// pink, humming or rising noise. A file that holds two utterances (a pause
// of its own longer than 0.6 s) gives two clips; one whose room noise lies
// within 30 dB of its voice gives none. The same plan always gives the same
// samples; with neither package installed there are no clips.
#include "SpeechLike.h"

#include <cstdint>
#include <string>
#include <vector>

namespace realspeech {

enum class TNoise { White, Pink, Hum, Rising };

struct TRealPlan {
    std::uint32_t Seed = 1;
    int Sentences = 40;
    TNoise Noise = TNoise::White;
    double FloorDb = -55; // noise RMS (the start of a rising floor, which ends at -40)
};

// Every clip found, decoded to mono at 48 kHz; empty when none is.
struct TClip {
    std::vector<float> Samples; // trimmed to its first and last voiced sample
};
const std::vector<TClip> &Clips();

// What is known of a recording beyond its sentences: how far each
// sentence's loudest 10 ms of voice stands above the noise's RMS over that
// sentence, and the spans of voice (each clip), which leave out the
// pauses inside sentences.
struct TRealTruth {
    std::vector<double> AboveFloorDb;
    std::vector<speechtest::TSentence> Voiced;
};

// Rate 48000, 16-bit mono. Sentences are from the first to the last voiced
// sample of their clips.
speechtest::TSpeechRecording MakeRealSpeech(const TRealPlan &Plan, TRealTruth *Truth = nullptr);

} // namespace realspeech
