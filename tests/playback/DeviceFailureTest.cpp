// Formats the device cannot play, and playing with no sound server at all.
#include "PlaybackSupport.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdlib>
#include <functional>
#include <string>

using namespace playtest;

namespace {

const std::string OpenPrefix = "TZuInternalWave.Play:";

// Play must fail as an open failure with a text, twice in a row (not as
// busy the second time), leaving the wave idle with nothing allocated.
void ExpectOpenFailsTwice(TZuWave &Wave, const std::string &Expected)
{
    for (int Attempt = 0; Attempt < 2; ++Attempt) {
        try {
            Wave.Play();
            ADD_FAILURE() << "Play succeeded (attempt " << Attempt + 1 << ")";
        } catch (const EZuWaveDeviceOpen &Error) {
            const std::string Message = Error.what();
            EXPECT_EQ(Message.rfind(OpenPrefix, 0), 0u) << Message;
            EXPECT_GT(Message.size(), OpenPrefix.size() + 10) << Message;
            EXPECT_NE(Message.find(Expected), std::string::npos) << Message;
        }
        EXPECT_EQ(Wave.InternalWave()->FState, 0);
        EXPECT_EQ(Wave.InternalWave()->FWaveOut, nullptr);
        EXPECT_EQ(Wave.InternalWave()->FHeader, nullptr);
    }
}

struct TUnplayable {
    const char *Name;
    std::function<void(TZuInternalWAVE &)> Spoil;
    const char *Expected; // part of the device's text
};

class Unplayable : public ::testing::TestWithParam<TUnplayable> {};

} // namespace

TEST_P(Unplayable, FormatFailsToOpenWithATextThatSaysWhy)
{
    RequireSoundServer();
    auto Wave = MakeClip(8000, 16, 1, 0.1);
    TNotifyLog Log;
    Wave->SetOnNotify(Log.Handler());
    GetParam().Spoil(*Wave->InternalWave());
    ExpectOpenFailsTwice(*Wave, GetParam().Expected);
    RunLoopFor(50);
    EXPECT_EQ(Log.Count(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Playback, Unplayable,
    ::testing::Values(
        TUnplayable{"Rate50", [](TZuInternalWAVE &W) { W.FFormat.nSamplesPerSec = 50; }, "50 Hz"},
        TUnplayable{"Rate99", [](TZuInternalWAVE &W) { W.FFormat.nSamplesPerSec = 99; }, "99 Hz"},
        TUnplayable{"RateBeyondTheServer", [](TZuInternalWAVE &W) { W.FFormat.nSamplesPerSec = 5'000'000; },
                    "5000000 Hz"},
        TUnplayable{"FloatTag", [](TZuInternalWAVE &W) { W.FFormat.wFormatTag = 3; }, "format tag 3"},
        TUnplayable{"Bits24",
                    [](TZuInternalWAVE &W) {
                        W.FFormat.wBitsPerSample = 24;
                        W.FFormat.nBlockAlign = 3;
                    },
                    "24-bit"},
        TUnplayable{"ThreeChannels", [](TZuInternalWAVE &W) { W.FFormat.nChannels = 3; }, "3."}),
    [](const auto &Info) { return std::string(Info.param.Name); });

TEST(Playback, LowestPlayableRatePlaysToItsEnd)
{
    RequireSoundServer();
    auto Wave = MakeClip(100, 16, 1, 0.2);
    TNotifyLog Log;
    Wave->SetOnNotify(Log.Handler());
    Log.Start();
    Wave->Play();
    ASSERT_TRUE(Log.WaitFor(1));
    EXPECT_GE(Log.AtMs(0), 200);
    EXPECT_EQ(Wave->InternalWave()->FState, 0);
}

// Qt connects to the sound server once per process, at the first use of an
// audio device, and keeps that connection: a process that has played cannot
// be made to lose its server. This test runs in a child process of this
// program that knows no server from its start.
namespace {

const char ChildVariable[] = "REDIVEV_PLAYBACK_WITHOUT_SERVER";

class WithoutServerInChild : public ::testing::Test {
public:
    void TestBody() override
    {
        TZuWave Wave(nullptr);
        Wave.SetWaveSize(4410);
        TNotifyLog Log;
        Wave.SetOnNotify(Log.Handler());
        ExpectOpenFailsTwice(Wave, "sound server");
        RunLoopFor(50);
        EXPECT_EQ(Log.Count(), 0);
    }
};

const bool ChildTestRegistered = [] {
    if (std::getenv(ChildVariable) != nullptr)
        ::testing::RegisterTest("WithoutServer", "PlayFailsToOpenTwice", nullptr, nullptr, __FILE__, __LINE__,
                                []() -> ::testing::Test * { return new WithoutServerInChild; });
    return true;
}();

} // namespace

TEST(Playback, WithoutASoundServerPlayFailsToOpenTwiceInARow)
{
    ASSERT_EQ(std::getenv(ChildVariable), nullptr) << "the child must not start children";
    QTemporaryDir Dir;
    QProcess Child;
    QProcessEnvironment Environment = QProcessEnvironment::systemEnvironment();
    Environment.insert(ChildVariable, "1");
    Environment.insert("PULSE_SERVER", "unix:" + Dir.filePath("no-such-socket"));
    Child.setProcessEnvironment(Environment);
    Child.setProcessChannelMode(QProcess::MergedChannels);
    Child.start(QCoreApplication::applicationFilePath(), {"--gtest_filter=WithoutServer.*"});
    ASSERT_TRUE(Child.waitForFinished(60'000));
    const QString Output = QString::fromLocal8Bit(Child.readAll());
    EXPECT_EQ(Child.exitStatus(), QProcess::NormalExit) << Output.toStdString();
    EXPECT_EQ(Child.exitCode(), 0) << Output.toStdString();
    EXPECT_TRUE(Output.contains("[  PASSED  ] 1 test")) << Output.toStdString();
}
