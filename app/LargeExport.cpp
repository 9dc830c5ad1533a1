#include "app/LargeExport.h"

#include "app/Unit1.h"
#include "engine/SampleFormat.h"

#include <QCoreApplication>
#include <QLocale>

#include <algorithm>

std::int64_t ExportBytes(const TSampleView &Recording, const TTrimArea *Areas, std::int32_t Count)
{
    const std::int64_t FrameBytes = FrameBytesOf(Recording);
    std::int64_t Bytes = 0;
    for (std::int32_t I = 0; I < Count; ++I)
        Bytes += std::max<std::int64_t>(Areas[I].EndPos - Areas[I].StartPos, 0) * FrameBytes;
    return Bytes;
}

bool ConfirmLargeExport(TForm1 &Form, const TSampleView &Recording, const TTrimArea *Areas, std::int32_t Count)
{
    const std::int64_t Bytes = ExportBytes(Recording, Areas, Count);
    if (Bytes <= 2 * Recording.DataSize)
        return true;
    const QLocale Locale;
    const QString Text = QCoreApplication::translate("Redivev", "切り出した範囲が重なっているため、"
                                                                "保存するデータは%1になり、録音(%2)の%3倍です。保存しますか？")
                             .arg(Locale.formattedDataSize(Bytes), Locale.formattedDataSize(Recording.DataSize))
                             .arg(double(Bytes) / double(std::max<std::int64_t>(Recording.DataSize, 1)), 0, 'f', 1);
    return Form.AskYesNo(QCoreApplication::translate("Redivev", "確認"), Text);
}
