#include "split/DoneRecord.h"

#include "platform/FolderWriter.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cerrno>
#include <cstring>
#include <type_traits>

#include <sys/stat.h>
#include <unistd.h>

namespace {

QByteArray PathOf(const QByteArray &Folder)
{
    return Folder + '/' + DoneRecordName;
}

// Large enough for a record of many thousand pieces; a bigger file is
// no record of ours.
constexpr qint64 LargestRecord = 64 << 20;

std::optional<TDoneRecord> ReadDoneRecord(const QByteArray &Folder)
{
    QFile File(QFile::decodeName(PathOf(Folder)));
    if (!File.open(QIODevice::ReadOnly) || File.size() > LargestRecord)
        return std::nullopt;
    const QJsonObject Object = QJsonDocument::fromJson(File.readAll()).object();
    TDoneRecord Record;
    bool Sized = false, Timed = false;
    Record.Settings = Object.value(QLatin1String("settings")).toString().toUtf8();
    Record.SourceSize = Object.value(QLatin1String("size")).toString().toLongLong(&Sized);
    Record.SourceTimeNs = Object.value(QLatin1String("mtime_ns")).toString().toLongLong(&Timed);
    Record.Rate = std::uint32_t(Object.value(QLatin1String("rate")).toInteger());
    Record.Container = Object.value(QLatin1String("pieces_are")).toString() == QLatin1String("flac")
        ? TContainer::Flac
        : TContainer::Wav;
    if (!Sized || !Timed || Record.Settings.isEmpty())
        return std::nullopt;
    for (const QJsonValue &Piece : Object.value(QLatin1String("pieces")).toArray()) {
        const QJsonArray Ends = Piece.toArray();
        Record.Areas.push_back({Ends.at(0).toInteger(), Ends.at(1).toInteger()});
    }
    return Record;
}

QByteArray RecordText(const TDoneRecord &Record)
{
    QJsonArray Pieces;
    for (const TTrimArea &Area : Record.Areas)
        Pieces.append(QJsonArray{qint64(Area.StartPos), qint64(Area.EndPos)});
    // Nanoseconds since 1970 need more than a double's 53 bits: as text.
    const QJsonObject Object{
        {QLatin1String("settings"), QString::fromUtf8(Record.Settings)},
        {QLatin1String("size"), QString::number(Record.SourceSize)},
        {QLatin1String("mtime_ns"), QString::number(Record.SourceTimeNs)},
        {QLatin1String("rate"), qint64(Record.Rate)},
        {QLatin1String("pieces_are"), Record.Container == TContainer::Flac ? QLatin1String("flac") : QLatin1String("wav")},
        {QLatin1String("pieces"), Pieces}};
    return QJsonDocument(Object).toJson(QJsonDocument::Compact) + '\n';
}

} // namespace

QByteArray SettingsText(const TSplitOptions &Options, std::uint32_t Rate)
{
    const TSettingsAtRate At = TrimSettingsAt(Options, Rate);
    if (!At.Settings)
        return {};
    // With --auto the rest come from the recording, which the source's
    // size and time stand for: the same source suggests the same.
    QByteArray Text = SettingsAsOptions(*At.Settings);
    if (Options.Auto)
        Text += " --auto, given: " + Options.Given.join(QLatin1Char(',')).toUtf8() + " target "
            + QByteArray::number(int(Options.Target));
    if (Options.Normalise)
        Text += " --normalise";
    // Every byte of the settings too, so that a setting added to them later
    // changes the text without anyone remembering to add it here.
    static_assert(std::has_unique_object_representations_v<TTrimSettings>);
    return Text + " all=" + QByteArray(reinterpret_cast<const char *>(&*At.Settings), sizeof(TTrimSettings)).toHex();
}

std::optional<TDoneRecord> SourceStamp(const QByteArray &File)
{
    struct stat Info {};
    if (::stat(File.constData(), &Info) != 0)
        return std::nullopt;
    TDoneRecord Stamp;
    Stamp.SourceSize = Info.st_size;
    Stamp.SourceTimeNs = std::int64_t(Info.st_mtim.tv_sec) * 1000000000 + Info.st_mtim.tv_nsec;
    return Stamp;
}

std::optional<TDoneRecord> MatchingDoneRecord(const QByteArray &File, const QByteArray &Folder,
                                              const TSplitOptions &Options)
{
    std::optional<TDoneRecord> Record = ReadDoneRecord(Folder);
    const std::optional<TDoneRecord> Stamp = SourceStamp(File);
    if (!Record || !Stamp || Record->SourceSize != Stamp->SourceSize || Record->SourceTimeNs != Stamp->SourceTimeNs
        || Record->Settings != SettingsText(Options, Record->Rate))
        return std::nullopt;
    return Record;
}

QByteArray RemoveDoneRecord(const QByteArray &Folder)
{
    if (::unlink(PathOf(Folder).constData()) == 0 || errno == ENOENT || errno == ENOTDIR)
        return {};
    return PathOf(Folder) + ": " + std::strerror(errno);
}

QByteArray WriteDoneRecord(const QByteArray &Folder, const TDoneRecord &Record)
{
    const QByteArray Text = RecordText(Record);
    try {
        TFolderWriter Writer(Folder.toStdString());
        Writer.WriteWhole(DoneRecordName, [&](int Handle) { WriteAll(Handle, Text.constData(), Text.size()); });
    } catch (const EFileSystemError &Error) {
        return QByteArray::fromStdString(Error.Path) + ": " + QByteArray::fromStdString(Error.Reason);
    }
    return {};
}
