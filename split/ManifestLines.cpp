#include "split/ManifestLines.h"

#include "engine/ExportFolder.h"
#include "split/AreaListing.h"
#include "split/CorpusLines.h"
#include "split/NameBytes.h"

#include <algorithm>

namespace {

const QByteArray Null = "null";

QByteArray Facts(const TCutOutcome &Outcome)
{
    return ", \"sample_rate\": " + QByteArray::number(Outcome.Rate)
        + ", \"channels\": " + QByteArray::number(Outcome.Facts.Channels);
}

QByteArray Nemo(const TManifestRecording &Recording, bool Listed)
{
    const TCutOutcome &Outcome = *Recording.Outcome;
    QByteArray Lines;
    for (std::size_t I = 0; I < Outcome.Areas.size(); ++I) {
        const TTrimArea &Area = Outcome.Areas[I];
        if (Listed) {
            const std::int64_t Offset = MicrosOf(Area.StartPos, Outcome.Rate);
            Lines += "{\"audio_filepath\": " + JsonString(Recording.File) + ", \"offset\": " + MicroSeconds(Offset)
                + ", \"duration\": " + MicroSeconds(EndMicros(Area.EndPos, Outcome) - Offset)
                + Facts(Outcome) + "}\n";
        } else {
            const QByteArray Piece =
                PiecePath(Recording.Folder, std::int32_t(I), Outcome.Container, Outcome.PieceFiles);
            Lines += "{\"audio_filepath\": " + JsonString(Piece) + ", \"duration\": "
                + MicroSeconds(MicrosOf(Area.EndPos - Area.StartPos, Outcome.Rate, true)) + Facts(Outcome) + "}\n";
        }
    }
    return Lines;
}

QByteArray Listing(TManifestFormat Format, const TManifestRecording &Recording)
{
    const TCutOutcome &Outcome = *Recording.Outcome;
    const bool Csv = Format == TManifestFormat::Csv;
    const QByteArray File = Csv ? CsvField(Recording.File) : JsonString(Recording.File);
    const QByteArray Rate = QByteArray::number(Outcome.Rate);
    const QByteArray Channels = QByteArray::number(Outcome.Facts.Channels);
    const QByteArray Frames = Outcome.Facts.Frames >= 0 ? QByteArray::number(Outcome.Facts.Frames)
        : Csv                                            ? QByteArray()
                                                         : Null;
    QByteArray Lines;
    for (std::size_t I = 0; I < Outcome.Areas.size(); ++I) {
        const TTrimArea &Area = Outcome.Areas[I];
        const QByteArray Index = QByteArray::number(qulonglong(I));
        const QByteArray Start = QByteArray::number(Area.StartPos), End = QByteArray::number(Area.EndPos);
        const QByteArray NoTime = Csv ? QByteArray() : Null;
        const QByteArray StartS = Seconds(Area.StartPos, Outcome.Rate, NoTime);
        const QByteArray EndS = Seconds(Area.EndPos, Outcome.Rate, NoTime);
        if (Csv)
            Lines += QByteArrayList{File, Index, Start, End, StartS, EndS, Rate, Channels, Frames}.join(',') + '\n';
        else
            Lines += "{\"file\": " + File + ", \"index\": " + Index + ", \"start\": " + Start + ", \"end\": " + End
                + ", \"start_s\": " + StartS + ", \"end_s\": " + EndS + ", \"rate\": " + Rate
                + ", \"channels\": " + Channels + ", \"frames\": " + Frames + "}\n";
    }
    return Lines;
}

} // namespace

QByteArray PiecePath(const QByteArray &Folder, std::int32_t Index, TContainer Container,
                     const std::vector<std::string> &Names)
{
    if (Index >= 0 && std::size_t(Index) < Names.size())
        return Folder + '/' + QByteArray::fromStdString(Names[std::size_t(Index)]);
    TSampleView Kind;
    Kind.Container = Container;
    // The engine's own naming, after an empty folder: "/WAVEnn.wav".
    return Folder + ExportFileName(QString(), Index, Kind).toUtf8();
}

QByteArrayList ManifestFileNames(TManifestFormat Format)
{
    if (Format == TManifestFormat::Kaldi)
        return {"segments", "wav.scp", "utt2spk", "spk2utt", "utt2dur", "reco2dur"};
    if (Format == TManifestFormat::Lhotse)
        return {"recordings.jsonl", "supervisions.jsonl"};
    return {};
}

QByteArray ManifestHeader(TManifestFormat Format, int ShardIndex)
{
    return Format == TManifestFormat::Csv && ShardIndex == 0
        ? QByteArray("file,index,start,end,start_s,end_s,rate,channels,frames\n")
        : QByteArray();
}

TManifestLines ManifestLines(TManifestFormat Format, const TManifestRecording &Recording, bool Listed)
{
    if (Recording.Outcome->Rate == 0)
        return {{}, "its sample rate is 0, so no time in it can be said"};
    switch (Format) {
    case TManifestFormat::Nemo: return {{Nemo(Recording, Listed)}, {}};
    case TManifestFormat::Kaldi: return KaldiLines(Recording);
    case TManifestFormat::Lhotse: return LhotseLines(Recording, Listed);
    case TManifestFormat::Csv:
    case TManifestFormat::Json: return {{Listing(Format, Recording)}, {}};
    case TManifestFormat::None: break;
    }
    return {};
}

// Readers in Python split lines at Unicode's whitespace too.
bool IsSpace(char32_t Code)
{
    return Code <= 0x20 || Code == 0x85 || Code == 0xA0 || Code == 0x1680 || (Code >= 0x2000 && Code <= 0x200A)
        || Code == 0x2028 || Code == 0x2029 || Code == 0x202F || Code == 0x205F || Code == 0x3000;
}

QByteArray KaldiId(const QByteArray &Name)
{
    QByteArray Id;
    for (qsizetype I = 0; I < Name.size();) {
        char32_t Code = 0;
        const int Length = Utf8Sequence(Name.constData() + I, Name.size() - I, Code);
        if (Length == 0 || IsSpace(Code) || Code == 0x7F || Code == '%' || Code == '!') {
            for (int K = 0; K < std::max(Length, 1); ++K)
                Id += '%' + QByteArray::number(std::uint8_t(Name[I + K]), 16).rightJustified(2, '0').toUpper();
            I += std::max(Length, 1);
        } else {
            Id.append(Name.constData() + I, Length);
            I += Length;
        }
    }
    return Id;
}

QByteArray MicroSeconds(std::int64_t Micro)
{
    return QByteArray::number(Micro / 1000000) + '.' + QByteArray::number(Micro % 1000000).rightJustified(6, '0');
}

std::int64_t MicrosOf(std::int64_t Position, std::uint32_t Rate, bool Down)
{
    // In two parts, so that no product overflows: the rest is below Rate.
    const std::int64_t Whole = Position / Rate, Rest = Position % Rate;
    const std::int64_t Part = Down ? Rest * 1000000 / Rate : (Rest * 2000000 + Rate) / (2 * std::int64_t(Rate));
    return Whole * 1000000 + Part;
}

std::int64_t EndMicros(std::int64_t Position, const TCutOutcome &Outcome)
{
    const std::int64_t Nearest = MicrosOf(Position, Outcome.Rate);
    return Outcome.Facts.Frames >= 0 ? std::min(Nearest, MicrosOf(Outcome.Facts.Frames, Outcome.Rate, true))
                                     : Nearest;
}
