#include "split/ConversionOptions.h"

#include <QCommandLineParser>
#include <QRegularExpression>

namespace {

// A whole number between Low and High; an error message naming the option
// otherwise.
QString ReadWhole(const QString &Name, const QString &Text, long long Low, long long High, const QString &Expected,
                  long long &Value)
{
    static const QRegularExpression Whole(QStringLiteral("^[0-9]+$"));
    bool Fits = false;
    Value = Text.toLongLong(&Fits);
    if (!Whole.match(Text).hasMatch() || !Fits || Value < Low || Value > High)
        return QStringLiteral("--%1: \"%2\" is not %3").arg(Name, Text, Expected);
    return {};
}

} // namespace

void DefineConversionOptions(QCommandLineParser &Parser)
{
    Parser.addOption({QStringLiteral("rate"),
                      QStringLiteral("Write the pieces at this sample rate (e.g. 16000), resampled by libsoxr at "
                                     "very high quality; by default the recording's own samples."),
                      QStringLiteral("hz")});
    Parser.addOption({QStringLiteral("channels"),
                      QStringLiteral("Write the pieces with 1 channel (the channels' mean) or 2 (a mono "
                                     "recording doubled)."),
                      QStringLiteral("n")});
    Parser.addOption({QStringLiteral("bits"),
                      QStringLiteral("Write the pieces as 16- or 24-bit integers, rounded and clipped at full "
                                     "scale."),
                      QStringLiteral("n")});
}

QString ReadConversionValue(const QString &Name, const QString &Text, TPieceConversion &Conversion)
{
    long long Value = 0;
    QString Error;
    if (Name == QLatin1String("rate")) {
        Error = ReadWhole(Name, Text, 1000, 768000, QStringLiteral("a sample rate from 1000 to 768000 Hz (e.g. 16000)"),
                          Value);
        Conversion.Rate = std::uint32_t(Value);
    } else if (Name == QLatin1String("channels")) {
        Error = ReadWhole(Name, Text, 1, 2, QStringLiteral("1 or 2"), Value);
        Conversion.Channels = int(Value);
    } else {
        Error = ReadWhole(Name, Text, 16, 24, QStringLiteral("16 or 24"), Value);
        if (Error.isEmpty() && Value != 16 && Value != 24)
            Error = QStringLiteral("--bits: \"%1\" is not 16 or 24").arg(Text);
        Conversion.Bits = int(Value);
    }
    return Error;
}

QString ReadConversionOptions(const QCommandLineParser &Parser, TPieceConversion &Conversion)
{
    for (const QString &Name : {QStringLiteral("rate"), QStringLiteral("channels"), QStringLiteral("bits")})
        if (Parser.isSet(Name))
            if (QString Error = ReadConversionValue(Name, Parser.value(Name), Conversion); !Error.isEmpty())
                return Error;
    return {};
}

QByteArray ConversionAsOptions(const TPieceConversion &Conversion)
{
    QByteArray Text;
    if (Conversion.Rate != 0)
        Text += " --rate " + QByteArray::number(Conversion.Rate);
    if (Conversion.Channels != 0)
        Text += " --channels " + QByteArray::number(Conversion.Channels);
    if (Conversion.Bits != 0)
        Text += " --bits " + QByteArray::number(Conversion.Bits);
    return Text.trimmed();
}
