#include "SentenceFiles.h"

#include "WavBuilder.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace sentencefiles {

namespace {

namespace fs = std::filesystem;

[[noreturn]] void Fail(const fs::path &Path, const std::string &What)
{
    throw std::runtime_error(Path.string() + ": " + What);
}

// The two numbers of a `START END` line; false for anything else.
bool Pair(const std::string &Line, std::int64_t &First, std::int64_t &Second)
{
    const char *At = Line.data(), *End = Line.data() + Line.size();
    const auto Skip = [&At, End] {
        while (At < End && (*At == ' ' || *At == '\t' || *At == '\r'))
            ++At;
    };
    Skip();
    auto [AfterFirst, FirstError] = std::from_chars(At, End, First);
    if (FirstError != std::errc() || AfterFirst == At)
        return false;
    At = AfterFirst;
    Skip();
    auto [AfterSecond, SecondError] = std::from_chars(At, End, Second);
    if (SecondError != std::errc() || AfterSecond == At)
        return false;
    At = AfterSecond;
    Skip();
    return At == End;
}

bool Skipped(const std::string &Line)
{
    return Line.find_first_not_of(" \t\r") == std::string::npos || Line[Line.find_first_not_of(" \t\r")] == '#';
}

std::ifstream Open(const fs::path &Path)
{
    std::ifstream In(Path);
    if (!In)
        Fail(Path, "cannot be read");
    return In;
}

} // namespace

void WriteSet(const std::string &Folder, const std::string &Set, const std::vector<TNamed> &Recordings)
{
    const fs::path Dir = fs::path(Folder) / Set;
    std::error_code Error;
    fs::create_directories(Dir.parent_path(), Error);
    if (Error || !fs::create_directory(Dir, Error))
        Fail(Dir, Error ? "cannot be made: " + Error.message() : "already exists; name a new folder");
    for (const TNamed &Named : Recordings) {
        if (Named.Recording.Sentences.empty())
            continue;
        const speechtest::TSpeechRecording &Recording = Named.Recording;
        wavtest::WriteFileBytes((Dir / (Named.Name + ".wav")).string(),
                                wavtest::PcmFile(1, Recording.Rate, 16, wavtest::Samples16(Recording.Samples)));
        const fs::path Truth = Dir / (Named.Name + ".sentences");
        std::ofstream Out(Truth, std::ios::trunc);
        Out << "rate " << Recording.Rate << '\n';
        for (const speechtest::TSentence &Sentence : Recording.Sentences)
            Out << Sentence.Start << ' ' << Sentence.End << '\n';
        if (!Out.flush())
            Fail(Truth, "cannot be written");
    }
}

std::vector<std::string> Sets(const std::string &Folder)
{
    std::vector<std::string> Found;
    std::error_code Error;
    for (auto It = fs::directory_iterator(Folder, Error); !Error && It != fs::directory_iterator();
         It.increment(Error))
        if (It->is_directory())
            Found.push_back(It->path().filename().string());
    if (Error)
        Fail(Folder, Error.message());
    std::sort(Found.begin(), Found.end());
    return Found;
}

std::vector<TNamed> ReadSentences(const std::string &Folder, const std::string &Set)
{
    std::vector<fs::path> Paths;
    std::error_code Error;
    for (auto It = fs::directory_iterator(fs::path(Folder) / Set, Error); !Error && It != fs::directory_iterator();
         It.increment(Error))
        if (It->path().extension() == ".sentences")
            Paths.push_back(It->path());
    if (Error)
        Fail(fs::path(Folder) / Set, Error.message());
    std::sort(Paths.begin(), Paths.end());
    std::vector<TNamed> Read;
    for (const fs::path &Path : Paths) {
        std::ifstream In = Open(Path);
        TNamed Named{Path.stem().string(), {}};
        std::string Line;
        long long Rate = 0;
        if (!std::getline(In, Line) || std::sscanf(Line.c_str(), "rate %lld", &Rate) != 1 || Rate <= 0
            || Rate > 1'000'000)
            Fail(Path, "its first line is not `rate R`");
        Named.Recording.Rate = std::uint32_t(Rate);
        for (int Number = 2; std::getline(In, Line); ++Number) {
            std::int64_t Start = 0, End = 0;
            if (!Pair(Line, Start, End) || Start < 0 || End <= Start)
                Fail(Path, "line " + std::to_string(Number) + " is not `START END` with START < END");
            Named.Recording.Sentences.push_back({Start, End});
        }
        Read.push_back(std::move(Named));
    }
    return Read;
}

std::vector<speechtest::TPiece> ReadSegments(const std::string &Folder, const std::string &Set,
                                             const std::string &Name)
{
    const fs::path Path = fs::path(Folder) / Set / (Name + ".segments");
    std::ifstream In = Open(Path);
    std::vector<speechtest::TPiece> Pieces;
    std::string Line;
    for (int Number = 1; std::getline(In, Line); ++Number) {
        if (Skipped(Line))
            continue;
        std::int64_t Start = 0, End = 0;
        if (!Pair(Line, Start, End) || Start < 0 || End < Start)
            Fail(Path, "line " + std::to_string(Number) + " is not `START END` with 0 <= START <= END");
        Pieces.push_back({Start, End});
    }
    return Pieces;
}

} // namespace sentencefiles
