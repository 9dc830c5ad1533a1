#include "split/CorpusLines.h"

#include "split/AreaListing.h"

#include <algorithm>

namespace {

// Kaldi reads such a path as something else: standard input, a pipe, an
// offset into an archive ("a.ark:12"), or trims it.
bool KaldiTakesAsPath(const QByteArray &Path)
{
    if (Path.isEmpty() || Path.startsWith('-') || Path.startsWith('|') || Path.endsWith('|') || Path.contains(':')
        || Path.startsWith(' ') || Path.endsWith(' '))
        return false;
    return std::none_of(Path.begin(), Path.end(), [](char Byte) { return std::uint8_t(Byte) < 0x20; });
}

QByteArray ShellQuoted(QByteArray Path)
{
    return '\'' + Path.replace("'", "'\\''") + '\'';
}

// What Kaldi's wav.scp says for the recording: a file it reads itself, or a
// command whose output is one.
QByteArray KaldiSource(const QByteArray &Path, const TRecordingFacts &Facts)
{
    if (IsPlainWav16(Facts))
        return KaldiTakesAsPath(Path) ? Path : "cat -- " + ShellQuoted(Path) + " |";
    if (Facts.Kind == TFileKind::Flac && Facts.Bits == 16)
        return "flac -d -c -s -- " + ShellQuoted(Path) + " |";
    // Told the kind, which sox would otherwise guess from the extension;
    // -R seeds its dither alike each time, so every read gives one set of
    // samples.
    const char *Kind = Facts.Kind == TFileKind::Flac ? "flac" : Facts.Kind == TFileKind::Wave64 ? "w64" : "wav";
    return QByteArray("sox -R -t ") + Kind + ' ' + ShellQuoted(Path) + " -t wav -b 16 -e signed-integer - |";
}

// A speaker's id, then its utterances' ids: "<recording>!<index>" when the
// recording is the speaker, else "<speaker>!<recording>!<index>"; indexes
// of one width, so that they sort as numbers.
struct TIds {
    QByteArray Recording, Speaker, Utterance;
    int Width = 5;
    explicit TIds(const TManifestRecording &Of)
        : Recording(KaldiId(Of.Name)), Speaker(Of.Speaker.isEmpty() ? Recording : KaldiId(Of.Speaker)),
          Utterance(Of.Speaker.isEmpty() ? Recording : Speaker + '!' + Recording)
    {
        const std::size_t Count = Of.Outcome->Areas.size();
        Width = std::max(5, int(QByteArray::number(qulonglong(Count > 0 ? Count - 1 : 0)).size()));
    }
    QByteArray Of(std::size_t Index) const
    {
        return Utterance + '!' + QByteArray::number(qulonglong(Index)).rightJustified(Width, '0');
    }
};

QByteArray Channels(int Count, bool Alone)
{
    if (Alone && Count == 1)
        return "0";
    QByteArrayList Numbers;
    for (int I = 0; I < Count; ++I)
        Numbers << QByteArray::number(I);
    return '[' + Numbers.join(", ") + ']';
}

QByteArray LhotseRecording(const QByteArray &Id, const QByteArray &Path, const TRecordingFacts &Facts,
                           std::uint32_t Rate, std::int64_t Frames)
{
    return "{\"id\": " + JsonString(Id) + ", \"sources\": [{\"type\": \"file\", \"channels\": "
        + Channels(Facts.Channels, false) + ", \"source\": " + JsonString(Path)
        + "}], \"sampling_rate\": " + QByteArray::number(Rate) + ", \"num_samples\": " + QByteArray::number(Frames)
        + ", \"duration\": " + MicroSeconds(MicrosOf(Frames, Rate)) + "}\n";
}

QByteArray LhotseSupervision(const QByteArray &Id, const QByteArray &RecordingId, std::int64_t Start,
                             std::int64_t End, const TRecordingFacts &Facts, const QByteArray &Speaker)
{
    return "{\"id\": " + JsonString(Id) + ", \"recording_id\": " + JsonString(RecordingId) + ", \"start\": "
        + MicroSeconds(Start) + ", \"duration\": " + MicroSeconds(End - Start)
        + ", \"channel\": " + Channels(Facts.Channels, true) + ", \"speaker\": " + JsonString(Speaker) + "}\n";
}

} // namespace

TManifestLines KaldiLines(const TManifestRecording &Recording)
{
    const TCutOutcome &Outcome = *Recording.Outcome;
    if (Recording.File.contains('\n') || Recording.File.contains('\r'))
        return {{}, "a line break in its name cannot stand in Kaldi's wav.scp"};
    if (Outcome.Facts.Frames < 0)
        return {{}, "its length, which Kaldi's reco2dur needs, is not in its headers"};
    TManifestLines Lines;
    // A recording without pieces is in no file: Kaldi's wav.scp names only
    // the recordings that segments names.
    Lines.Parts = QByteArrayList(6);
    if (Outcome.Areas.empty())
        return Lines;
    const TIds Ids(Recording);
    const std::uint32_t Rate = Outcome.Rate;
    for (std::size_t I = 0; I < Outcome.Areas.size(); ++I) {
        const TTrimArea &Area = Outcome.Areas[I];
        const QByteArray Utterance = Ids.Of(I);
        const std::int64_t Start = MicrosOf(Area.StartPos, Rate), End = EndMicros(Area.EndPos, Outcome);
        Lines.Parts[0] += Utterance + ' ' + Ids.Recording + ' ' + MicroSeconds(Start) + ' ' + MicroSeconds(End) + '\n';
        Lines.Parts[2] += Utterance + ' ' + Ids.Speaker + '\n';
        Lines.Parts[4] += Utterance + ' ' + MicroSeconds(End - Start) + '\n';
    }
    Lines.Parts[1] = Ids.Recording + ' ' + KaldiSource(Recording.File, Outcome.Facts) + '\n';
    Lines.Parts[5] = Ids.Recording + ' ' + MicroSeconds(MicrosOf(Outcome.Facts.Frames, Rate, true)) + '\n';
    return Lines;
}

TManifestLines LhotseLines(const TManifestRecording &Recording, bool Listed)
{
    const TCutOutcome &Outcome = *Recording.Outcome;
    const TRecordingFacts &Facts = Outcome.Facts;
    if (Listed && Facts.Frames < 0)
        return {{}, "its length, which lhotse's recordings need, is not in its headers"};
    const TIds Ids(Recording);
    const std::uint32_t Rate = Outcome.Rate;
    TManifestLines Lines;
    Lines.Parts = QByteArrayList(2);
    if (Listed)
        Lines.Parts[0] = LhotseRecording(Ids.Recording, Recording.File, Facts, Rate, Facts.Frames);
    for (std::size_t I = 0; I < Outcome.Areas.size(); ++I) {
        const TTrimArea &Area = Outcome.Areas[I];
        const QByteArray Utterance = Ids.Of(I);
        if (Listed) {
            Lines.Parts[1] += LhotseSupervision(Utterance, Ids.Recording, MicrosOf(Area.StartPos, Rate),
                                                EndMicros(Area.EndPos, Outcome), Facts, Ids.Speaker);
            continue;
        }
        const std::int64_t Frames = Area.EndPos - Area.StartPos;
        const QByteArray Piece = PiecePath(Recording.Folder, std::int32_t(I), Outcome.Container, Outcome.PieceFiles);
        Lines.Parts[0] += LhotseRecording(Utterance, Piece, Facts, Rate, Frames);
        Lines.Parts[1] += LhotseSupervision(Utterance, Utterance, 0, MicrosOf(Frames, Rate, true), Facts, Ids.Speaker);
    }
    return Lines;
}
