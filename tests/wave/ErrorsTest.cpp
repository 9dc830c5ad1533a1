#include "wave/ZuWAVE.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <vector>

namespace {

template <typename E>
std::function<void()> Thrower()
{
    return [] { throw E("m"); };
}

const std::vector<std::function<void()>> &AllTen()
{
    static const std::vector<std::function<void()>> Throwers = {
        Thrower<EZuWaveInvalidWave>(), Thrower<EZuWaveInvalidWaveFile>(), Thrower<EZuWaveInvalidWavePara>(),
        Thrower<EZuWaveBadWaveType>(), Thrower<EZuWavePositionRange>(),  Thrower<EZuWaveInOutError>(),
        Thrower<EZuWaveAssert>(),      Thrower<EZuWaveDeviceShared>(),   Thrower<EZuWaveDeviceOpen>(),
        Thrower<EZuWaveMemAlloc>()};
    return Throwers;
}

template <typename E>
int CountCaughtAs()
{
    int Caught = 0;
    for (const auto &Throw : AllTen()) {
        try {
            Throw();
        } catch (const std::exception &Error) {
            Caught += dynamic_cast<const E *>(&Error) != nullptr;
        }
    }
    return Caught;
}

} // namespace

TEST(WaveErrors, BaseCatchesAllTenAndEachClassOnlyItself)
{
    EXPECT_EQ(CountCaughtAs<Exception>(), 10);
    EXPECT_EQ(CountCaughtAs<EZuWaveInvalidWave>(), 1);
    EXPECT_EQ(CountCaughtAs<EZuWaveInvalidWaveFile>(), 1);
    EXPECT_EQ(CountCaughtAs<EZuWaveInvalidWavePara>(), 1);
    EXPECT_EQ(CountCaughtAs<EZuWaveBadWaveType>(), 1);
    EXPECT_EQ(CountCaughtAs<EZuWavePositionRange>(), 1);
    EXPECT_EQ(CountCaughtAs<EZuWaveInOutError>(), 1);
    EXPECT_EQ(CountCaughtAs<EZuWaveAssert>(), 1);
    EXPECT_EQ(CountCaughtAs<EZuWaveDeviceShared>(), 1);
    EXPECT_EQ(CountCaughtAs<EZuWaveDeviceOpen>(), 1);
    EXPECT_EQ(CountCaughtAs<EZuWaveMemAlloc>(), 1);
}

TEST(WaveErrors, WaveAssertRaisesOnlyOnFalseWithTheGivenMessage)
{
    EXPECT_NO_THROW(WaveAssert(true, std::string("x")));
    EXPECT_NO_THROW(WaveAssert(true, "x"));
    try {
        WaveAssert(false, std::string("TZuWave.SetFreq: InternalWave should not be Nil"));
        FAIL() << "no exception";
    } catch (const EZuWaveAssert &E) {
        EXPECT_STREQ(E.what(), "TZuWave.SetFreq: InternalWave should not be Nil");
    }
    EXPECT_THROW(WaveAssert(false, "m"), EZuWaveAssert);
}

TEST(WaveErrors, FourCCIsLowByteFirstInWrittenOrder)
{
    EXPECT_EQ(MakeFourCC('W', 'A', 'V', 'E'), 0x45564157u);
    EXPECT_EQ(MakeFourCC('f', 'm', 't', ' '), 0x20746D66u);
    EXPECT_EQ(MakeFourCC('d', 'a', 't', 'a'), 0x61746164u);
    const std::uint32_t Code = MakeFourCC('W', 'A', 'V', 'E');
    char Bytes[4];
    std::memcpy(Bytes, &Code, 4);
    EXPECT_EQ(std::string(Bytes, 4), "WAVE");
    // Only the low 8 bits of each character count.
    EXPECT_EQ(MakeFourCC(char(0xFF), 0, 0, char(0x80)), 0x800000FFu);
}
