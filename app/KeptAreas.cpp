#include "app/KeptAreas.h"

#include "platform/FolderWriter.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QSet>
#include <QStandardPaths>

#include <algorithm>

namespace {

// Recordings remembered: the oldest beyond these are forgotten.
constexpr int MaxRecordings = 100;
// A store file larger than this is none of ours.
constexpr qint64 MaxStoreBytes = 64 << 20;

const QByteArray Heading = QByteArrayLiteral("redivev-areas 1");
const QString Suffix = QStringLiteral(".areas");

QString StoreFolder()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation))
        .filePath(QStringLiteral("redivev/areas"));
}

QByteArray KeyLine(const TRecordingKey &Key)
{
    return Key.Path.toHex() + ' ' + QByteArray::number(qlonglong(Key.Size)) + ' '
        + QByteArray::number(qlonglong(Key.TimeNs));
}

QString StoreName(const TRecordingKey &Key)
{
    return QString::fromLatin1(QCryptographicHash::hash(KeyLine(Key), QCryptographicHash::Sha1).toHex()) + Suffix;
}

// The kept files beyond the newest MaxRecordings, Fresh among the newest.
QSet<QString> Forgotten(const QString &Fresh)
{
    QFileInfoList Files =
        QDir(StoreFolder()).entryInfoList({QStringLiteral("*") + Suffix}, QDir::Files | QDir::Hidden, QDir::Time);
    QSet<QString> Old;
    int Kept = 1;
    for (const QFileInfo &File : Files) {
        if (File.fileName() == Fresh)
            continue;
        if (++Kept > MaxRecordings)
            Old.insert(File.fileName());
    }
    return Old;
}

} // namespace

std::optional<TRecordingKey> RecordingKeyOf(const QByteArray &FileName)
{
    const QString Path = QFileInfo(QFile::decodeName(FileName)).canonicalFilePath();
    if (Path.isEmpty())
        return std::nullopt;
    const QByteArray Bytes = QFile::encodeName(Path);
    const std::optional<TFileStamp> Stamp = FileStampOf(Bytes.toStdString());
    if (!Stamp)
        return std::nullopt;
    return TRecordingKey{Bytes, Stamp->Size, Stamp->TimeNs};
}

void KeepAreas(const TRecordingKey &Key, const std::vector<TTrimArea> &Areas)
{
    const QString Name = StoreName(Key);
    if (Areas.empty() && !QFileInfo::exists(QDir(StoreFolder()).filePath(Name)))
        return;
    TFolderWriter Writer(QFile::encodeName(StoreFolder()).toStdString());
    Writer.Lock();
    Writer.RemoveLeftovers();
    const std::string Own = QFile::encodeName(Name).toStdString();
    if (Areas.empty()) {
        Writer.RemoveFiles([&Own](const std::string &File) { return File == Own; });
        return;
    }
    QByteArray Text = Heading + '\n' + KeyLine(Key) + '\n' + QByteArray::number(qulonglong(Areas.size())) + '\n';
    for (const TTrimArea &Area : Areas)
        Text += QByteArray::number(qlonglong(Area.StartPos)) + ' ' + QByteArray::number(qlonglong(Area.EndPos)) + '\n';
    Writer.WriteWhole(Own, [&Text](int Handle) { WriteAll(Handle, Text.constData(), Text.size()); });
    const QSet<QString> Old = Forgotten(Name);
    if (!Old.isEmpty())
        Writer.RemoveFiles([&Old](const std::string &File) { return Old.contains(QFile::decodeName(File.c_str())); });
}

std::optional<std::vector<TTrimArea>> KeptAreas(const TRecordingKey &Key, std::int64_t Frames)
{
    QFile File(QDir(StoreFolder()).filePath(StoreName(Key)));
    if (!QFileInfo(File).isFile() || File.size() > MaxStoreBytes || !File.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QList<QByteArray> Lines = File.readAll().split('\n');
    // Heading, key, count, the areas, and the empty piece after the last end of line.
    if (Lines.size() < 4 || Lines[0] != Heading || Lines[1] != KeyLine(Key) || !Lines.last().isEmpty())
        return std::nullopt;
    bool Number = false;
    const qlonglong Count = Lines[2].toLongLong(&Number);
    if (!Number || Count != Lines.size() - 4)
        return std::nullopt;
    std::vector<TTrimArea> Areas;
    for (qsizetype I = 3; I + 1 < Lines.size(); ++I) {
        const QList<QByteArray> Ends = Lines[I].split(' ');
        bool StartRead = false;
        bool EndRead = false;
        if (Ends.size() != 2)
            return std::nullopt;
        const TTrimArea Area{Ends[0].toLongLong(&StartRead), Ends[1].toLongLong(&EndRead)};
        if (!StartRead || !EndRead || Area.StartPos < 0 || Area.StartPos >= Area.EndPos || Area.EndPos > Frames)
            return std::nullopt;
        Areas.push_back(Area);
    }
    if (Areas.empty())
        return std::nullopt;
    return Areas;
}
