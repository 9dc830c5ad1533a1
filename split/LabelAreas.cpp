#include "split/LabelAreas.h"

#include "engine/LabelFile.h"

#include <QFile>

#include <cstring>
#include <optional>

QByteArray LabelFileBeside(const QByteArray &Recording)
{
    QByteArray Name = Recording;
    const qsizetype Slash = Name.lastIndexOf('/');
    for (const char *Extension : {".wav", ".flac", ".rf64", ".bw64", ".w64"}) {
        const qsizetype Length = qsizetype(std::strlen(Extension));
        if (Name.size() - Slash - 1 > Length && Name.right(Length).toLower() == Extension) {
            Name.chop(Length);
            break;
        }
    }
    return Name + ".txt";
}

TLabelAreas ReadLabelAreas(const QByteArray &LabelFile, std::uint32_t Rate, std::int64_t Frames)
{
    TLabelAreas Read;
    QFile File(QFile::decodeName(LabelFile));
    if (!File.open(QIODevice::ReadOnly)) {
        Read.Error = LabelFile + ": " + File.errorString().toUtf8();
        return Read;
    }
    Read.File = FileIdentityOf(File.handle());
    std::optional<ELabelFileError> Bad;
    try {
        for (const TLabeledArea &Area : ReadLabelFile(File, Rate, Frames)) {
            Read.Areas.push_back(Area.Area);
            Read.Labels << Area.Label;
        }
    } catch (const ELabelFileError &Error) {
        Bad = Error;
    }
    // A read that failed part-way makes any line after it no matter.
    if (File.error() != QFileDevice::NoError)
        Read.Error = LabelFile + ": " + File.errorString().toUtf8();
    else if (Bad)
        Read.Error = LabelFile + ':' + QByteArray::number(Bad->Line) + ": " + Bad->Reason.toUtf8();
    if (!Read.Error.isEmpty()) {
        Read.Areas.clear();
        Read.Labels.clear();
    }
    return Read;
}
