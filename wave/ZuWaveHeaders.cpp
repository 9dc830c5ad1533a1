#include "wave/ZuWaveHeaders.h"

namespace {

constexpr std::uint16_t WAVE_FORMAT_EXTENSIBLE = 0xFFFE;

// KSDATAFORMAT_SUBTYPE_PCM
constexpr std::uint8_t PcmSubFormat[16] = {0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x10, 0x00,
                                           0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};

} // namespace

void FoldExtensiblePcm(TWaveFormatEx &Format, const std::uint8_t *Body, std::uint32_t BodySize)
{
    if (Format.wFormatTag != WAVE_FORMAT_EXTENSIBLE || BodySize < ExtensibleFmtBytes)
        return;
    const std::uint16_t ValidBits = std::uint16_t(Body[18] | Body[19] << 8);
    const bool PlainPcm = std::memcmp(Body + 24, PcmSubFormat, 16) == 0
        && (Format.wBitsPerSample == 8 || Format.wBitsPerSample == 16) && ValidBits == Format.wBitsPerSample;
    if (PlainPcm) {
        Format.wFormatTag = WAVE_FORMAT_PCM;
        Format.cbSize = 0;
    }
}
