// How well the suggested settings cut speech-like recordings into
// sentences: eight recordings of 60 sentences (noise floors at -60, -50 and
// -40 dBFS, floors rising from -60 to -42 and from -55 to -40, a hum, quiet
// speech), each cut with the settings suggested for it and nothing else. Prints per recording and overall: strict
// F1 (a piece counts when it holds exactly one whole sentence, 10 ms
// tolerance), the share of sentences with a piece of their own, the share of
// pieces that end more than 10 ms before the end of their sentence, and the
// pieces that hold only noise.
// Then, cut in this process, the same for sets it was never tuned on:
// generated speech of other seeds, and real voices (RealSpeech.h: Debian's
// klettres-data and alsa-utils, `apt-get install klettres-data alsa-utils`)
// over white, pink, humming and rising floors, tuned seeds and held-out
// seeds apart; with the speech lost (voiced time in no piece), where it
// lies (onsets, fading ends, between pieces, clips no piece touches) and
// the sentences no piece touches.
//
//   sentence-bench                  cuts in this process (with
//                                   SENTENCE_BENCH_DETAIL set, each
//                                   recording of the later sets too)
//   sentence-bench --real           the real voices alone
//   sentence-bench REDIVEV-SPLIT    writes the recordings to a temporary
//                                   folder and scores `REDIVEV-SPLIT --auto
//                                   --list` instead
//   sentence-bench --write FOLDER   writes every set's recordings and their
//                                   sentences to FOLDER (SentenceFiles.h)
//   sentence-bench --score FOLDER SEGMENTS
//                                   scores another detector's pieces of
//                                   them, read from SEGMENTS, set by set
//                                   (bench/neural-yardstick/run)
#include "RealSpeech.h"
#include "SentenceFiles.h"
#include "SpeechLike.h"
#include "WavBuilder.h"
#include "engine/SuggestSettings.h"
#include "engine/TrimDetection.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

using namespace speechtest;

