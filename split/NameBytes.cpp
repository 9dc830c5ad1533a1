#include "split/NameBytes.h"

namespace {

bool Continuation(char Byte)
{
    return (std::uint8_t(Byte) & 0xC0) == 0x80;
}

bool Control(char32_t Code)
{
    return Code < 0x20 || (Code >= 0x7F && Code <= 0x9F);
}

void AppendEscaped(QByteArray &Out, const char *Bytes, int Count)
{
    static const char Digits[] = "0123456789abcdef";
    for (int I = 0; I < Count; ++I) {
        const auto Byte = std::uint8_t(Bytes[I]);
        Out += "\\x";
        Out += Digits[Byte >> 4];
        Out += Digits[Byte & 15];
    }
}

} // namespace

int Utf8Sequence(const char *Text, qsizetype Left, char32_t &Code)
{
    const auto Lead = std::uint8_t(Text[0]);
    int Length = 0;
    char32_t Least = 0;
    if (Lead < 0x80) {
        Code = Lead;
        return 1;
    }
    if ((Lead & 0xE0) == 0xC0) {
        Length = 2;
        Least = 0x80;
        Code = Lead & 0x1F;
    } else if ((Lead & 0xF0) == 0xE0) {
        Length = 3;
        Least = 0x800;
        Code = Lead & 0x0F;
    } else if ((Lead & 0xF8) == 0xF0) {
        Length = 4;
        Least = 0x10000;
        Code = Lead & 0x07;
    } else {
        return 0;
    }
    if (Left < Length)
        return 0;
    for (int I = 1; I < Length; ++I) {
        if (!Continuation(Text[I]))
            return 0;
        Code = (Code << 6) | (std::uint8_t(Text[I]) & 0x3F);
    }
    if (Code < Least || Code > 0x10FFFF || (Code >= 0xD800 && Code <= 0xDFFF))
        return 0;
    return Length;
}

QString ArgumentText(const QByteArray &Bytes)
{
    QString Text;
    for (qsizetype I = 0; I < Bytes.size();) {
        char32_t Code = 0;
        const int Length = Utf8Sequence(Bytes.constData() + I, Bytes.size() - I, Code);
        if (Length == 0) {
            Text += QChar(char16_t(0xDC00 + std::uint8_t(Bytes[I])));
            ++I;
            continue;
        }
        if (QChar::requiresSurrogates(Code)) {
            Text += QChar(QChar::highSurrogate(Code));
            Text += QChar(QChar::lowSurrogate(Code));
        } else {
            Text += QChar(char16_t(Code));
        }
        I += Length;
    }
    return Text;
}

QByteArray ArgumentBytes(const QString &Text)
{
    QByteArray Bytes;
    qsizetype Run = 0; // start of the text not yet converted
    for (qsizetype I = 0; I < Text.size(); ++I) {
        const char16_t Unit = Text[I].unicode();
        const bool PairEnd = I > 0 && Text[I - 1].isHighSurrogate();
        if (Unit < 0xDC80 || Unit > 0xDCFF || PairEnd)
            continue;
        Bytes += Text.mid(Run, I - Run).toUtf8();
        Bytes += char(Unit - 0xDC00);
        Run = I + 1;
    }
    return Bytes + Text.mid(Run).toUtf8();
}

QByteArray Printable(const QByteArray &Bytes)
{
    QByteArray Out;
    Out.reserve(Bytes.size());
    for (qsizetype I = 0; I < Bytes.size();) {
        char32_t Code = 0;
        const char *At = Bytes.constData() + I;
        const int Length = Utf8Sequence(At, Bytes.size() - I, Code);
        if (Length == 0 || Control(Code))
            AppendEscaped(Out, At, Length == 0 ? 1 : Length);
        else
            Out.append(At, Length);
        I += Length == 0 ? 1 : Length;
    }
    return Out;
}
