// Many short playbacks in a row, ended by themselves or stopped around their
// end: the sound server's last word about a stream (its underflow, a drain)
// arrives on the sound system's own thread about when the playback ends, and
// must never reach a sink that the device has already stopped and let go.
#include "PlaybackSupport.h"

#include <gtest/gtest.h>

#include <QCoreApplication>

using namespace playtest;

// Stopped at a sweep of moments from shortly before to shortly after the
// clip's end, the closed sink is destroyed at the next pass of the loop.
TEST(RapidPlayback, StopAtEveryMomentAroundTheEnd)
{
    RequireSoundServer();
    auto Wave = MakeClip(44100, 16, 2, 0.03);
    TNotifyLog Log;
    Wave->SetOnNotify(Log.Handler());
    int Plays = 0;
    for (int AfterMs = 36; AfterMs <= 84; ++AfterMs) {
        Wave->Play();
        ++Plays;
        RunLoopFor(AfterMs);
        Wave->Stop();
        QCoreApplication::processEvents();
        EXPECT_EQ(Wave->InternalWave()->FState, 0);
    }
    ASSERT_TRUE(Log.WaitFor(Plays));
    RunLoopFor(50);
    EXPECT_EQ(Log.Count(), Plays);
}
