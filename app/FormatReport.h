#pragma once
// A recording whose format tag is not PCM and that the engine does not read
// either (A-law, µ-law, ADPCM, MP3, an extensible format of another
// subformat, ...) loads into the wave library without error, but no sample
// of it can be read: the view stays blank and every command would find
// nothing. Right after such a load the user is told so, and again by each
// command instead of its result.
#include <QByteArray>
#include <QString>

class TForm1;
class TStream;
class TZuWave;

// After a load has put Stream's recording (Stream still open) in Wave:
// "このwavファイルの形式には対応していません" and, on a second line, what the
// file holds, when the format tag is not PCM; empty otherwise. PCM layouts
// nothing reads (12-bit, more than eight channels) report on their own
// when the view paints, so nothing is said of them here.
QString UnreadableFormatReport(const TZuWave &Wave, TStream &Stream);

// When the loaded recording is in a format nothing reads: shows FileOpen's
// report again and returns true, so the command does nothing else.
bool RepeatUnreadableFormat(TForm1 &Form);
