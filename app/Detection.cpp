// Automatic trim-area detection: one scan of every position of ZU.
#include "Detection.h"

#include "PaintBox.h"
#include "SampleBlocks.h"
#include "TrimScan.h"
#include "Unit1.h"
#include "WaitCursor.h"

#include <QScrollBar>

#include <algorithm>
#include <cstdlib>

namespace {

TTrimSettings ReadTrimSettings(const TForm1 &Form)
{
    return TTrimSettings{Form.SBN->value(),   Form.SBNW->value(),   Form.SBML->value(),
                         Form.SBCSL->value(), Form.SBMZSS->value(), Form.SBMZSE->value()};
}

// Levels at 16-bit scale straight from the data block, for the layouts the
// sample access reads; each mirrors SampleLevel for positions 0..N-1.
std::int32_t Magnitude8(std::uint8_t Stored)
{
    return std::abs((std::int32_t(Stored) - 128) * 256);
}

std::int32_t Magnitude16(const std::uint8_t *Data, std::int64_t ByteOffset)
{
    return std::abs(std::int32_t(LoadSample16(Data, ByteOffset)));
}

} // namespace

std::int32_t TForm1::SampleLevel(std::int32_t Pos)
{
    if (Pos < 0 || Pos >= ZU->GetWaveSize()) {
        setWindowTitle(QStringLiteral("内部エラー"));
        return 0;
    }
    const std::int32_t Level = std::abs(ZU->GetPosValue16(0, Pos));
    if (ZU->GetChannels() != 2)
        return Level;
    // Sound on either channel counts.
    return std::max(Level, std::abs(ZU->GetPosValue16(1, Pos)));
}

void ScanTrimAreasPerSample(TForm1 &Form)
{
    const TTrimSettings Settings = ReadTrimSettings(Form);
    ScanTrimAreas([&Form](std::int32_t Pos) { return Form.SampleLevel(Pos); }, Form.ZU->GetWaveSize(), Settings,
                  Form.FAreas, Form.FAreaCount);
}

bool ScanTrimAreasDirect(TForm1 &Form)
{
    const TZuInternalWAVE *Wave = Form.ZU->InternalWave();
    if (Wave == nullptr || Wave->FFormat.wFormatTag != WAVE_FORMAT_PCM)
        return false;
    const std::int32_t N = Form.ZU->GetWaveSize();
    const TTrimSettings Settings = ReadTrimSettings(Form);
    const std::uint8_t *Data = Wave->FData;
    auto Scan = [&](auto LevelOf, auto LoudestOf) {
        ScanTrimAreasSkipping(LevelOf, LoudestOf, N, Settings, Form.FAreas, Form.FAreaCount);
    };
    using ZuDetail::LayoutKey;
    switch (LayoutKey(Wave->FFormat.wBitsPerSample, Wave->FFormat.nChannels)) {
    case LayoutKey(8, 1):
        Scan([Data](std::int32_t J) { return Magnitude8(Data[J]); },
             [Data](std::int64_t First) { return Loudest8(Data + First, TrimScanBlock); });
        return true;
    case LayoutKey(8, 2):
        Scan(
            [Data](std::int32_t J) {
                const std::int64_t At = 2 * std::int64_t(J);
                return std::max(Magnitude8(Data[At]), Magnitude8(Data[At + 1]));
            },
            [Data](std::int64_t First) { return Loudest8(Data + 2 * First, 2 * TrimScanBlock); });
        return true;
    case LayoutKey(16, 1):
        Scan([Data](std::int32_t J) { return Magnitude16(Data, 2 * std::int64_t(J)); },
             [Data](std::int64_t First) { return Loudest16(Data + 2 * First, TrimScanBlock); });
        return true;
    case LayoutKey(16, 2):
        Scan(
            [Data](std::int32_t J) {
                const std::int64_t At = 4 * std::int64_t(J);
                return std::max(Magnitude16(Data, At), Magnitude16(Data, At + 2));
            },
            [Data](std::int64_t First) { return Loudest16(Data + 4 * First, 2 * TrimScanBlock); });
        return true;
    default:
        return false;
    }
}

void TForm1::N5Click()
{
    {
        TWaitCursor Wait;
        FAreaCount = 0;
        if (!ScanTrimAreasDirect(*this))
            ScanTrimAreasPerSample(*this);
        PB->repaint();
    }
    ShowMessage(QString::number(FAreaCount) + QStringLiteral("個に分割されました"));
}
