#include "FormatReport.h"

#include "StreamRiff.h"
#include "Streams.h"
#include "Unit1.h"


#include <algorithm>
#include <optional>

namespace {

constexpr std::uint16_t WaveFormatExtensible = 0xFFFE;
// Bytes 4 to 15 of every subformat GUID that stands for a format tag; the
// tag is in its first two bytes.
const QByteArray TagGuidTail = QByteArray::fromHex("000010008000" "00aa00389b71");

std::uint32_t Little(const QByteArray &Bytes, int At, int Size)
{
    std::uint32_t Value = 0;
    for (int I = Size - 1; I >= 0; --I)
        Value = Value << 8 | static_cast<std::uint8_t>(Bytes.at(At + I));
    return Value;
}

QString TagName(std::uint32_t Tag)
{
    switch (Tag) {
    case 0x0001: return QStringLiteral("PCM");
    case 0x0002: return QStringLiteral("ADPCM");
    case 0x0003: return QStringLiteral("float");
    case 0x0006: return QStringLiteral("A-law");
    case 0x0007: return QStringLiteral("µ-law");
    case 0x0011: return QStringLiteral("IMA ADPCM");
    case 0x0050: return QStringLiteral("MPEG");
    case 0x0055: return QStringLiteral("MP3");
    default: return QStringLiteral("format 0x%1").arg(Tag, 4, 16, QLatin1Char('0'));
    }
}

// The body of the "fmt " chunk the loader used, found by the loader's own
// walk over the still open file, headers only.
std::optional<QByteArray> ReadFmtBody(TStream &Stream)
{
    try {
        Stream.SetPosition(0);
        TStreamRiffReader File(Stream, Stream.Size());
        TChunkInfo Riff, Fmt;
        if (!File.DescendRiff(Riff, MakeFourCC('W', 'A', 'V', 'E'))
            || !File.DescendChunk(Fmt, Riff, MakeFourCC('f', 'm', 't', ' ')))
            return std::nullopt;
        QByteArray Body(static_cast<qsizetype>(std::min<std::uint32_t>(Fmt.cksize, 64)), '\0');
        Body.resize(static_cast<qsizetype>(File.Read(Body.data(), Body.size())));
        return Body;
    } catch (const EReadError &) {
        return std::nullopt;
    }
}

} // namespace

QString DescribeFormat(const QByteArray &FmtBody)
{
    if (FmtBody.size() < 16)
        return QStringLiteral("unknown format");
    const std::uint32_t Tag = Little(FmtBody, 0, 2);
    const std::uint32_t Channels = Little(FmtBody, 2, 2);
    const std::uint32_t Rate = Little(FmtBody, 4, 4);
    const std::uint32_t Bits = Little(FmtBody, 14, 2);

    QString Kind = TagName(Tag);
    if (Tag == WaveFormatExtensible && FmtBody.size() >= 40) {
        const bool Tagged = FmtBody.mid(28, 12) == TagGuidTail && Little(FmtBody, 26, 2) == 0;
        Kind = Tagged ? TagName(Little(FmtBody, 24, 2)) : QStringLiteral("extensible format");
        const std::uint32_t ValidBits = Little(FmtBody, 18, 2);
        if (ValidBits != 0 && ValidBits != Bits)
            Kind += QStringLiteral(" (%1 valid bits)").arg(ValidBits);
    } else if (Tag == WaveFormatExtensible) {
        Kind = QStringLiteral("extensible format");
    }
    const QString Sample = Bits != 0 ? QStringLiteral("%1-bit %2").arg(Bits).arg(Kind) : Kind;
    return QStringLiteral("%1, %2 ch, %3 Hz").arg(Sample).arg(Channels).arg(Rate);
}

void ReportUnreadableFormat(TForm1 &Form, TStream &Stream)
{
    const TZuInternalWAVE *Wave = Form.ZU->InternalWave();
    if (Wave == nullptr || Wave->FFormat.wFormatTag == WAVE_FORMAT_PCM)
        return;
    // The loaded record keeps 18 bytes only: an extensible format's
    // subformat is read from the file again, and the record stands in
    // should that fail.
    const QByteArray Held(reinterpret_cast<const char *>(&Wave->FFormat), sizeof(Wave->FFormat));
    const QByteArray Body = ReadFmtBody(Stream).value_or(Held);
    Form.ShowMessage(QStringLiteral("このwavファイルの形式には対応していません\n") + DescribeFormat(Body));
}
