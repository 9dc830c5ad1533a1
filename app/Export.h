#pragma once
// Helpers of the export and play commands: where the files go, how one is
// written, and the two ways of copying a trim area into ZU2.
#include <QString>

#include <array>
#include <cstdint>

class TForm1;
class TStream;
class TZuInternalWAVE;
class TZuWave;

// OutputFolder(ProgramDirectory()), without a trailing separator.
QString ExportFolder(TForm1 &Form);
// Folder + "/WAVE" + Index with at least two digits + ".wav".
QString ExportFileName(const QString &Folder, std::int32_t Index);
// The bytes a saved WAV file holds before the samples: the RIFF header, the
// 18-byte "fmt " chunk and the "data" chunk's header.
constexpr int WaveFileHeaderBytes = 46;
std::array<std::uint8_t, WaveFileHeaderBytes> WaveFileHeader(const TZuInternalWAVE &Wave);
// Writes to Stream the same bytes as Wave.SaveToStream.
void WriteWaveFile(TZuWave &Wave, TStream &Stream);
// Saves Wave as FileName (created or replaced). When the file was made but
// could not be written in full it is removed, so no truncated WAV is left;
// the error is raised again either way.
void SaveWaveWhole(TZuWave &Wave, const QString &FileName);

// Copies Length frames of Source from StartPos into Target (already of
// Source's format and Length frames long).
void CopyFramesPerSample(TZuWave &Source, TZuWave &Target, std::int32_t StartPos, std::int32_t Length);
// The same with one block move; false, with nothing changed, when the
// layouts or the range are not ones for which that is the same copy.
bool CopyFramesDirect(TZuWave &Source, TZuWave &Target, std::int32_t StartPos, std::int32_t Length);
