#include "AreaListing.h"

#include <QStringList>

namespace {

// Six decimals resolve a position at any rate up to a megahertz. A rate of
// 0 has no time: empty in CSV, null in JSON.
QString Seconds(std::int64_t Position, std::uint32_t Rate, const QString &NoTime)
{
    return Rate > 0 ? QString::number(double(Position) / Rate, 'f', 6) : NoTime;
}

QString CsvField(const QString &Text)
{
    if (!Text.contains(QLatin1Char(',')) && !Text.contains(QLatin1Char('"')) && !Text.contains(QLatin1Char('\n'))
        && !Text.contains(QLatin1Char('\r')))
        return Text;
    QString Quoted = Text;
    Quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + Quoted + QLatin1Char('"');
}

QString JsonString(const QString &Text)
{
    QString Out = QStringLiteral("\"");
    for (const QChar Char : Text) {
        if (Char == QLatin1Char('"') || Char == QLatin1Char('\\'))
            Out += QLatin1Char('\\') + Char;
        else if (Char.unicode() < 0x20)
            Out += QStringLiteral("\\u%1").arg(Char.unicode(), 4, 16, QLatin1Char('0'));
        else
            Out += Char;
    }
    return Out + QLatin1Char('"');
}

} // namespace

QByteArray CsvListing(const std::vector<TListedRecording> &Recordings)
{
    QString Text = QStringLiteral("file,index,start,end,start_s,end_s\n");
    for (const TListedRecording &Recording : Recordings) {
        const QString File = CsvField(Recording.File);
        for (std::size_t I = 0; I < Recording.Areas.size(); ++I) {
            const TTrimArea &Area = Recording.Areas[I];
            // One arg() call: a file name holding "%2" must stay as it is.
            Text += QStringLiteral("%1,%2,%3,%4,%5,%6\n")
                        .arg(File, QString::number(I), QString::number(Area.StartPos), QString::number(Area.EndPos),
                             Seconds(Area.StartPos, Recording.Rate, {}), Seconds(Area.EndPos, Recording.Rate, {}));
        }
    }
    return Text.toUtf8();
}

QByteArray JsonListing(const std::vector<TListedRecording> &Recordings)
{
    const QString Null = QStringLiteral("null");
    QStringList Objects;
    for (const TListedRecording &Recording : Recordings) {
        const QString File = JsonString(Recording.File);
        for (std::size_t I = 0; I < Recording.Areas.size(); ++I) {
            const TTrimArea &Area = Recording.Areas[I];
            Objects << QStringLiteral("  {\"file\": %1, \"index\": %2, \"start\": %3, \"end\": %4, "
                                      "\"start_s\": %5, \"end_s\": %6}")
                           .arg(File, QString::number(I), QString::number(Area.StartPos),
                                QString::number(Area.EndPos), Seconds(Area.StartPos, Recording.Rate, Null),
                                Seconds(Area.EndPos, Recording.Rate, Null));
        }
    }
    if (Objects.isEmpty())
        return "[]\n";
    return (QStringLiteral("[\n") + Objects.join(QStringLiteral(",\n")) + QStringLiteral("\n]\n")).toUtf8();
}
