#include "app/EngineMessages.h"

#include <QCoreApplication>
#include <QStringList>

namespace {

// The texts the libraries throw that the window may show; %1 stands for
// the part that varies (a file's name, the system's reason).
const char *const Patterns[] = {
    QT_TRANSLATE_NOOP("Engine", "ファイル %1 は開けません"),
    QT_TRANSLATE_NOOP("Engine", "ファイル %1 を作成できません"),
    QT_TRANSLATE_NOOP("Engine", "ストリームからの読み込みエラー"),
    QT_TRANSLATE_NOOP("Engine", "ストリームへの書き込みエラー"),
    QT_TRANSLATE_NOOP("Engine", "メモリが不足しています"),
    QT_TRANSLATE_NOOP("Engine", "TZuInternalWave.LoadFromFile:Not a waveform-audio file."),
    QT_TRANSLATE_NOOP("Engine", "TZuInternalWave.LoadFromFile:Unable to locate fmt chunk."),
    QT_TRANSLATE_NOOP("Engine", "TZuInternalWave.LoadfromFile:Error reading fmt chunk."),
    QT_TRANSLATE_NOOP("Engine", "TZuInternalWave.LoadfromFile:Unable to locate data chunk."),
    QT_TRANSLATE_NOOP("Engine", "TZuInternalWave.LoadfromFile:Error reading data chunk."),
    QT_TRANSLATE_NOOP("Engine", "TZuInternalWave.play:Device is recording or playing waveform now."),
    QT_TRANSLATE_NOOP("Engine", "TZuInternalWave.Play:%1"),
    QT_TRANSLATE_NOOP("Engine", "TZuInternalWave.SaveToFile:Failed to open file."),
    QT_TRANSLATE_NOOP("Engine", "TZuInternalWave.SaveToFile:Failed to close file."),
};

} // namespace

namespace {

QString LineOf(const QString &Message)
{
    for (const char *Pattern : Patterns) {
        const QString Source = QString::fromUtf8(Pattern);
        const qsizetype Hole = Source.indexOf(QStringLiteral("%1"));
        if (Hole < 0) {
            if (Message == Source)
                return QCoreApplication::translate("Engine", Pattern);
            continue;
        }
        const QString Before = Source.left(Hole);
        const QString After = Source.mid(Hole + 2);
        if (Message.size() >= Before.size() + After.size() && Message.startsWith(Before) && Message.endsWith(After))
            return QCoreApplication::translate("Engine", Pattern)
                .arg(Message.mid(Before.size(), Message.size() - Before.size() - After.size()));
    }
    return Message;
}

} // namespace

QString EngineMessage(const char *What)
{
    // Each line on its own: the window adds the file's name on a line
    // after the library's text.
    QStringList Lines = QString::fromUtf8(What).split(QLatin1Char('\n'));
    for (QString &Line : Lines)
        Line = LineOf(Line);
    return Lines.join(QLatin1Char('\n'));
}
