#include "engine/LabelFile.h"

#include <QBuffer>
#include <QRegularExpression>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <optional>

namespace {

// Seconds as editors write them: digits with an optional fraction. Signs
// and exponents are no times of a recording.
std::optional<double> ReadSeconds(const QByteArray &Field)
{
    static const QRegularExpression Decimal(QStringLiteral("^([0-9]+(\\.[0-9]*)?|\\.[0-9]+)$"));
    const QString Text = QString::fromLatin1(Field.trimmed());
    if (!Decimal.match(Text).hasMatch())
        return std::nullopt;
    bool Read = false;
    const double Seconds = Text.toDouble(&Read);
    if (!Read || !std::isfinite(Seconds))
        return std::nullopt;
    return Seconds;
}

constexpr qsizetype LongestLine = 64 * 1024;
constexpr qint64 Largest = qint64(256) << 20;

// The area of one line (without its LF) into Areas, if it gives one.
void ReadLine(QByteArrayView Line, int Number, std::uint32_t Rate, std::int64_t FrameCount,
              std::vector<TLabeledArea> &Areas)
{
    // Some editors start a UTF-8 text with the byte-order mark.
    if (Number == 1 && Line.startsWith("\xEF\xBB\xBF"))
        Line = Line.sliced(3);
    if (Line.endsWith('\r'))
        Line.chop(1);
    if (Line.trimmed().isEmpty() || Line.startsWith('\\'))
        return;
    const QList<QByteArray> Fields = Line.toByteArray().split('\t');
    const std::optional<double> Start = ReadSeconds(Fields[0]);
    const std::optional<double> End = Fields.size() >= 2 ? ReadSeconds(Fields[1]) : std::nullopt;
    if (!Start || !End)
        throw ELabelFileError(Number, QStringLiteral("not a label: start<TAB>end<TAB>label, in seconds"));
    const QString StartText = QString::fromLatin1(Fields[0].trimmed());
    const QString EndText = QString::fromLatin1(Fields[1].trimmed());
    if (*Start >= *End)
        throw ELabelFileError(Number, QStringLiteral("the start %1 s is not before the end %2 s").arg(StartText, EndText));
    const auto At = [Rate](double Seconds) { return std::llround(std::min(Seconds * Rate, 9e18)); };
    const TTrimArea Area{At(*Start), At(*End)};
    if (Area.EndPos > FrameCount)
        throw ELabelFileError(Number, QStringLiteral("the end %1 s is beyond the recording, which ends at %2 s")
                                          .arg(EndText, QString::fromLatin1(LabelSeconds(FrameCount, Rate))));
    // Both times round to one position: no sample lies between them.
    if (Area.StartPos >= Area.EndPos)
        throw ELabelFileError(Number, QStringLiteral("the area from %1 s to %2 s is shorter than one sample at %3 Hz")
                                          .arg(StartText, EndText)
                                          .arg(Rate));
    Areas.push_back({Area, QString::fromUtf8(Fields.mid(2).join('\t'))});
}

} // namespace

QByteArray LabelSeconds(std::int64_t Position, std::uint32_t Rate)
{
    // In integers, so the text does not depend on rounding in floating point.
    // No recording read has a rate of 0; a view built without one gets no
    // division by it.
    const std::int64_t Hz = std::max<std::int64_t>(Rate, 1);
    const std::int64_t Micro = (Position * 2000000 + Hz) / (2 * Hz);
    return QByteArray::number(Micro / 1000000) + '.'
        + QByteArray::number(Micro % 1000000).rightJustified(6, '0');
}

QByteArray LabelFileText(const std::vector<TTrimArea> &Areas, std::uint32_t Rate, const QStringList &Labels)
{
    QByteArray Text;
    for (std::size_t I = 0; I < Areas.size(); ++I) {
        QByteArray Label = I < std::size_t(Labels.size()) ? Labels[qsizetype(I)].toUtf8() : QByteArray();
        for (char &C : Label)
            if (C == '\t' || C == '\n' || C == '\r')
                C = ' ';
        Text += LabelSeconds(Areas[I].StartPos, Rate) + '\t' + LabelSeconds(Areas[I].EndPos, Rate) + '\t' + Label
            + '\n';
    }
    return Text;
}

std::vector<TLabeledArea> ReadLabelFile(QIODevice &File, std::uint32_t Rate, std::int64_t FrameCount)
{
    // Only the line being read is held, so a file of a million blank lines
    // costs no more memory than one of a single label.
    std::vector<TLabeledArea> Areas;
    QByteArray Line;
    int Number = 1;
    qint64 Total = 0;
    char Buffer[64 * 1024];
    for (qint64 Read; (Read = File.read(Buffer, sizeof Buffer)) > 0;) {
        Total += Read;
        if (Total > Largest)
            throw ELabelFileError(Number, QStringLiteral("the file goes on past 256 MiB, further than any label "
                                                         "file"));
        const char *At = Buffer;
        const char *const End = Buffer + Read;
        while (At < End) {
            if (Line.isEmpty() && *At == '\n') {
                ++At;
                ++Number;
                continue;
            }
            const auto *Break = static_cast<const char *>(std::memchr(At, '\n', std::size_t(End - At)));
            Line.append(At, (Break ? Break : End) - At);
            if (Line.size() > LongestLine)
                throw ELabelFileError(Number, QStringLiteral("the line goes on past 64 KiB, further than any "
                                                             "label"));
            if (!Break)
                break;
            ReadLine(Line, Number++, Rate, FrameCount, Areas);
            Line.resize(0);
            At = Break + 1;
        }
    }
    if (!Line.isEmpty())
        ReadLine(Line, Number, Rate, FrameCount, Areas);
    return Areas;
}

std::vector<TLabeledArea> ReadLabelFile(const QByteArray &Text, std::uint32_t Rate, std::int64_t FrameCount)
{
    QBuffer File;
    File.setData(Text);
    File.open(QIODevice::ReadOnly);
    return ReadLabelFile(File, Rate, FrameCount);
}
