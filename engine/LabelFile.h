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

// The areas of the label file open as File, for a recording of FrameCount
// positions at Rate, read a line at a time: times rounded to the nearest
// position; the label is the rest of the line after the end time (UTF-8),
// empty when there is none. A byte-order mark before the first line is
// passed over, as are blank lines and the frequency lines that some editors
// write under a label (starting with a backslash); a line ending in CR LF
// reads as one ending in LF. Raises ELabelFileError for the first line that
// is no label, whose start is not before its end, whose area is shorter
// than one position, that reaches beyond the recording, or that is longer
// than any label (64 KiB), and for a file that goes on past 256 MiB (a
// device or a pipe that never ends). A read error ends the reading: it is
// File's to check.
std::vector<TLabeledArea> ReadLabelFile(QIODevice &File, std::uint32_t Rate, std::int64_t FrameCount);

// The same for a label file's whole text.
std::vector<TLabeledArea> ReadLabelFile(const QByteArray &Text, std::uint32_t Rate, std::int64_t FrameCount);
