#include "split/ManifestLines.h"

#include "engine/ExportFolder.h"
#include "split/AreaListing.h"

#include <QByteArrayList>

namespace {

const QByteArray Null = "null";

// A Kaldi id is one field of a line split at whitespace.
QByteArray KaldiId(const QByteArray &Name)
{
    QByteArray Id;
    for (const char Byte : Name) {
        const auto Code = std::uint8_t(Byte);
        if (Code <= 0x20 || Code == 0x7F || Code == '%')
            Id += '%' + QByteArray::number(Code, 16).rightJustified(2, '0').toUpper();
        else
            Id += Byte;
    }
    return Id;
}

QByteArray Nemo(const TManifestRecording &Recording, bool Listed)
{
    const TCutOutcome &Outcome = *Recording.Outcome;
    QByteArray Lines;
    for (std::size_t I = 0; I < Outcome.Areas.size(); ++I) {
        const TTrimArea &Area = Outcome.Areas[I];
        const QByteArray Duration = Seconds(Area.EndPos - Area.StartPos, Outcome.Rate, Null);
        if (Listed)
            Lines += "{\"audio_filepath\": " + JsonString(Recording.File)
                + ", \"offset\": " + Seconds(Area.StartPos, Outcome.Rate, Null) + ", \"duration\": " + Duration + "}\n";
        else
            Lines += "{\"audio_filepath\": "
                + JsonString(PiecePath(Recording.Folder, std::int32_t(I), Outcome.Container, Outcome.PieceFiles))
                + ", \"duration\": " + Duration + "}\n";
    }
    return Lines;
}

TManifestLines Kaldi(const TManifestRecording &Recording)
{
    const TCutOutcome &Outcome = *Recording.Outcome;
    if (Recording.File.contains('\n') || Recording.File.contains('\r'))
        return {{}, {}, "a line break in its name cannot stand in Kaldi's wav.scp"};
    const QByteArray Id = KaldiId(Recording.Name);
    TManifestLines Lines;
    Lines.WavScp = Id + ' ' + Recording.File + '\n';
    for (std::size_t I = 0; I < Outcome.Areas.size(); ++I) {
        const TTrimArea &Area = Outcome.Areas[I];
        Lines.Main += Id + '-' + QByteArray::number(qulonglong(I)).rightJustified(5, '0') + ' ' + Id + ' '
            + Seconds(Area.StartPos, Outcome.Rate, "0") + ' ' + Seconds(Area.EndPos, Outcome.Rate, "0") + '\n';
    }
    return Lines;
}

QByteArray Listing(TManifestFormat Format, const TManifestRecording &Recording)
{
    const TCutOutcome &Outcome = *Recording.Outcome;
    const bool Csv = Format == TManifestFormat::Csv;
    const QByteArray File = Csv ? CsvField(Recording.File) : JsonString(Recording.File);
    QByteArray Lines;
    for (std::size_t I = 0; I < Outcome.Areas.size(); ++I) {
        const TTrimArea &Area = Outcome.Areas[I];
        const QByteArray Index = QByteArray::number(qulonglong(I));
        const QByteArray Start = QByteArray::number(Area.StartPos), End = QByteArray::number(Area.EndPos);
        const QByteArray NoTime = Csv ? QByteArray() : Null;
        const QByteArray StartS = Seconds(Area.StartPos, Outcome.Rate, NoTime);
        const QByteArray EndS = Seconds(Area.EndPos, Outcome.Rate, NoTime);
        if (Csv)
            Lines += QByteArrayList{File, Index, Start, End, StartS, EndS}.join(',') + '\n';
        else
            Lines += "{\"file\": " + File + ", \"index\": " + Index + ", \"start\": " + Start + ", \"end\": " + End
                + ", \"start_s\": " + StartS + ", \"end_s\": " + EndS + "}\n";
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

QByteArray ManifestHeader(TManifestFormat Format, int ShardIndex)
{
    return Format == TManifestFormat::Csv && ShardIndex == 0 ? QByteArray("file,index,start,end,start_s,end_s\n")
                                                             : QByteArray();
}

TManifestLines ManifestLines(TManifestFormat Format, const TManifestRecording &Recording, bool Listed)
{
    switch (Format) {
    case TManifestFormat::Nemo: return {Nemo(Recording, Listed), {}, {}};
    case TManifestFormat::Kaldi: return Kaldi(Recording);
    case TManifestFormat::Csv:
    case TManifestFormat::Json: return {Listing(Format, Recording), {}, {}};
    case TManifestFormat::None: break;
    }
    return {};
}
