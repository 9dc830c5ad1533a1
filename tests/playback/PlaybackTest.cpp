// Play, Stop and the completion notice, against a real sound server.
#include "PlaybackSupport.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QtGlobal>

#include <string>
#include <tuple>

using namespace playtest;

namespace {

const char BusyMessage[] = "TZuInternalWave.play:Device is recording or playing waveform now.";

void ExpectIdleAndReleased(const TZuInternalWAVE &Wave)
{
    EXPECT_EQ(Wave.FState, 0);
    EXPECT_EQ(Wave.FWaveOut, nullptr);
    EXPECT_EQ(Wave.FHeader, nullptr);
}

void ExpectPlaying(const TZuInternalWAVE &Wave)
{
    EXPECT_EQ(Wave.FState, 1);
    EXPECT_NE(Wave.FWaveOut, nullptr);
    EXPECT_NE(Wave.FHeader, nullptr);
}

class Layouts : public ::testing::TestWithParam<std::tuple<int, int>> {};

} // namespace

TEST_P(Layouts, ClipPlaysToItsEndAndNotifiesOnceWithTheInternalWave)
{
    RequireSoundServer();
    const auto [Bits, Channels] = GetParam();
    const double Seconds = 0.2;
    auto Wave = MakeClip(22050, Bits, Channels, Seconds);
    TNotifyLog Log;
    Wave->SetOnNotify(Log.Handler());

    Log.Start();
    Wave->Play();
    ExpectPlaying(*Wave->InternalWave());
    EXPECT_EQ(Wave->InternalWave()->FHeader->lpData, Wave->InternalWave()->FData); // played in place
    ASSERT_TRUE(Log.WaitFor(1));
    EXPECT_GE(Log.AtMs(0), Seconds * 1000);
    EXPECT_EQ(Log.Sender(0), Wave->InternalWave());
    ExpectIdleAndReleased(*Wave->InternalWave());

    RunLoopFor(100);
    EXPECT_EQ(Log.Count(), 1);
}

INSTANTIATE_TEST_SUITE_P(Playback, Layouts,
                         ::testing::Combine(::testing::Values(8, 16), ::testing::Values(1, 2)),
                         [](const auto &Info) {
                             return std::to_string(std::get<0>(Info.param)) + "Bit"
                                 + (std::get<1>(Info.param) == 1 ? "Mono" : "Stereo");
                         });

TEST(Playback, PlayWhilePlayingIsBusyAndThePlaybackGoesOn)
{
    RequireSoundServer();
    auto Wave = MakeClip(44100, 16, 1, 0.3);
    TNotifyLog Log;
    Wave->SetOnNotify(Log.Handler());
    Log.Start();
    Wave->Play();
    TWaveOutDevice *Device = Wave->InternalWave()->FWaveOut;
    TWaveHdr *Header = Wave->InternalWave()->FHeader;
    RunLoopFor(50);

    try {
        Wave->Play();
        FAIL() << "a second Play was accepted";
    } catch (const EZuWaveDeviceShared &Error) {
        EXPECT_STREQ(Error.what(), BusyMessage);
    }
    ExpectPlaying(*Wave->InternalWave());
    EXPECT_EQ(Wave->InternalWave()->FWaveOut, Device);
    EXPECT_EQ(Wave->InternalWave()->FHeader, Header);

    ASSERT_TRUE(Log.WaitFor(1));
    EXPECT_GE(Log.AtMs(0), 300);
    ExpectIdleAndReleased(*Wave->InternalWave());
}

TEST(Playback, StopWhenIdleDoesNothing)
{
    RequireSoundServer();
    auto Wave = MakeClip(44100, 16, 1, 0.2);
    TNotifyLog Log;
    Wave->SetOnNotify(Log.Handler());
    Wave->Stop();
    ExpectIdleAndReleased(*Wave->InternalWave());
    RunLoopFor(50);
    EXPECT_EQ(Log.Count(), 0);

    // Nor after a playback that has ended.
    Wave->Play();
    ASSERT_TRUE(Log.WaitFor(1));
    Wave->Stop();
    RunLoopFor(50);
    EXPECT_EQ(Log.Count(), 1);
    ExpectIdleAndReleased(*Wave->InternalWave());
}

TEST(Playback, StopEndsAtOnceAndTheNoticeFollowsThroughTheEventLoop)
{
    RequireSoundServer();
    auto Wave = MakeClip(44100, 16, 2, 0.5);
    TNotifyLog Log;
    Wave->SetOnNotify(Log.Handler());
    Wave->Play();
    RunLoopFor(100);

    Wave->Stop();
    ExpectIdleAndReleased(*Wave->InternalWave());
    EXPECT_EQ(Log.Count(), 0);
    // Posted by the reset itself: the next pass of the loop delivers it.
    QCoreApplication::processEvents();
    EXPECT_EQ(Log.Count(), 1);
    EXPECT_EQ(Log.Sender(0), Wave->InternalWave());
    ExpectIdleAndReleased(*Wave->InternalWave());
    RunLoopFor(100);
    EXPECT_EQ(Log.Count(), 1);
}

