#pragma once
// Recordings that sound like speech in a room, with the sentence
// boundaries known: the material the suggested settings are measured on.
// Sentences are runs of word-like voiced bursts (harmonics of a gliding
// pitch, soft rise, fading end, sometimes a consonant's hiss before or
// after) with short gaps inside a sentence and longer pauses between
// sentences, over white noise that may rise, and a mains hum. The same
// plan always gives the same samples.
#include <cstdint>
#include <vector>

namespace speechtest {

struct TSpeechPlan {
    std::uint32_t Seed = 1;
    std::uint32_t Rate = 44100;
    int Sentences = 40;
    double FloorDb = -60;    // noise RMS at the start, dBFS
    double FloorEndDb = -60; // and at the end: linear in dB between them
    double HumDb = -200;     // RMS of a 50 Hz hum and its odd harmonics; -200 is none
    bool PureHum = false;    // the hum without its harmonics
    double SpeechDb = -20;   // typical RMS of a word's steady part
    double PauseMin = 0.35, PauseMax = 1.5; // between sentences, seconds
    double GapMin = 0.02, GapMax = 0.2;     // between the words of a sentence, seconds
    bool Pink = false;           // the noise falls 3 dB an octave instead of being white
    double LaterSpeechDb = 0;    // the second half's sentences louder (or, below 0, quieter) by this
    int LoneWordEvery = 0;       // every so many sentences is one short word (0.1-0.2 s); 0 is none
};

// A sentence from its first sounding sample to just after its last.
struct TSentence {
    std::int64_t Start;
    std::int64_t End;
};

struct TSpeechRecording {
    std::uint32_t Rate = 0;
    std::vector<std::int16_t> Samples; // mono
    std::vector<TSentence> Sentences;
};

TSpeechRecording MakeSpeechLike(const TSpeechPlan &Plan);

// How detected pieces meet the sentences, with a tolerance of 10 ms: a
// piece counts when it holds exactly one whole sentence and reaches into
// no other.
struct TSentenceScore {
    int Sentences = 0;
    int Pieces = 0;
    int Matched = 0;      // pieces that count; each is one sentence with a piece of its own
    int ClippedEnds = 0;  // pieces that end more than 10 ms before the end of a sentence they hold part of
    int NoiseOnly = 0;    // pieces that hold no part of any sentence
    double F1() const;
};

struct TPiece {
    std::int64_t Start;
    std::int64_t End;
};

TSentenceScore ScorePieces(const std::vector<TSentence> &Sentences, const std::vector<TPiece> &Pieces,
                           std::uint32_t Rate);

} // namespace speechtest
