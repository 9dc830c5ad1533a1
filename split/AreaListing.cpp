#include "split/AreaListing.h"

#include "split/NameBytes.h"

#include <QByteArrayList>
#include <QString>

// Six decimals resolve a position at any rate up to a megahertz. A rate of
// 0 has no time: empty in CSV, null in JSON.
QByteArray Seconds(std::int64_t Position, std::uint32_t Rate, const QByteArray &NoTime)
{
    return Rate > 0 ? QByteArray::number(double(Position) / Rate, 'f', 6) : NoTime;
}

QByteArray CsvField(const QByteArray &Text)
{
    if (!Text.contains(',') && !Text.contains('"') && !Text.contains('\n') && !Text.contains('\r'))
        return Text;
    QByteArray Quoted = Text;
    Quoted.replace("\"", "\"\"");
    return '"' + Quoted + '"';
}

QByteArray JsonString(const QByteArray &Text)
{
    QByteArray Out = "\"";
    for (qsizetype I = 0; I < Text.size();) {
        char32_t Code = 0;
        const int Length = Utf8Sequence(Text.constData() + I, Text.size() - I, Code);
        if (Length == 0)
            Out += QStringLiteral("\\udc%1").arg(std::uint8_t(Text[I]), 2, 16, QLatin1Char('0')).toLatin1();
        else if (Code == '"' || Code == '\\')
            Out += '\\' + QByteArray(1, char(Code));
        else if (Code < 0x20)
            Out += QStringLiteral("\\u%1").arg(unsigned(Code), 4, 16, QLatin1Char('0')).toLatin1();
        else
            Out.append(Text.constData() + I, Length);
        I += Length == 0 ? 1 : Length;
    }
    return Out + '"';
}

QByteArray CsvListing(const std::vector<TListedRecording> &Recordings)
{
    QByteArray Text = "file,index,start,end,start_s,end_s\n";
    for (const TListedRecording &Recording : Recordings) {
        const QByteArray File = CsvField(Recording.File);
        for (std::size_t I = 0; I < Recording.Areas.size(); ++I) {
            const TTrimArea &Area = Recording.Areas[I];
            Text += QByteArrayList{File, QByteArray::number(qulonglong(I)), QByteArray::number(Area.StartPos),
                                   QByteArray::number(Area.EndPos), Seconds(Area.StartPos, Recording.Rate, {}),
                                   Seconds(Area.EndPos, Recording.Rate, {})}
                        .join(',')
                + '\n';
        }
    }
    return Text;
}

QByteArray JsonListing(const std::vector<TListedRecording> &Recordings)
{
    const QByteArray Null = "null";
    QByteArrayList Objects;
    for (const TListedRecording &Recording : Recordings) {
        const QByteArray File = JsonString(Recording.File);
        for (std::size_t I = 0; I < Recording.Areas.size(); ++I) {
            const TTrimArea &Area = Recording.Areas[I];
            Objects << "  {\"file\": " + File + ", \"index\": " + QByteArray::number(qulonglong(I))
                    + ", \"start\": " + QByteArray::number(Area.StartPos) + ", \"end\": "
                    + QByteArray::number(Area.EndPos) + ", \"start_s\": " + Seconds(Area.StartPos, Recording.Rate, Null)
                    + ", \"end_s\": " + Seconds(Area.EndPos, Recording.Rate, Null) + "}";
        }
    }
    if (Objects.isEmpty())
        return "[]\n";
    return "[\n" + Objects.join(",\n") + "\n]\n";
}