TEST(Playback, NoticeIsNeverHandledInsideStopOrPlay)
{
    RequireSoundServer();
    auto Wave = MakeClip(44100, 16, 1, 0.3);
    TNotifyLog Log;
    Wave->SetOnNotify(Log.Handler());
    Wave->Play();
    Wave->Stop(); // its notice is now queued
    Wave->Play();
    Wave->Stop();
    Wave->Play();
    Wave->Stop();
    EXPECT_EQ(Log.Count(), 0);
    ASSERT_TRUE(Log.WaitFor(3));
    RunLoopFor(50);
    EXPECT_EQ(Log.Count(), 3);
}

// A notice of a stopped playback that arrives while the next playback of
// the same wave runs is reported, but does not end that playback.
TEST(Playback, LateNoticeOfAStoppedPlaybackDoesNotEndTheNextOne)
{
    RequireSoundServer();
    const double Seconds = 0.4;
    auto Wave = MakeClip(44100, 16, 1, Seconds);
    TNotifyLog Log;
    Wave->SetOnNotify(Log.Handler());
    Wave->Play();
    RunLoopFor(50);
    Wave->Stop();
    Log.Start();
    Wave->Play();

    ASSERT_TRUE(Log.WaitFor(1));
    EXPECT_EQ(Log.Sender(0), Wave->InternalWave());
    ExpectPlaying(*Wave->InternalWave());

    ASSERT_TRUE(Log.WaitFor(2));
    EXPECT_GE(Log.AtMs(1), Seconds * 1000);
    ExpectIdleAndReleased(*Wave->InternalWave());
}

TEST(Playback, DestroyingAPlayingWaveStopsItAndNoNoticeFollows)
{
    RequireSoundServer();
    TNotifyLog Log;
    {
        auto Wave = MakeClip(44100, 16, 2, 0.4);
        Wave->SetOnNotify(Log.Handler());
        Wave->Play();
        RunLoopFor(100);
    }
    {
        // Destroyed before the loop ran at all.
        auto Wave = MakeClip(44100, 8, 1, 0.4);
        Wave->SetOnNotify(Log.Handler());
        Wave->Play();
    }
    RunLoopFor(600);
    EXPECT_EQ(Log.Count(), 0);
}

// The device reads the block in place: whatever replaces it stops the
// playback first, and the handler goes over to a new buffer.
TEST(Playback, ReplacingThePlayingBlockStopsThePlaybackFirst)
{
    RequireSoundServer();
    auto Wave = MakeClip(44100, 16, 1, 0.4);
    TNotifyLog Log;
    Wave->SetOnNotify(Log.Handler());

    Wave->Play();
    RunLoopFor(50);
    Wave->SetBits(8);
    ExpectIdleAndReleased(*Wave->InternalWave());
    ASSERT_TRUE(Log.WaitFor(1));

    Wave->Play();
    RunLoopFor(50);
    Wave->SetChannels(2);
    ExpectIdleAndReleased(*Wave->InternalWave());
    ASSERT_TRUE(Log.WaitFor(2));

    Wave->Play();
    RunLoopFor(50);
    TZuInternalWAVE *Old = Wave->InternalWave();
    Wave->SetWaveSize(Wave->GetWaveSize() / 2);
    ASSERT_NE(Wave->InternalWave(), Old);
    ExpectIdleAndReleased(*Wave->InternalWave());
    RunLoopFor(300);
    EXPECT_EQ(Log.Count(), 2); // the old buffer's notice went with it

    Wave->Play();
    ASSERT_TRUE(Log.WaitFor(3));
    EXPECT_EQ(Log.Sender(2), Wave->InternalWave());
}

TEST(Playback, HandlerThatRaisesDoesNotBreakTheEventLoop)
{
    RequireSoundServer();
    static QString Reported;
    Reported.clear();
    const QtMessageHandler Previous = qInstallMessageHandler(
        [](QtMsgType, const QMessageLogContext &, const QString &Message) { Reported += Message; });

    auto Wave = MakeClip(44100, 16, 1, 0.2);
    int Calls = 0;
    Wave->SetOnNotify([&](QObject *) {
        ++Calls;
        throw EZuWaveInvalidWave("raised by the OnNotify handler");
    });
    Wave->Play();
    const bool Handled = RunLoopUntil([&] { return Calls == 1; });
    Wave->Play();
    const bool HandledAgain = RunLoopUntil([&] { return Calls == 2; });
    qInstallMessageHandler(Previous);

    EXPECT_TRUE(Handled);
    EXPECT_TRUE(HandledAgain);
    ExpectIdleAndReleased(*Wave->InternalWave());
    // The test program's plain QApplication has no error display of its own:
    // the message still reaches the log.
    EXPECT_TRUE(Reported.contains("raised by the OnNotify handler")) << Reported.toStdString();
}

TEST(Playback, PartialLastFrameAndEmptyBlockStillEndWithANotice)
{
    RequireSoundServer();
    auto Wave = MakeClip(44100, 16, 2, 0.2);
    TNotifyLog Log;
    Wave->SetOnNotify(Log.Handler());
    Wave->InternalWave()->FDataSize -= 3;
    Wave->Play();
    ASSERT_TRUE(Log.WaitFor(1));
    ExpectIdleAndReleased(*Wave->InternalWave());

    Wave->InternalWave()->FDataSize = 0;
    Wave->Play();
    ASSERT_TRUE(Log.WaitFor(2, 1000));
    ExpectIdleAndReleased(*Wave->InternalWave());
}
