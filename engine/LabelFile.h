#pragma once
// Areas as the label files sound editors read and write: one area a line,
// "start<TAB>end<TAB>label", times in seconds with six decimals. So areas
// found or corrected here can be checked in another editor, and areas
// marked there can be cut here.
#include "engine/TrimArea.h"
#include "platform/Exception.h"

#include <QByteArray>
#include <QIODevice>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>
#include <vector>

// A line of a label file that gives no area of the recording. Line counts
// from 1; Reason says why in a few plain words.
class ELabelFileError : public Exception {
public:
    ELabelFileError(int Line, const QString &Reason)
        : Exception("line " + std::to_string(Line) + ": " + Reason.toStdString()), Line(Line), Reason(Reason)
    {
    }
    int Line;
    QString Reason;
};

struct TLabeledArea {
    TTrimArea Area;
    QString Label;
};

// Position as seconds with six decimals, rounded to the nearest
// microsecond; positions read back from them are the same up to a
// rate of a megahertz.
QByteArray LabelSeconds(std::int64_t Position, std::uint32_t Rate);

// The text of a label file: Areas in order, at Rate samples per second
// (more than 0), each with Labels' entry (tabs and line breaks in it become
// spaces, since they would end the field or the line).
QByteArray LabelFileText(const std::vector<TTrimArea> &Areas, std::uint32_t Rate, const QStringList &Labels);

// A label file's text, read from File (open) up to its end or until it
// is too large to be labels (256 MiB): nothing then. A device or a pipe
// that never ends is read no further. A read error is File's.
std::optional<QByteArray> ReadLabelText(QIODevice &File);

// The areas of a label file for a recording of FrameCount positions at
// Rate: times rounded to the nearest position; the label is the rest of
// the line after the end time (UTF-8), empty when there is none. Blank
// lines, and the frequency lines that some editors write under a label
// (starting with a backslash), are passed over; a line ending in CR LF
// reads as one ending in LF. Raises ELabelFileError for the first line that
// is no label, whose start is not before its end, or that reaches beyond
// the recording.
std::vector<TLabeledArea> ReadLabelFile(const QByteArray &Text, std::uint32_t Rate, std::int64_t FrameCount);
