#pragma once
// The wave library's errors. Each class names the kind of failure; its
// message names the operation, exactly as users and callers see it.
#include "platform/Exception.h"

#include <cstdint>
#include <cstring>
#include <string>

#define ZU_DECLARE_ERROR(Name)              \
    class Name : public Exception {         \
    public:                                 \
        using Exception::Exception;         \
    }

ZU_DECLARE_ERROR(EZuWaveInvalidWave);
ZU_DECLARE_ERROR(EZuWaveInvalidWaveFile);
ZU_DECLARE_ERROR(EZuWaveInvalidWavePara);
ZU_DECLARE_ERROR(EZuWaveBadWaveType);
ZU_DECLARE_ERROR(EZuWavePositionRange);
ZU_DECLARE_ERROR(EZuWaveInOutError);
ZU_DECLARE_ERROR(EZuWaveAssert);
ZU_DECLARE_ERROR(EZuWaveDeviceShared);
ZU_DECLARE_ERROR(EZuWaveDeviceOpen);
ZU_DECLARE_ERROR(EZuWaveMemAlloc);

#undef ZU_DECLARE_ERROR

// Always active, also in release builds.
void WaveAssert(bool Condition, const std::string &Message);

// For the per-sample paths: builds no string unless the check fails.
[[noreturn]] void WaveAssertFailed(const char *Message);
inline void WaveAssert(bool Condition, const char *Message)
{
    if (!Condition) [[unlikely]]
        WaveAssertFailed(Message);
}

constexpr std::uint32_t MakeFourCC(char C0, char C1, char C2, char C3)
{
    return std::uint32_t(std::uint8_t(C0)) | std::uint32_t(std::uint8_t(C1)) << 8
        | std::uint32_t(std::uint8_t(C2)) << 16 | std::uint32_t(std::uint8_t(C3)) << 24;
}

// Data-block addressing is always a byte offset from the block's start;
// memcpy keeps unaligned or type-punned access defined and compiles to one move.
inline std::int16_t LoadSample16(const std::uint8_t *Block, std::int64_t ByteOffset)
{
    std::int16_t Value;
    std::memcpy(&Value, Block + ByteOffset, sizeof Value);
    return Value;
}

inline void StoreSample16(std::uint8_t *Block, std::int64_t ByteOffset, std::int16_t Value)
{
    std::memcpy(Block + ByteOffset, &Value, sizeof Value);
}
