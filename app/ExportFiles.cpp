// The export's folder, file names and whole-or-nothing file writing.
#include "Export.h"

#include "OutputFolder.h"
#include "Streams.h"
#include "Unit1.h"

#include <QDir>

#include <cstring>

#include <unistd.h>

namespace {

void PutU32(std::uint8_t *At, std::uint32_t Value)
{
    for (int I = 0; I < 4; ++I)
        At[I] = static_cast<std::uint8_t>(Value >> (8 * I));
}

} // namespace

QString ExportFolder(TForm1 &Form)
{
    return OutputFolder(Form.ProgramDirectory());
}

QString ExportFileName(const QString &Folder, std::int32_t Index)
{
    return Folder + QStringLiteral("/WAVE") + QStringLiteral("%1").arg(Index, 2, 10, QLatin1Char('0'))
        + QStringLiteral(".wav");
}

std::array<std::uint8_t, WaveFileHeaderBytes> WaveFileHeader(const TZuInternalWAVE &Wave)
{
    std::array<std::uint8_t, WaveFileHeaderBytes> Header{};
    const std::uint32_t DataBytes = static_cast<std::uint32_t>(Wave.FDataSize);
    std::memcpy(Header.data(), "RIFF", 4);
    PutU32(Header.data() + 4, DataBytes + (DataBytes & 1) + 38);
    std::memcpy(Header.data() + 8, "WAVEfmt ", 8);
    PutU32(Header.data() + 16, sizeof(TWaveFormatEx));
    std::memcpy(Header.data() + 20, &Wave.FFormat, sizeof(TWaveFormatEx));
    std::memcpy(Header.data() + 38, "data", 4);
    PutU32(Header.data() + 42, DataBytes);
    return Header;
}

void WriteWaveFile(TZuWave &Wave, TStream &Stream)
{
    const TZuInternalWAVE *Internal = Wave.InternalWave();
    if (Internal == nullptr || Internal->FDataSize < 0) {
        Wave.SaveToStream(Stream);
        return;
    }
    // The samples go to the file straight from the wave's block, without
    // the whole-image copy that SaveToStream makes first.
    const auto Header = WaveFileHeader(*Internal);
    Stream.WriteBuffer(Header.data(), static_cast<std::int64_t>(Header.size()));
    Stream.WriteBuffer(Internal->FData, Internal->FDataSize);
    if (Internal->FDataSize & 1) {
        const std::uint8_t Pad = 0;
        Stream.WriteBuffer(&Pad, 1);
    }
}

void SaveWaveWhole(TZuWave &Wave, const QString &FileName)
{
    const std::string Name = FileName.toStdString();
    // A failure to create touches nothing of ours: that file, if any, is
    // somebody else's and stays.
    TFileStream Stream(Name, TFileStream::TMode::Create);
    try {
        WriteWaveFile(Wave, Stream);
    } catch (...) {
        // Still holding the file's lock, so nobody opens the broken file
        // between our failure and its removal.
        ::unlink(Name.c_str());
        throw;
    }
}
