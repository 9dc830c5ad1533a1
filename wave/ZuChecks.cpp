#include "wave/ZuChecks.h"

#include "wave/ZuErrors.h"

namespace ZuChecks {

void Frequency(std::int64_t Freq)
{
    if (Freq <= 0)
        throw EZuWaveInvalidWavePara("TZuWave.Setfreq: Invalid Frequency");
}

void Channels(std::int64_t Channels)
{
    if (Channels != 1 && Channels != 2)
        throw EZuWaveInvalidWavePara("TZuInternalWAVE.ChangeChannels: Invalid Parameters");
}

void Bits(std::int64_t Bits)
{
    if (Bits != 8 && Bits != 16)
        throw EZuWaveInvalidWavePara("TZuInternalWAVE.ChangeBits: Invalid Parameters");
}

void WaveSize(std::int64_t Frames)
{
    if (Frames <= 0)
        InvalidWaveSize();
}

void InvalidWaveSize()
{
    throw EZuWaveInvalidWavePara("TZuWave.SetWaveSize: Invalid Size");
}

void BadReadType()
{
    throw EZuWaveBadWaveType("TZuWave.GetPosValue: Bad Wave Type");
}

void ReadOutOfRange()
{
    throw EZuWavePositionRange("TZuWave.GetPosValue: Position is Out of Range");
}

void UnsupportedRead()
{
    throw EZuWaveInvalidWave("TZuWave.GetPosValue: Unsupported PCM Format");
}

} // namespace ZuChecks
