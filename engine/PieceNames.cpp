#include "engine/PieceNames.h"

#include <QRegularExpression>
#include <QSet>

namespace {

constexpr qsizetype LongestNameBytes = 200;

QString SafeName(const QString &Label)
{
    QString Name;
    for (const QChar C : Label)
        Name += C.unicode() < 0x20 || C.unicode() == 0x7F || QStringLiteral("/\\:*?\"<>|").contains(C)
            ? QChar(u'_')
            : C;
    const auto Trimmable = [](QChar C) { return C == u' ' || C == u'.'; };
    while (!Name.isEmpty() && Trimmable(Name.front()))
        Name.remove(0, 1);
    while (!Name.isEmpty() && Trimmable(Name.back()))
        Name.chop(1);
    static const QRegularExpression Device(QStringLiteral("^(con|prn|aux|nul|com[0-9]|lpt[0-9])(\\..*)?$"),
                                           QRegularExpression::CaseInsensitiveOption);
    if (Device.match(Name).hasMatch())
        Name += u'_';
    // Whole characters only, never half of a surrogate pair.
    while (Name.toUtf8().size() > LongestNameBytes) {
        Name.chop(Name.size() >= 2 && Name.back().isLowSurrogate() ? 2 : 1);
        while (!Name.isEmpty() && Trimmable(Name.back()))
            Name.chop(1);
    }
    return Name;
}

} // namespace

std::string NumberedPieceName(int Index)
{
    const std::string Digits = std::to_string(Index);
    return "WAVE" + std::string(Digits.size() < 2 ? 1 : 0, '0') + Digits;
}

std::vector<std::string> PieceNamesFromLabels(const QStringList &Labels)
{
    std::vector<std::string> Names;
    QSet<QString> Taken; // case-folded: some file systems ignore case
    for (qsizetype I = 0; I < Labels.size(); ++I) {
        QString Name = SafeName(Labels[I]);
        if (Name.isEmpty())
            Name = QString::fromStdString(NumberedPieceName(int(I)));
        QString Unique = Name;
        for (int Copy = 2; Taken.contains(Unique.toCaseFolded()); ++Copy)
            Unique = Name + u'_' + QString::number(Copy);
        Taken.insert(Unique.toCaseFolded());
        Names.push_back(Unique.toStdString());
    }
    return Names;
}

std::vector<std::string> NamesClearOf(const std::vector<std::string> &Names, const std::string &Extension,
                                      const std::function<bool(const std::string &FileName)> &Taken)
{
    QSet<QString> Used;
    for (const std::string &Name : Names)
        Used.insert(QString::fromStdString(Name).toCaseFolded());
    std::vector<std::string> Clear = Names;
    for (std::string &Name : Clear) {
        if (!Taken(Name + Extension))
            continue;
        std::string Unique;
        for (int Copy = 2; Unique.empty() || Used.contains(QString::fromStdString(Unique).toCaseFolded())
             || Taken(Unique + Extension);
             ++Copy)
            Unique = Name + "_" + std::to_string(Copy);
        Used.insert(QString::fromStdString(Unique).toCaseFolded());
        Name = Unique;
    }
    return Clear;
}