namespace {

struct TCase {
    const char *Name;
    TSpeechPlan Plan;
};

std::vector<TCase> Cases()
{
    const auto Make = [](std::uint32_t Seed, double Floor, double FloorEnd, double Hum, double Speech) {
        TSpeechPlan Plan;
        Plan.Seed = Seed;
        Plan.Sentences = 60;
        Plan.FloorDb = Floor;
        Plan.FloorEndDb = FloorEnd;
        Plan.HumDb = Hum;
        Plan.SpeechDb = Speech;
        return Plan;
    };
    return {
        {"floor-60", Make(101, -60, -60, -200, -20)}, {"floor-50", Make(102, -50, -50, -200, -20)},
        {"floor-40", Make(103, -40, -40, -200, -20)}, {"rising-60-42", Make(104, -60, -42, -200, -20)},
        {"hum-45", Make(105, -58, -58, -45, -20)},    {"quiet-speech", Make(106, -55, -55, -200, -30)},
        {"floor-40-b", Make(107, -40, -40, -200, -22)}, {"rising-55-40", Make(108, -55, -40, -50, -21)},
    };
}

// Without margin and level window, Plain: what the levels and widths
// alone give.
std::vector<TPiece> CutInProcess(const TSpeechRecording &Recording, bool Plain, bool Say = true)
{
    TSampleView View;
    View.Format = {1, 1, Recording.Rate, Recording.Rate * 2, 2, 16, 0};
    View.Data = reinterpret_cast<const std::uint8_t *>(Recording.Samples.data());
    View.DataSize = std::int64_t(Recording.Samples.size() * 2);
    const TSuggestedSettings Suggested = SuggestTrimSettings(View);
    TTrimSettings S = Suggested.Settings;
    if (Plain) {
        S.Pad = 0;
        S.LevelWindow = 0;
    } else if (Say)
        std::printf("  suggested: floor %.1f dBFS, speech %.1f dBFS; --cut-start-level %d --no-sound-level %d "
                "--no-sound-width %d --min-size %d --pad %d --level-window %d\n",
                Suggested.NoiseFloorDb, Suggested.SpeechLevelDb, S.CutStartLevel, S.NoSoundLevel, S.NoSoundWidth,
                S.MinimumSize, S.Pad, S.LevelWindow);
    std::vector<TPiece> Pieces;
    for (const TTrimArea &Area : DetectTrimAreas(View, S, FloorFor(Suggested, S)))
        Pieces.push_back({Area.StartPos, Area.EndPos});
    return Pieces;
}

// The pieces redivev-split lists for each file, by file name.
std::map<std::string, std::vector<TPiece>> CutBySplit(const char *Split, const std::vector<std::string> &Files)
{
    std::string Command = std::string(Split) + " --auto --list";
    for (const std::string &File : Files)
        Command += " '" + File + "'";
    std::map<std::string, std::vector<TPiece>> Pieces;
    std::FILE *Out = ::popen(Command.c_str(), "r");
    if (!Out)
        return Pieces;
    char Line[4096];
    std::fgets(Line, sizeof Line, Out); // the header
    while (std::fgets(Line, sizeof Line, Out)) {
        char *Comma = std::strchr(Line, ',');
        if (!Comma)
            continue;
        long long Index = 0, Start = 0, End = 0;
        if (std::sscanf(Comma + 1, "%lld,%lld,%lld", &Index, &Start, &End) == 3)
            Pieces[std::string(Line, Comma)].push_back({Start, End});
    }
    if (::pclose(Out) != 0)
        std::fprintf(stderr, "sentence-bench: %s failed\n", Split);
    return Pieces;
}

void Print(const char *Name, const TSentenceScore &Score)
{
    std::printf("%-14s sentences %4d pieces %4d  F1 %.3f  one piece %5.1f %%  clipped end %4.1f %%  noise-only %d\n",
                Name, Score.Sentences, Score.Pieces, Score.F1(), 100.0 * Score.Matched / Score.Sentences,
                Score.Pieces ? 100.0 * Score.ClippedEnds / Score.Pieces : 0.0, Score.NoiseOnly);
}

// Voiced time in no piece (of Voiced, else of the sentences), sentences no piece touches (and of them those
// whose voice stands 15 dB or more above their floor), and what became of
// the sentences without a piece of their own: split, joined to another,
// or held by one piece that cuts off part of them.
struct TLoss {
    double Voiced = 0, Lost = 0;
    int Missed = 0, MissedLoud = 0, Split = 0, Joined = 0, Cut = 0;
    // Where the lost voice lies: before the first piece that holds some
    // of its clip (a soft onset), after the last (a fading end), between
    // two pieces, or in a clip no piece touches; and how much of it is in
    // sentences less than 15 dB above their floor.
    double Onset = 0, Tail = 0, Between = 0, Whole = 0, Quiet = 0;
    void Add(const TLoss &Other)
    {
        Voiced += Other.Voiced, Lost += Other.Lost, Missed += Other.Missed, MissedLoud += Other.MissedLoud;
        Split += Other.Split, Joined += Other.Joined, Cut += Other.Cut;
        Onset += Other.Onset, Tail += Other.Tail, Between += Other.Between, Whole += Other.Whole, Quiet += Other.Quiet;
    }
};

// The voice of Voice that no piece holds, by where it lies (TLoss).
void PlaceLoss(const TSentence &Voice, std::vector<TPiece> Pieces, bool Quiet, TLoss &Loss)
{
    std::erase_if(Pieces, [&](const TPiece &Piece) { return Piece.End <= Voice.Start || Piece.Start >= Voice.End; });
    std::sort(Pieces.begin(), Pieces.end(), [](const TPiece &A, const TPiece &B) { return A.Start < B.Start; });
    double Lost = 0;
    if (Pieces.empty()) {
        Lost = double(Voice.End - Voice.Start);
        Loss.Whole += Lost;
    } else {
        std::int64_t Reached = Pieces.front().End;
        const double Onset = double(std::max<std::int64_t>(0, Pieces.front().Start - Voice.Start));
        Loss.Onset += Onset;
        Lost += Onset;
        for (const TPiece &Piece : Pieces) {
            const double Gap = double(std::max<std::int64_t>(0, Piece.Start - Reached));
            Loss.Between += Gap;
            Lost += Gap;
            Reached = std::max(Reached, Piece.End);
        }
        const double Tail = double(std::max<std::int64_t>(0, Voice.End - Reached));
        Loss.Tail += Tail;
        Lost += Tail;
    }
    if (Quiet)
        Loss.Quiet += Lost;
}

TLoss LossOf(const TSpeechRecording &Recording, const std::vector<TPiece> &Pieces,
             const realspeech::TRealTruth &Truth)
{
    const std::vector<double> &AboveFloorDb = Truth.AboveFloorDb;
    const std::int64_t Tolerance = Recording.Rate / 100;
    const auto Overlap = [](const TPiece &Piece, const TSentence &Sentence) {
        return std::max<std::int64_t>(0, std::min(Piece.End, Sentence.End) - std::max(Piece.Start, Sentence.Start));
    };
    TLoss Loss;
    for (std::size_t S = 0; S < Recording.Sentences.size(); ++S) {
        const TSentence &Sentence = Recording.Sentences[S];
        std::int64_t Held = 0;
        std::vector<const TPiece *> Touching;
        for (const TPiece &Piece : Pieces) {
            Held += Overlap(Piece, Sentence);
            if (Overlap(Piece, Sentence) > Tolerance)
                Touching.push_back(&Piece);
        }
        if (Truth.Voiced.empty()) {
            Loss.Voiced += double(Sentence.End - Sentence.Start);
            Loss.Lost += double(Sentence.End - Sentence.Start - Held);
        }
        Loss.Missed += Held == 0;
        Loss.MissedLoud += Held == 0 && S < AboveFloorDb.size() && AboveFloorDb[S] >= 15;
        if (Touching.size() > 1)
            ++Loss.Split;
        if (Touching.size() != 1)
            continue;
        const TPiece &Piece = *Touching.front();
        if (Piece.Start > Sentence.Start + Tolerance || Piece.End < Sentence.End - Tolerance)
            ++Loss.Cut;
        else
            for (const TSentence &Other : Recording.Sentences)
                if (&Other != &Sentence && Overlap(Piece, Other) > Tolerance) {
                    ++Loss.Joined;
                    break;
                }
    }
    for (const TSentence &Voice : Truth.Voiced) {
        bool Quiet = false;
        for (std::size_t S = 0; S < Recording.Sentences.size() && S < AboveFloorDb.size(); ++S)
            if (Recording.Sentences[S].Start <= Voice.Start && Voice.Start < Recording.Sentences[S].End)
                Quiet = AboveFloorDb[S] < 15;
        PlaceLoss(Voice, Pieces, Quiet, Loss);
        std::int64_t Held = 0;
        for (const TPiece &Piece : Pieces)
            Held += Overlap(Piece, Voice);
        Loss.Voiced += double(Voice.End - Voice.Start);
        Loss.Lost += double(Voice.End - Voice.Start - Held);
    }
    return Loss;
}

void PrintLoss(const TLoss &Loss)
{
    std::printf("%-14s speech lost %.2f %%  sentences missed %d (%d of them 15 dB above their floor)  split %d  "
                "joined %d  cut %d\n",
                "", Loss.Voiced > 0 ? 100 * Loss.Lost / Loss.Voiced : 0.0, Loss.Missed, Loss.MissedLoud, Loss.Split,
                Loss.Joined, Loss.Cut);
    if (Loss.Voiced > 0 && Loss.Onset + Loss.Tail + Loss.Between + Loss.Whole > 0)
        std::printf("%-14s lost at onsets %.2f %%, ends %.2f %%, between pieces %.2f %%, in clips with no piece "
                    "%.2f %%; in sentences under 15 dB above their floor %.2f %%\n",
                    "", 100 * Loss.Onset / Loss.Voiced, 100 * Loss.Tail / Loss.Voiced, 100 * Loss.Between / Loss.Voiced,
                    100 * Loss.Whole / Loss.Voiced, 100 * Loss.Quiet / Loss.Voiced);
}

using sentencefiles::TNamed;

// The pieces of one recording of a set.
using TCut = std::function<std::vector<TPiece>(const TNamed &)>;

// One set of recordings scored together; Truths, where known, hold each
// recording's voiced stretches (else its sentences count whole).
void ScoreSet(const char *Name, const std::vector<TNamed> &Recordings, const TCut &Cut,
              const std::vector<realspeech::TRealTruth> &Truths, bool Detail)
{
    TSentenceScore Total;
    TLoss Lost;
    for (std::size_t R = 0; R < Recordings.size(); ++R) {
        const TNamed &Named = Recordings[R];
        const TSpeechRecording &Recording = Named.Recording;
        if (Recording.Sentences.empty())
            continue;
        const std::vector<TPiece> Pieces = Cut(Named);
        const TSentenceScore Score = ScorePieces(Recording.Sentences, Pieces, Recording.Rate);
        Total.Sentences += Score.Sentences;
        Total.Pieces += Score.Pieces;
        Total.Matched += Score.Matched;
        Total.ClippedEnds += Score.ClippedEnds;
        Total.NoiseOnly += Score.NoiseOnly;
        const TLoss Loss = LossOf(Recording, Pieces, R < Truths.size() ? Truths[R] : realspeech::TRealTruth{});
        if (Detail) {
            Print(Named.Name.c_str(), Score);
            PrintLoss(Loss);
        }
        Lost.Add(Loss);
    }
    Print(Name, Total);
    PrintLoss(Lost);
}

std::vector<TNamed> Generated(std::uint32_t FirstSeed)
{
    std::vector<TNamed> Made;
    for (TCase Case : Cases()) {
        Case.Plan.Seed = Case.Plan.Seed - 101 + FirstSeed;
        Made.push_back({Case.Name, MakeSpeechLike(Case.Plan)});
    }
    return Made;
}

std::vector<TNamed> Real(std::uint32_t FirstSeed, std::vector<realspeech::TRealTruth> *Truths = nullptr)
{
    using realspeech::TNoise;
    const struct {
        const char *Name;
        TNoise Noise;
        double Floor;
    } Rooms[] = {{"white-65", TNoise::White, -65}, {"white-50", TNoise::White, -50},
                 {"white-40", TNoise::White, -40}, {"pink-50", TNoise::Pink, -50},
                 {"pink-40", TNoise::Pink, -40},   {"hum-45", TNoise::Hum, -45},
                 {"hum-40", TNoise::Hum, -40},     {"rising-65", TNoise::Rising, -65}};
    std::vector<TNamed> Made;
    std::uint32_t Seed = FirstSeed;
    for (const auto &Room : Rooms) {
        Made.push_back({Room.Name + ("-" + std::to_string(Seed)), {}});
        Made.back().Recording = realspeech::MakeRealSpeech({Seed++, 40, Room.Noise, Room.Floor},
                                                           Truths ? &Truths->emplace_back() : nullptr);
    }
    return Made;
}

// Every set under the name --write gives its folder.
struct TSet {
    const char *Name;
    std::function<std::vector<TNamed>()> Make;
};

std::vector<TSet> Sets()
{
    return {{"generated", [] { return Generated(101); }},
            {"generated-held-out", [] { return Generated(111); }},
            {"real", [] { return Real(201); }},
            {"real-held-out", [] { return Real(301); }}};
}

int WriteSets(const std::string &Folder)
{
    for (const TSet &Set : Sets()) {
        const std::vector<TNamed> Made = Set.Make();
        sentencefiles::WriteSet(Folder, Set.Name, Made);
        std::size_t Written = 0;
        for (const TNamed &Named : Made)
            Written += !Named.Recording.Sentences.empty();
        std::printf("%s/%s: %zu recordings\n", Folder.c_str(), Set.Name, Written);
    }
    if (realspeech::Clips().empty())
        std::printf("real voices: none found; apt-get install klettres-data alsa-utils\n");
    return 0;
}

int ScoreSets(const std::string &Folder, const std::string &Segments)
{
    const bool Detail = std::getenv("SENTENCE_BENCH_DETAIL") != nullptr;
    for (const std::string &Set : sentencefiles::Sets(Folder))
        ScoreSet(
            Set.c_str(), sentencefiles::ReadSentences(Folder, Set),
            [&](const TNamed &Named) { return sentencefiles::ReadSegments(Segments, Set, Named.Name); }, {}, Detail);
    return 0;
}

// The real voices, tuned and held out, cut here and scored on their
// voiced stretches.
int ScoreReal(bool Detail)
{
    if (realspeech::Clips().empty()) {
        std::printf("real voices: none found; apt-get install klettres-data alsa-utils\n");
        return 0;
    }
    std::printf("real voices: %zu clips\n", realspeech::Clips().size());
    const TCut Here = [Detail](const TNamed &Named) { return CutInProcess(Named.Recording, false, Detail); };
    for (const std::uint32_t First : {201u, 301u}) {
        std::vector<realspeech::TRealTruth> Truths;
        const std::vector<TNamed> Recordings = Real(First, &Truths);
        ScoreSet(First == 201 ? "real, seeds 201-208" : "real, held-out 301-308", Recordings, Here, Truths, Detail);
    }
    return 0;
}

} // namespace

