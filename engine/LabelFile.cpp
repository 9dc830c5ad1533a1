#include "engine/LabelFile.h"

#include <QRegularExpression>

#include <algorithm>
#include <cmath>
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

} // namespace

std::optional<QByteArray> ReadLabelText(QIODevice &File)
{
    constexpr qint64 Largest = qint64(256) << 20;
    QByteArray Text;
    while (Text.size() <= Largest) {
        const QByteArray Part = File.read(64 * 1024);
        if (Part.isEmpty())
            return Text;
        Text += Part;
    }
    return std::nullopt;
}

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

std::vector<TLabeledArea> ReadLabelFile(const QByteArray &Text, std::uint32_t Rate, std::int64_t FrameCount)
{
    std::vector<TLabeledArea> Areas;
    const QList<QByteArray> Lines = Text.split('\n');
    for (qsizetype I = 0; I < Lines.size(); ++I) {
        const int Number = int(I + 1);
        QByteArray Line = Lines[I];
        if (Line.endsWith('\r'))
            Line.chop(1);
        if (Line.trimmed().isEmpty() || Line.startsWith('\\'))
            continue;
        const QList<QByteArray> Fields = Line.split('\t');
        const std::optional<double> Start = ReadSeconds(Fields[0]);
        const std::optional<double> End = Fields.size() >= 2 ? ReadSeconds(Fields[1]) : std::nullopt;
        if (!Start || !End)
            throw ELabelFileError(Number, QStringLiteral("not a label: start<TAB>end<TAB>label, in seconds"));
        const auto At = [Rate](double Seconds) { return std::llround(std::min(Seconds * Rate, 9e18)); };
        const TTrimArea Area{At(*Start), At(*End)};
        if (Area.StartPos >= Area.EndPos)
            throw ELabelFileError(Number, QStringLiteral("the start %1 s is not before the end %2 s")
                                              .arg(QString::fromLatin1(Fields[0].trimmed()),
                                                   QString::fromLatin1(Fields[1].trimmed())));
        if (Area.EndPos > FrameCount)
            throw ELabelFileError(Number, QStringLiteral("the end %1 s is beyond the recording, which ends at %2 s")
                                              .arg(QString::fromLatin1(Fields[1].trimmed()),
                                                   QString::fromLatin1(LabelSeconds(FrameCount, Rate))));
        Areas.push_back({Area, QString::fromUtf8(Fields.mid(2).join('\t'))});
    }
    return Areas;
}
