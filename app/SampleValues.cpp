#include "app/SampleValues.h"

#include "engine/SampleLevels.h"

#include <algorithm>
#include <cmath>

double Scaled16(const TSampleView &Recording, TSampleEncoding Encoding, std::int64_t Frame, int Channel)
{
    double Scaled = 0.0;
    WithCodec(Encoding, [&](auto Codec) {
        using TCodec = decltype(Codec);
        Scaled = TCodec::Level16(Recording.Data + (Frame * Recording.Format.nChannels + Channel) * TCodec::Bytes);
    });
    // Not a number has no place on the scale: it is drawn and played as 0.
    return std::isnan(Scaled) ? 0.0 : Scaled;
}

std::int32_t DrawnLevel(double Scaled)
{
    return static_cast<std::int32_t>(std::floor(std::clamp(Scaled, -32768.0, 32768.0)));
}

std::int16_t PlayedSample(double Scaled)
{
    return static_cast<std::int16_t>(std::clamp(std::nearbyint(Scaled), -32768.0, 32767.0));
}
