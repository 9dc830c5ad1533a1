#pragma once
// What the command tests share: recordings built from runs of levels, a
// main form whose every modal seam records, and readable trim areas.
#include "MonoView.h"
#include "WindowTestSupport.h"

#include <cstdint>
#include <initializer_list>
#include <ostream>
#include <vector>

// The level of the form's wave at Pos through the wave library's checked
// sample access, the loudest of a stereo pair: the per-sample reference of
// the 8/16-bit scan. A position outside the wave is an internal error: the
// window's title says so and the level is 0.
std::int32_t SampleLevel(TForm1 &Form, std::int32_t Pos);

// Detection as defined, one level per position through SampleLevel: what
// the engine's direct scan must agree with.
void ScanTrimAreasPerSample(TForm1 &Form);

namespace apptest {

using ::Levels16;
using ::TLevelRun;
std::int32_t FrameCount(std::initializer_list<TLevelRun> Runs);

// The bytes of a WAV file's data chunk and its format, read back.
struct TWavContent {
    std::uint16_t Channels = 0;
    std::uint32_t Rate = 0;
    std::uint16_t Bits = 0;
    wavtest::Bytes Data;
};
TWavContent ReadWav(const QString &Path);

class CommandTest : public FormTest {
protected:
    void SetUp() override;

    // Writes the recording to the private directory and loads it.
    void Load(const wavtest::Bytes &File);
    void LoadLevels(std::initializer_list<TLevelRun> Runs);
    // Entries 0..FAreaCount-1.
    std::vector<TTrimArea> Areas() const;
    // The sample bytes of ZU, as held.
    wavtest::Bytes Held(const TZuWave &Wave) const;

    QString ProgramDir;             // what ProgramDirectory answers
    bool Answer = false;            // what AskYesNo answers
    QStringList Questions;          // "caption|text" of each question
    QStringList OpenedFolders;
    int Loads = 0;
};

} // namespace apptest
