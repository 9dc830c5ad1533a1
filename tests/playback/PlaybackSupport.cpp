#include "PlaybackSupport.h"

#include <QAudioDevice>
#include <QEventLoop>
#include <QMediaDevices>
#include <QTimer>

#include <gtest/gtest.h>

#include <cmath>

namespace playtest {

std::int16_t ClipSample(std::int32_t Channel, std::int32_t Pos)
{
    // A hash of the position, kept clear of full scale so that 8-bit copies
    // and mixing stay exact.
    std::uint32_t X = static_cast<std::uint32_t>(Pos) * 2654435761u + static_cast<std::uint32_t>(Channel) * 40503u;
    X ^= X >> 15;
    X *= 2246822519u;
    X ^= X >> 13;
    return static_cast<std::int16_t>(static_cast<std::int32_t>(X % 40001u) - 20000);
}

std::unique_ptr<TZuWave> MakeClip(std::int32_t Rate, std::int32_t Bits, std::int32_t Channels, double Seconds)
{
    auto Wave = std::make_unique<TZuWave>(nullptr);
    Wave->SetFreq(Rate);
    Wave->SetBits(Bits);
    Wave->SetChannels(Channels);
    const auto Frames = static_cast<std::int32_t>(std::lround(Rate * Seconds));
    Wave->SetWaveSize(Frames);
    for (std::int32_t Pos = 0; Pos < Frames; ++Pos)
        for (std::int32_t Channel = 0; Channel < Channels; ++Channel)
            Wave->SetPosValue16(Channel, Pos, ClipSample(Channel, Pos));
    return Wave;
}

bool RunLoopUntil(const std::function<bool()> &Done, int TimeoutMs)
{
    if (Done())
        return true;
    QEventLoop Loop;
    QElapsedTimer Clock;
    Clock.start();
    QTimer Check;
    QObject::connect(&Check, &QTimer::timeout, &Loop, [&] {
        if (Done() || Clock.elapsed() >= TimeoutMs)
            Loop.quit();
    });
    Check.start(2);
    Loop.exec();
    return Done();
}

void RunLoopFor(int Ms)
{
    QElapsedTimer Clock;
    Clock.start();
    RunLoopUntil([&] { return Clock.elapsed() >= Ms; }, Ms + 1000);
}

TNotifyEvent TNotifyLog::Handler()
{
    return [this](QObject *Sender) {
        FSenders.push_back(Sender);
        FTimes.push_back(FClock.isValid() ? FClock.elapsed() : -1);
    };
}

bool TNotifyLog::WaitFor(int Calls, int TimeoutMs)
{
    return RunLoopUntil([&] { return Count() >= Calls; }, TimeoutMs);
}

void RequireSoundServer()
{
    ASSERT_FALSE(QMediaDevices::defaultAudioOutput().isNull())
        << "no sound server: run the playback tests through scripts/with-pulse";
}

} // namespace playtest
