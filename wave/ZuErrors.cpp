#include "wave/ZuErrors.h"

void WaveAssert(bool Condition, const std::string &Message)
{
    if (!Condition)
        throw EZuWaveAssert(Message);
}

void WaveAssertFailed(const char *Message)
{
    throw EZuWaveAssert(Message);
}
