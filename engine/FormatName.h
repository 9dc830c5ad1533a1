#pragma once
// What a WAV file's "fmt " chunk describes, in words for a message.
#include <QByteArray>
#include <QString>

// E.g. "32-bit float, 2 ch, 44100 Hz" or "8-bit A-law, 1 ch, 8000 Hz". An
// extensible body of 40 bytes or more is named by its subformat.
QString DescribeFormat(const QByteArray &FmtBody);
