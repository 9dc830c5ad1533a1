#pragma once
// Helpers of the playback tests. They play through the sound server that
// scripts/with-pulse starts (./test runs them that way); without one, every
// playback test fails at its first Play.
#include "platform/WaveOutDevice.h"
#include "wave/ZuWAVE.h"

#include <QElapsedTimer>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace playtest {

// A wave of Seconds of non-silent sound, samples from a fixed pseudo-random
// sequence (so that a recording can be matched against it).
std::unique_ptr<TZuWave> MakeClip(std::int32_t Rate, std::int32_t Bits, std::int32_t Channels, double Seconds);

// The 16-bit sample that MakeClip puts at frame Pos of channel Channel.
std::int16_t ClipSample(std::int32_t Channel, std::int32_t Pos);

// Runs the event loop until Done() holds or TimeoutMs pass; returns Done().
bool RunLoopUntil(const std::function<bool()> &Done, int TimeoutMs = 5000);
void RunLoopFor(int Ms);

// Records every OnNotify call: who sent it, and when (ms since Start()).
class TNotifyLog {
public:
    TNotifyEvent Handler();
    void Start() { FClock.start(); }
    int Count() const { return static_cast<int>(FSenders.size()); }
    QObject *Sender(int Index) const { return FSenders.at(static_cast<std::size_t>(Index)); }
    std::int64_t AtMs(int Index) const { return FTimes.at(static_cast<std::size_t>(Index)); }
    bool WaitFor(int Calls, int TimeoutMs = 5000);

private:
    QElapsedTimer FClock;
    std::vector<QObject *> FSenders;
    std::vector<std::int64_t> FTimes;
};

// Fails the test at once when the sound server is missing, with a hint.
void RequireSoundServer();

} // namespace playtest
