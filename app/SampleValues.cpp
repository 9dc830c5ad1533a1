#include "app/SampleValues.h"

#include "engine/SampleLevels.h"
#include "wave/ZuWAVE.h"

#include <algorithm>
#include <cmath>
#include <cstring>

double Scaled16(const TSampleView &Recording, TSampleEncoding Encoding, std::int64_t Frame, int Channel)
{
    const int Bytes = BytesPerSample(Encoding);
    const std::uint8_t *At = Recording.Data + (Frame * Recording.Format.nChannels + Channel) * Bytes;
    switch (Encoding) {
    case TSampleEncoding::UInt8: return (int(*At) - 128) * 256.0;
    case TSampleEncoding::Int16: return LoadSample16(At, 0);
    case TSampleEncoding::Int24: return LoadSample24(At) / 256.0;
    case TSampleEncoding::Int32: return LoadSample32(At) / 65536.0;
    case TSampleEncoding::Float32: {
        float Value;
        std::memcpy(&Value, At, sizeof Value);
        return std::isnan(Value) ? 0.0 : Value * 32768.0;
    }
    case TSampleEncoding::Float64: {
        double Value;
        std::memcpy(&Value, At, sizeof Value);
        return std::isnan(Value) ? 0.0 : Value * 32768.0;
    }
    case TSampleEncoding::None: break;
    }
    return 0.0;
}

std::int32_t DrawnLevel(double Scaled)
{
    return static_cast<std::int32_t>(std::floor(std::clamp(Scaled, -32768.0, 32768.0)));
}

std::int16_t PlayedSample(double Scaled)
{
    return static_cast<std::int16_t>(std::clamp(std::nearbyint(Scaled), -32768.0, 32767.0));
}
