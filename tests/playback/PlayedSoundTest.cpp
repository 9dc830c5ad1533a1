// What reaches the sound server: the null sink's monitor is recorded with
// parec while a clip plays, and the clip's samples are looked for in it.
#include "PlaybackSupport.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <QProcess>

#include <cstdint>
#include <cstring>
#include <vector>

using namespace playtest;

namespace {

// The test server's sink runs at 44100 Hz, stereo, 16-bit: a clip in that
// rate passes through unresampled, so every sample arrives exactly.
constexpr int Rate = 44100;

class TMonitorRecorder {
public:
    TMonitorRecorder()
    {
        QObject::connect(&FProcess, &QProcess::readyReadStandardOutput, [this] {
            FBytes += FProcess.readAllStandardOutput();
        });
        FProcess.start("parec", {"-d", "nullsink.monitor", "--raw", "--format=s16le", "--channels=2",
                                 "--rate=" + QString::number(Rate), "--latency-msec=10"});
    }
    ~TMonitorRecorder()
    {
        FProcess.kill();
        FProcess.waitForFinished(5000);
    }
    bool WaitUntilRecording()
    {
        return FProcess.waitForStarted(5000) && RunLoopUntil([this] { return FBytes.size() > 0; });
    }
    // Left channel of everything recorded so far.
    std::vector<std::int16_t> Left()
    {
        FBytes += FProcess.readAllStandardOutput();
        std::vector<std::int16_t> Samples(static_cast<std::size_t>(FBytes.size() / 4));
        for (std::size_t I = 0; I < Samples.size(); ++I)
            std::memcpy(&Samples[I], FBytes.constData() + I * 4, 2);
        return Samples;
    }

private:
    QProcess FProcess;
    QByteArray FBytes;
};

std::ptrdiff_t Find(const std::vector<std::int16_t> &Haystack, const std::vector<std::int16_t> &Needle)
{
    for (std::size_t At = 0; At + Needle.size() <= Haystack.size(); ++At)
        if (std::equal(Needle.begin(), Needle.end(), Haystack.begin() + static_cast<std::ptrdiff_t>(At)))
            return static_cast<std::ptrdiff_t>(At);
    return -1;
}

} // namespace

// The whole clip is heard, its last samples included: the notice that ends
// the playback (and closes the device) comes only after the tail was played.
TEST(PlayedSound, WholeClipReachesTheSinkSampleForSample)
{
    RequireSoundServer();
    auto Wave = MakeClip(Rate, 16, 1, 0.3);
    const std::int32_t Frames = Wave->GetWaveSize();
    std::vector<std::int16_t> Clip(static_cast<std::size_t>(Frames));
    for (std::int32_t Pos = 0; Pos < Frames; ++Pos)
        Clip[static_cast<std::size_t>(Pos)] = ClipSample(0, Pos);

    TMonitorRecorder Recorder;
    ASSERT_TRUE(Recorder.WaitUntilRecording()) << "parec did not start recording";
    TNotifyLog Log;
    Wave->SetOnNotify(Log.Handler());
    Wave->Play();
    ASSERT_TRUE(Log.WaitFor(1));
    RunLoopFor(150); // what the sink rendered last is still on its way to parec

    const std::vector<std::int16_t> Recorded = Recorder.Left();
    // A new stream is mixed in by re-rendering the last moment of the sink,
    // which a monitor that already delivered it cannot take back: the
    // recording may miss the first millisecond or so. From 10 ms on, every
    // frame must be there, up to the last.
    const std::size_t From = Rate / 100;
    const std::vector<std::int16_t> Needle(Clip.begin() + static_cast<std::ptrdiff_t>(From),
                                           Clip.begin() + static_cast<std::ptrdiff_t>(From) + 64);
    const std::ptrdiff_t At = Find(Recorded, Needle);
    ASSERT_GE(At, 0) << "the clip is not in the " << Recorded.size() << " recorded frames";
    ASSERT_GE(static_cast<std::size_t>(At), From) << "the recording began after the clip";
    const std::size_t Start = static_cast<std::size_t>(At) - From;
    ASSERT_GE(Recorded.size(), Start + Clip.size()) << "the recording ends inside the clip";
    std::size_t Mismatches = 0;
    std::size_t FirstMismatch = Clip.size();
    for (std::size_t I = From; I < Clip.size(); ++I)
        if (Recorded[Start + I] != Clip[I] && Mismatches++ == 0)
            FirstMismatch = I;
    EXPECT_EQ(Mismatches, 0u) << "first at frame " << FirstMismatch << " of " << Clip.size();
}