int main(int Argc, char **Argv)
{
    try {
        if (Argc == 3 && std::strcmp(Argv[1], "--write") == 0)
            return WriteSets(Argv[2]);
        if (Argc == 4 && std::strcmp(Argv[1], "--score") == 0)
            return ScoreSets(Argv[2], Argv[3]);
    } catch (const std::exception &Error) {
        std::fprintf(stderr, "sentence-bench: %s\n", Error.what());
        return 1;
    }
    if (Argc == 2 && std::strcmp(Argv[1], "--real") == 0)
        return ScoreReal(std::getenv("SENTENCE_BENCH_DETAIL") != nullptr);
    if (Argc > 2 || (Argc == 2 && Argv[1][0] == '-')) {
        std::fprintf(stderr,
                     "usage: sentence-bench [REDIVEV-SPLIT | --real | --write FOLDER | --score FOLDER SEGMENTS]\n");
        return 2;
    }
    const char *Split = Argc > 1 ? Argv[1] : nullptr;
    std::vector<TSpeechRecording> Recordings;
    std::vector<std::string> Files;
    char Folder[] = "/tmp/sentence-bench-XXXXXX";
    if (Split && !::mkdtemp(Folder)) {
        std::perror("sentence-bench: mkdtemp");
        return 1;
    }
    for (const TCase &Case : Cases()) {
        Recordings.push_back(MakeSpeechLike(Case.Plan));
        if (Split) {
            Files.push_back(std::string(Folder) + "/" + Case.Name + ".wav");
            wavtest::WriteFileBytes(Files.back(), wavtest::PcmFile(1, Recordings.back().Rate, 16,
                                                                   wavtest::Samples16(Recordings.back().Samples)));
        }
    }
    const auto Listed = Split ? CutBySplit(Split, Files) : std::map<std::string, std::vector<TPiece>>{};

    TSentenceScore Total, PlainTotal;
    double WorstOnePiece = 100;
    for (std::size_t I = 0; I < Recordings.size(); ++I) {
        const TSpeechRecording &Recording = Recordings[I];
        const char *Name = Cases()[I].Name;
        std::vector<TPiece> Pieces;
        if (Split) {
            const auto Found = Listed.find(Files[I]);
            if (Found != Listed.end())
                Pieces = Found->second;
        } else {
            std::printf("%s\n", Name);
            Pieces = CutInProcess(Recording, false);
            const TSentenceScore Plain =
                ScorePieces(Recording.Sentences, CutInProcess(Recording, true), Recording.Rate);
            PlainTotal.Sentences += Plain.Sentences;
            PlainTotal.Pieces += Plain.Pieces;
            PlainTotal.Matched += Plain.Matched;
            PlainTotal.ClippedEnds += Plain.ClippedEnds;
            PlainTotal.NoiseOnly += Plain.NoiseOnly;
        }
        const TSentenceScore Score = ScorePieces(Recording.Sentences, Pieces, Recording.Rate);
        Print(Name, Score);
        WorstOnePiece = std::min(WorstOnePiece, 100.0 * Score.Matched / Score.Sentences);
        Total.Sentences += Score.Sentences;
        Total.Pieces += Score.Pieces;
        Total.Matched += Score.Matched;
        Total.ClippedEnds += Score.ClippedEnds;
        Total.NoiseOnly += Score.NoiseOnly;
    }
    Print("overall", Total);
    if (!Split)
        Print("no pad/window", PlainTotal);
    std::printf("worst recording: %.1f %% one piece (targets: F1 >= 0.74, >= 95 %% overall and >= 90 %% in each, "
                "clipped <= 2 %%, no noise-only piece)\n",
                WorstOnePiece);
    if (Split) {
        for (const std::string &File : Files)
            std::remove(File.c_str());
        ::rmdir(Folder);
        return 0;
    }
    std::printf("\nsets never tuned on, cut here:\n");
    const bool Detail = std::getenv("SENTENCE_BENCH_DETAIL") != nullptr;
    ScoreSet(
        "generated, held-out seeds", Generated(111),
        [Detail](const TNamed &Named) { return CutInProcess(Named.Recording, false, Detail); }, {}, Detail);
    return ScoreReal(Detail);
}
