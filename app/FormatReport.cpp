#include "app/FormatReport.h"

#include "engine/FormatName.h"

#include "app/Unit1.h"
#include "platform/WaveContainer.h"
#include "platform/Streams.h"

#include <QCoreApplication>

#include <algorithm>
#include <optional>

namespace {

// The body of the "fmt " chunk the loader used, found by the loader's own
// walk over the still open file, headers only: it is read before the walk
// goes on to the data chunk, so a file without one still gives it.
std::optional<QByteArray> ReadFmtBody(TStream &Stream)
{
    std::optional<QByteArray> Body;
    const auto Keep = [&Body](const std::uint8_t *Bytes, std::uint32_t Held) {
        Body = QByteArray(reinterpret_cast<const char *>(Bytes), static_cast<qsizetype>(Held));
    };
    try {
        Stream.SetPosition(0);
        TStreamBytes Image(Stream, Stream.Size());
        ReadWaveChunks(Image, TWaveContainer::Riff, INT64_MAX, Keep);
    } catch (const EContainerFault &) {
    } catch (const EReadError &) {
    }
    return Body;
}

} // namespace

QString UnreadableFormatReport(const TZuWave &Recording, TStream &Stream)
{
    const TZuInternalWAVE *Wave = Recording.InternalWave();
    if (Wave == nullptr || Wave->FFormat.wFormatTag == WAVE_FORMAT_PCM)
        return QString();
    // The loaded record keeps 18 bytes only: an extensible format's
    // subformat is read from the file again, and the record stands in
    // should that fail.
    const QByteArray Held(reinterpret_cast<const char *>(&Wave->FFormat), sizeof(Wave->FFormat));
    const QByteArray Body = ReadFmtBody(Stream).value_or(Held);
    return QCoreApplication::translate("Redivev", "このwavファイルの形式には対応していません\n") + DescribeFormat(Body);
}

bool RepeatUnreadableFormat(TForm1 &Form)
{
    if (Form.Document.FormatRefusal().isEmpty())
        return false;
    Form.ShowMessage(Form.Document.FormatRefusal());
    return true;
}
