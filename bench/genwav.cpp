// Writes a long, deterministic test recording: bursts of tone of varying
// length, pitch, loudness and stereo balance, separated by silences of
// varying length that carry a faint noise floor. The same arguments give the
// same file, byte for byte. Written streaming, so an hour of 16-bit stereo
// takes a few seconds and a few megabytes of memory.
//
//   genwav OUT.wav [--seconds N] [--bits 8|16] [--channels 1|2] [--rate HZ]
//                  [--seed S] [--piece-seconds P]
//
// A piece (one burst and the silence after it) lasts P seconds on average
// (default 4); bursts take 40 to 80 % of P, silences 20 to 60 %.
#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <numbers>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

struct TOptions {
    std::string Path;
    double Seconds = 60;
    int Bits = 16;
    int Channels = 2;
    std::uint32_t Rate = 44100;
    std::uint64_t Seed = 1;
    double PieceSeconds = 4;
};

// splitmix64: small, fast and the same on every machine.
class TRandom {
public:
    explicit TRandom(std::uint64_t Seed) : FState(Seed) {}
    std::uint64_t Next()
    {
        std::uint64_t Z = (FState += 0x9E3779B97F4A7C15ull);
        Z = (Z ^ (Z >> 30)) * 0xBF58476D1CE4E5B9ull;
        Z = (Z ^ (Z >> 27)) * 0x94D049BB133111EBull;
        return Z ^ (Z >> 31);
    }
    double Uniform(double Low, double High) { return Low + (High - Low) * double(Next() >> 11) * 0x1.0p-53; }
    // Small integer noise in -Amplitude..Amplitude.
    int Noise(int Amplitude) { return int(Next() % std::uint64_t(2 * Amplitude + 1)) - Amplitude; }

private:
    std::uint64_t FState;
};

// One burst: a tone from a rotating phasor (no sin() per sample), with short
// linear fades so that its edges are not clicks, and a gain per channel.
struct TBurst {
    std::int64_t Frames = 0;
    std::int64_t Fade = 0;
    double Amplitude = 0;
    double Gain[2] = {1, 1};
    double StepCos = 1, StepSin = 0;
};

class TSignal {
public:
    explicit TSignal(const TOptions &Options) : FOptions(Options), FRandom(Options.Seed) { StartSilence(true); }

    // Next frame at 16-bit scale, one value per channel.
    void Next(int Out[2])
    {
        while (FLeft == 0)
            FInBurst ? StartSilence(false) : StartBurst();
        --FLeft;
        if (!FInBurst) {
            Out[0] = FRandom.Noise(NoiseFloor);
            Out[1] = FRandom.Noise(NoiseFloor);
            return;
        }
        const std::int64_t Done = FBurst.Frames - FLeft - 1;
        const std::int64_t Edge = std::min(Done, FLeft);
        const double Envelope = Edge < FBurst.Fade ? double(Edge) / double(FBurst.Fade) : 1.0;
        const double Value = FBurst.Amplitude * Envelope * FSin;
        const double Cos = FCos * FBurst.StepCos - FSin * FBurst.StepSin;
        FSin = FSin * FBurst.StepCos + FCos * FBurst.StepSin;
        FCos = Cos;
        for (int Ch = 0; Ch < 2; ++Ch)
            Out[Ch] = int(std::lround(Value * FBurst.Gain[Ch])) + FRandom.Noise(NoiseFloor);
    }

private:
    static constexpr int NoiseFloor = 40;

    std::int64_t Frames(double Seconds) const { return std::max<std::int64_t>(1, std::llround(Seconds * FOptions.Rate)); }

    void StartSilence(bool First)
    {
        const double P = FOptions.PieceSeconds;
        FInBurst = false;
        FLeft = Frames(First ? FRandom.Uniform(0.1, 0.5) * P : FRandom.Uniform(0.2, 0.6) * P);
    }

    void StartBurst()
    {
        const double P = FOptions.PieceSeconds;
        FInBurst = true;
        FBurst.Frames = Frames(FRandom.Uniform(0.4, 0.8) * P);
        FBurst.Fade = std::min<std::int64_t>(FBurst.Frames / 2, Frames(0.005));
        FBurst.Amplitude = 32767.0 * FRandom.Uniform(0.15, 0.95) - NoiseFloor;
        // The louder channel is at full gain, the other somewhere below it.
        const int Loud = int(FRandom.Next() & 1);
        FBurst.Gain[Loud] = 1;
        FBurst.Gain[1 - Loud] = FRandom.Uniform(0.2, 1.0);
        const double Hz = std::min(FRandom.Uniform(150, 2000), FOptions.Rate / 4.0);
        const double Step = 2 * std::numbers::pi * Hz / FOptions.Rate;
        FBurst.StepCos = std::cos(Step);
        FBurst.StepSin = std::sin(Step);
        FCos = 1;
        FSin = 0;
        FLeft = FBurst.Frames;
    }

    const TOptions &FOptions;
    TRandom FRandom;
    TBurst FBurst;
    bool FInBurst = false;
    std::int64_t FLeft = 0;
    double FCos = 1, FSin = 0;
};

void PutLE(std::vector<std::uint8_t> &Out, std::uint32_t Value, int Bytes)
{
    for (int I = 0; I < Bytes; ++I)
        Out.push_back(std::uint8_t(Value >> (8 * I)));
}

