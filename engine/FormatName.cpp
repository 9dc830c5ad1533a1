// Names of WAV sample formats for messages, from a "fmt " body as the file
// holds it.
#include "engine/FormatName.h"

#include "engine/SampleFormat.h"

namespace {

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

