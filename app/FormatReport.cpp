#include "app/FormatReport.h"

#include "engine/FormatName.h"

#include "app/Unit1.h"
#include "platform/StreamRiff.h"
#include "platform/Streams.h"


#include <algorithm>
#include <optional>

namespace {

// The body of the "fmt " chunk the loader used, found by the loader's own
// walk over the still open file, headers only.
std::optional<QByteArray> ReadFmtBody(TStream &Stream)
{
    try {
        Stream.SetPosition(0);
        TStreamRiffReader File(Stream, Stream.Size());
        TChunkInfo Riff, Fmt;
        if (!File.DescendRiff(Riff, MakeFourCC('W', 'A', 'V', 'E'))
            || !File.DescendChunk(Fmt, Riff, MakeFourCC('f', 'm', 't', ' ')))
            return std::nullopt;
        QByteArray Body(static_cast<qsizetype>(std::min<std::uint32_t>(Fmt.cksize, 64)), '\0');
        Body.resize(static_cast<qsizetype>(File.Read(Body.data(), Body.size())));
        return Body;
    } catch (const EReadError &) {
        return std::nullopt;
    }
}

} // namespace

QString UnreadableFormatReport(TForm1 &Form, TStream &Stream)
{
    const TZuInternalWAVE *Wave = Form.ZU->InternalWave();
    if (Wave == nullptr || Wave->FFormat.wFormatTag == WAVE_FORMAT_PCM)
        return QString();
    // The loaded record keeps 18 bytes only: an extensible format's
    // subformat is read from the file again, and the record stands in
    // should that fail.
    const QByteArray Held(reinterpret_cast<const char *>(&Wave->FFormat), sizeof(Wave->FFormat));
    const QByteArray Body = ReadFmtBody(Stream).value_or(Held);
    return QStringLiteral("このwavファイルの形式には対応していません\n") + DescribeFormat(Body);
}

bool RepeatUnreadableFormat(TForm1 &Form)
{
    if (Form.FFormatRefusal.isEmpty())
        return false;
    Form.ShowMessage(Form.FFormatRefusal);
    return true;
}