std::vector<std::uint8_t> Header(const TOptions &Options, std::uint32_t DataBytes)
{
    const std::uint32_t Align = std::uint32_t(Options.Channels * Options.Bits / 8);
    std::vector<std::uint8_t> Out;
    Out.insert(Out.end(), {'R', 'I', 'F', 'F'});
    PutLE(Out, 36 + DataBytes + (DataBytes & 1), 4);
    Out.insert(Out.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    PutLE(Out, 16, 4);
    PutLE(Out, 1, 2);
    PutLE(Out, std::uint32_t(Options.Channels), 2);
    PutLE(Out, Options.Rate, 4);
    PutLE(Out, Options.Rate * Align, 4);
    PutLE(Out, Align, 2);
    PutLE(Out, std::uint32_t(Options.Bits), 2);
    Out.insert(Out.end(), {'d', 'a', 't', 'a'});
    PutLE(Out, DataBytes, 4);
    return Out;
}

int Clamp16(int Value)
{
    return Value < -32768 ? -32768 : Value > 32767 ? 32767 : Value;
}

struct TFileCloser {
    void operator()(std::FILE *File) const { std::fclose(File); }
};

void Write(const TOptions &Options)
{
    const std::int64_t FrameCount = std::llround(Options.Seconds * Options.Rate);
    const std::int64_t FrameBytes = Options.Channels * Options.Bits / 8;
    const std::int64_t DataBytes = FrameCount * FrameBytes;
    if (FrameCount <= 0 || DataBytes > 0x7FFFFFFF - 64)
        throw std::runtime_error("the recording must have at least one frame and less than 2 GiB of data");

    std::unique_ptr<std::FILE, TFileCloser> File(std::fopen(Options.Path.c_str(), "wb"));
    if (!File)
        throw std::runtime_error("cannot create " + Options.Path + ": " + std::strerror(errno));
    const std::vector<std::uint8_t> Head = Header(Options, std::uint32_t(DataBytes));

    std::vector<std::uint8_t> Block;
    Block.reserve(1 << 20);
    Block = Head;
    TSignal Signal(Options);
    auto Flush = [&] {
        if (std::fwrite(Block.data(), 1, Block.size(), File.get()) != Block.size())
            throw std::runtime_error("write failed on " + Options.Path + ": " + std::strerror(errno));
        Block.clear();
    };
    for (std::int64_t Frame = 0; Frame < FrameCount; ++Frame) {
        int Values[2];
        Signal.Next(Values);
        for (int Ch = 0; Ch < Options.Channels; ++Ch) {
            const int V = Clamp16(Values[Ch]);
            if (Options.Bits == 8) {
                Block.push_back(std::uint8_t((V + 32768) >> 8));
            } else {
                Block.push_back(std::uint8_t(V));
                Block.push_back(std::uint8_t(unsigned(V) >> 8));
            }
        }
        if (Block.size() >= (1 << 20) - 4)
            Flush();
    }
    if (DataBytes & 1)
        Block.push_back(0);
    Flush();
    if (std::fclose(File.release()) != 0)
        throw std::runtime_error("closing " + Options.Path + " failed");
}

[[noreturn]] void Usage(const char *Problem)
{
    std::fprintf(stderr,
                 "genwav: %s\nusage: genwav OUT.wav [--seconds N] [--bits 8|16] [--channels 1|2] [--rate HZ]\n"
                 "                     [--seed S] [--piece-seconds P]\n",
                 Problem);
    std::exit(2);
}

double Number(const char *Text)
{
    char *End = nullptr;
    const double Value = std::strtod(Text, &End);
    if (End == Text || *End != '\0')
        Usage("not a number");
    return Value;
}

TOptions Parse(int argc, char **argv)
{
    TOptions Options;
    for (int I = 1; I < argc; ++I) {
        const std::string Arg = argv[I];
        if (Arg.rfind("--", 0) != 0) {
            if (!Options.Path.empty())
                Usage("more than one output file");
            Options.Path = Arg;
            continue;
        }
        if (I + 1 >= argc)
            Usage("option without value");
        const double Value = Number(argv[++I]);
        if (Arg == "--seconds")
            Options.Seconds = Value;
        else if (Arg == "--bits")
            Options.Bits = int(Value);
        else if (Arg == "--channels")
            Options.Channels = int(Value);
        else if (Arg == "--rate")
            Options.Rate = std::uint32_t(Value);
        else if (Arg == "--seed")
            Options.Seed = std::uint64_t(Value);
        else if (Arg == "--piece-seconds")
            Options.PieceSeconds = Value;
        else
            Usage("unknown option");
    }
    if (Options.Path.empty())
        Usage("no output file");
    if (Options.Bits != 8 && Options.Bits != 16)
        Usage("bits must be 8 or 16");
    if (Options.Channels != 1 && Options.Channels != 2)
        Usage("channels must be 1 or 2");
    if (Options.Rate < 1 || Options.Rate > 1000000)
        Usage("rate must be 1 to 1000000");
    if (!(Options.Seconds > 0) || !(Options.PieceSeconds > 0))
        Usage("seconds and piece seconds must be positive");
    return Options;
}

} // namespace

int main(int argc, char **argv)
{
    const TOptions Options = Parse(argc, argv);
    try {
        Write(Options);
    } catch (const std::exception &Error) {
        std::fprintf(stderr, "genwav: %s\n", Error.what());
        return 1;
    }
    return 0;
}
