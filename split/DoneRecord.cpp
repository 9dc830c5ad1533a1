#include "split/DoneRecord.h"

#include "split/ConversionOptions.h"

#include <type_traits>

#include <sys/stat.h>

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
    // Pieces of another form are another export; none asked for adds
    // nothing, so that earlier records still match.
    if (Options.Convert.Requested())
        Text += " " + ConversionAsOptions(Options.Convert);
    // Every byte of the settings too, so that a setting added to them later
    // changes the text without anyone remembering to add it here.
    static_assert(std::has_unique_object_representations_v<TTrimSettings>);
    return Text + " all=" + QByteArray(reinterpret_cast<const char *>(&*At.Settings), sizeof(TTrimSettings)).toHex();
}

std::optional<TFileStamp> SourceStamp(const QByteArray &File)
{
    struct stat Info {};
    if (::stat(File.constData(), &Info) != 0)
        return std::nullopt;
    return TFileStamp{Info.st_size, std::int64_t(Info.st_mtim.tv_sec) * 1000000000 + Info.st_mtim.tv_nsec};
}

std::optional<TExportRecord> MatchingDoneRecord(const QByteArray &File, const QByteArray &Folder,
                                                const TSplitOptions &Options)
{
    std::optional<TExportRecord> Record = ReadExportRecord(Folder.toStdString());
    const std::optional<TFileStamp> Stamp = SourceStamp(File);
    if (!Record || !Stamp || Record->Source != *Stamp || Record->Settings.empty()
        || QByteArray::fromStdString(Record->Settings) != SettingsText(Options, Record->Rate)
        || !RecordedFilesIntact(Folder.toStdString(), *Record))
        return std::nullopt;
    return Record;
}
