#include "engine/ExportRecord.h"

#include <QByteArray>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <fcntl.h>
#include <unistd.h>

namespace {

// Large enough for a record of many thousand pieces; a bigger file is
// no record of ours.
constexpr std::int64_t LargestRecord = 64 << 20;

std::optional<QByteArray> ReadSmallFile(const std::string &Path)
{
    const int Handle = ::open(Path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (Handle < 0)
        return std::nullopt;
    QByteArray Text;
    char Buffer[65536];
    ssize_t Read = 0;
    while ((Read = ::read(Handle, Buffer, sizeof Buffer)) > 0 && Text.size() <= LargestRecord)
        Text.append(Buffer, Read);
    ::close(Handle);
    if (Read != 0)
        return std::nullopt;
    return Text;
}

// Nanoseconds since 1970 need more than a double's 53 bits: as text.
QString Number(std::int64_t Value)
{
    return QString::number(Value);
}

std::optional<std::int64_t> NumberOf(const QJsonValue &Value)
{
    bool Read = false;
    const std::int64_t Number = Value.toString().toLongLong(&Read);
    return Read ? std::optional(Number) : std::nullopt;
}

} // namespace

std::optional<TExportRecord> ReadExportRecord(const std::string &Folder)
{
    const std::optional<QByteArray> Text = ReadSmallFile(Folder + "/" + ExportRecordName);
    if (!Text)
        return std::nullopt;
    const QJsonObject Object = QJsonDocument::fromJson(*Text).object();
    TExportRecord Record;
    const std::optional<std::int64_t> Size = NumberOf(Object.value(QLatin1String("size")));
    const std::optional<std::int64_t> Time = NumberOf(Object.value(QLatin1String("mtime_ns")));
    const QJsonValue Files = Object.value(QLatin1String("files"));
    if (!Size || !Time || !Files.isArray())
        return std::nullopt;
    Record.Settings = Object.value(QLatin1String("settings")).toString().toStdString();
    Record.Source = {*Size, *Time};
    Record.Rate = std::uint32_t(Object.value(QLatin1String("rate")).toInteger());
    Record.Container = Object.value(QLatin1String("pieces_are")).toString() == QLatin1String("flac")
        ? TContainer::Flac
        : TContainer::Wav;
    for (const QJsonValue &Piece : Object.value(QLatin1String("pieces")).toArray()) {
        const QJsonArray Ends = Piece.toArray();
        Record.Areas.push_back({Ends.at(0).toInteger(), Ends.at(1).toInteger()});
    }
    for (const QJsonValue &Entry : Files.toArray()) {
        const QJsonArray File = Entry.toArray();
        const std::string Name = File.at(0).toString().toStdString();
        const std::optional<std::int64_t> FileSize = NumberOf(File.at(1));
        const std::optional<std::int64_t> FileTime = NumberOf(File.at(2));
        // A name that would lead out of the folder is none an export wrote.
        if (Name.empty() || Name == "." || Name == ".." || Name.find('/') != std::string::npos || !FileSize || !FileTime)
            return std::nullopt;
        Record.Files.push_back({Name, {*FileSize, *FileTime}});
    }
    if (Record.Files.size() < Record.Areas.size())
        return std::nullopt;
    return Record;
}

bool RecordedFilesIntact(const std::string &Folder, const TExportRecord &Record)
{
    for (const TRecordedFile &File : Record.Files)
        if (FileStampOf(Folder + "/" + File.Name) != File.Stamp)
            return false;
    return true;
}

std::string ExportRecordText(const TExportRecord &Record)
{
    QJsonArray Pieces;
    for (const TTrimArea &Area : Record.Areas)
        Pieces.append(QJsonArray{qint64(Area.StartPos), qint64(Area.EndPos)});
    QJsonArray Files;
    for (const TRecordedFile &File : Record.Files)
        Files.append(QJsonArray{QString::fromStdString(File.Name), Number(File.Stamp.Size), Number(File.Stamp.TimeNs)});
    const QJsonObject Object{
        {QLatin1String("settings"), QString::fromStdString(Record.Settings)},
        {QLatin1String("size"), Number(Record.Source.Size)},
        {QLatin1String("mtime_ns"), Number(Record.Source.TimeNs)},
        {QLatin1String("rate"), qint64(Record.Rate)},
        {QLatin1String("pieces_are"), Record.Container == TContainer::Flac ? QLatin1String("flac") : QLatin1String("wav")},
        {QLatin1String("pieces"), Pieces},
        {QLatin1String("files"), Files}};
    return (QJsonDocument(Object).toJson(QJsonDocument::Compact) + '\n').toStdString();
}
