#include "platform/audio/SystemAudioOutput.h"

#include "platform/WaveOutDevice.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QBuffer>
#include <QByteArray>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QMediaDevices>
#include <QPointer>
#include <QTimer>

#include <cstring>
#include <utility>
#include <vector>

namespace {

constexpr std::uint16_t PcmTag = 1;
// Qt 6.4's PulseAudio sink divides by zero below 50 Hz and keeps no usable
// time below 100 Hz.
constexpr std::uint32_t LowestRate = 100;
constexpr int PollIntervalMs = 10;
// Grace after the last byte has gone to the server before a buffer that the
// server never reports as played is handed back anyway.
constexpr std::int64_t StallGraceUSecs = 1'000'000;

struct TFormat {
    std::uint16_t Tag = 0;
    std::uint16_t Channels = 0;
    std::uint32_t Rate = 0;
    std::uint16_t Bits = 0;
};

TFormat ReadFormatRecord(const void *Record)
{
    const auto *Bytes = static_cast<const std::uint8_t *>(Record);
    TFormat Format;
    std::memcpy(&Format.Tag, Bytes + 0, 2);
    std::memcpy(&Format.Channels, Bytes + 2, 2);
    std::memcpy(&Format.Rate, Bytes + 4, 4);
    std::memcpy(&Format.Bits, Bytes + 14, 2);
    return Format;
}

// Empty when the device can be asked for the format at all.
std::string WhyUnplayable(const TFormat &Format)
{
    if (Format.Tag != PcmTag)
        return "The device plays PCM samples only, not format tag " + std::to_string(Format.Tag) + ".";
    if (Format.Bits != 8 && Format.Bits != 16)
        return "The device plays 8- or 16-bit samples, not " + std::to_string(Format.Bits) + "-bit.";
    if (Format.Channels != 1 && Format.Channels != 2)
        return "The device plays 1 or 2 channels, not " + std::to_string(Format.Channels) + ".";
    if (Format.Rate < LowestRate)
        return "The device cannot play " + std::to_string(Format.Rate) + " Hz; it needs "
            + std::to_string(LowestRate) + " Hz or more.";
    return {};
}

std::string Describe(const TFormat &Format)
{
    return std::to_string(Format.Bits) + "-bit " + (Format.Channels == 1 ? "mono" : "stereo") + " at "
        + std::to_string(Format.Rate) + " Hz";
}

// QAudioSink's destructor runs the event loop (its backend calls
// processEvents), so a sink destroyed inside Stop would deliver notices and
// other events inside Stop. A closed sink is parked instead and destroyed
// from the event loop, or when the application object goes. It is kept for
// a while first: the sound system may still answer a request the sink made
// before it was stopped, on its own thread and with the sink's address, and
// that answer must find the sink alive.
constexpr int ParkMs = 1000;

struct TParkedSink {
    std::unique_ptr<QAudioSink> Sink;
    QElapsedTimer Parked;
};

std::vector<TParkedSink> &ParkedSinks()
{
    static std::vector<TParkedSink> Sinks;
    return Sinks;
}
bool DestructionQueued = false;
bool PostRoutineAdded = false;

void QueueDestruction(int DelayMs);

void DestroyParkedSinks(bool All)
{
    DestructionQueued = false;
    // Destroying one may park another: take the due ones out first.
    std::vector<TParkedSink> Due;
    auto &Parked = ParkedSinks();
    for (auto It = Parked.begin(); It != Parked.end();) {
        if (All || It->Parked.elapsed() >= ParkMs) {
            Due.push_back(std::move(*It));
            It = Parked.erase(It);
        } else {
            ++It;
        }
    }
    Due.clear();
    if (!ParkedSinks().empty() && !All)
        QueueDestruction(ParkMs);
}

void QueueDestruction(int DelayMs)
{
    QCoreApplication *Application = QCoreApplication::instance();
    if (DestructionQueued || Application == nullptr)
        return;
    QTimer::singleShot(DelayMs, Application, [] { DestroyParkedSinks(false); });
    DestructionQueued = true;
}

void AtApplicationEnd()
{
    DestroyParkedSinks(true);
    PostRoutineAdded = false;
}

void Park(std::unique_ptr<QAudioSink> Sink) noexcept
{
    QCoreApplication *Application = QCoreApplication::instance();
    if (Application == nullptr)
        return; // no event loop is left to be re-entered: Sink goes now
    try {
        if (!PostRoutineAdded) {
            qAddPostRoutine(AtApplicationEnd);
            PostRoutineAdded = true;
        }
        TParkedSink Entry{std::move(Sink), {}};
        Entry.Parked.start();
        ParkedSinks().push_back(std::move(Entry));
        QueueDestruction(ParkMs);
    } catch (...) {
        // Out of memory: destroying it now is the lesser harm.
    }
}

// Stops before parking: once stop() has returned, the sink's stream has no
// callback left on the sound system's thread (see TClipBuffer).
struct TParkSink {
    void operator()(QAudioSink *Sink) const noexcept
    {
        Sink->stop();
        Park(std::unique_ptr<QAudioSink>(Sink));
    }
};
using TSinkPtr = std::unique_ptr<QAudioSink, TParkSink>;

// The buffer a sink plays from. Qt 6.4's PulseAudio sink, when the server
// reports that the stream ran dry while its source says it is at its end,
// asks the server to drain the stream and gives that request the sink's own
// address; stopping the sink withdraws its callbacks but not that request,
// whose answer then arrives on the sound system's thread and signals a state
// change on a sink that may already be destroyed. A source that never says
// it is at its end keeps the request from being made: running dry then only
// marks the sink idle, inside a callback that stop() removes under the
// sound system's lock. Whether everything has been handed over is told by
// the position instead.
class TClipBuffer final : public QBuffer {
public:
    bool atEnd() const override { return false; }
    bool AllTaken() const { return pos() >= size(); }
};

class TSinkOutput final : public TWaveOutDevice::TImpl {
public:
    TSinkOutput(const TFormat &Format, QAudioDevice Output, const QAudioFormat &AudioFormat, QObject *Callback,
          std::uint64_t Instance)
        : FOutput(std::move(Output)), FAudioFormat(AudioFormat), FCallback(Callback), FInstance(Instance),
          FFrameBytes(Format.Channels * (Format.Bits / 8)), FRate(Format.Rate)
    {
        FPoll.setTimerType(Qt::PreciseTimer);
        FPoll.setInterval(PollIntervalMs);
        QObject::connect(&FPoll, &QTimer::timeout, &FPoll, [this] { Poll(); });
    }

    ~TSinkOutput() override
    {
        FPoll.stop();
        FSink.reset();
    }

    void Write(TWaveHdr *Header) noexcept override
    {
        if (FHeader != nullptr)
            return;
        FHeader = Header;
        // The server takes whole frames only; a partial last frame is not sound.
        const std::uint32_t Bytes = Header->dwBufferLength - Header->dwBufferLength % FFrameBytes;
        FClipUSecs = std::int64_t(Bytes / FFrameBytes) * 1'000'000 / FRate;
        if (Bytes == 0) {
            Finish();
            return;
        }
        // A sink of its own for every buffer, never a restarted one: Qt 6.4
        // restarts by releasing the former stream's source before it removes
        // that stream's callbacks.
        try {
            FBuffer.close();
            FBytes = QByteArray::fromRawData(reinterpret_cast<const char *>(Header->lpData), Bytes);
            FBuffer.setBuffer(&FBytes);
            FBuffer.open(QIODevice::ReadOnly);
            FSink.reset(new QAudioSink(FOutput, FAudioFormat));
            FSink->start(&FBuffer);
        } catch (...) {
            FSink.reset();
        }
        if (!FSink || FSink->error() != QAudio::NoError || FSink->state() == QAudio::StoppedState) {
            Finish(); // nothing will play: hand the buffer back rather than hold it forever
            return;
        }
        FStarted.start();
        FDrainDeadlineUSecs = -1;
        FPoll.start();
    }

    void Reset() noexcept override
    {
        FPoll.stop();
        FSink.reset();
        if (FHeader != nullptr)
            Finish();
    }

private:
    // The sink reports idle when it has handed the last byte to the server,
    // a good while before that byte is heard: the buffer counts as played
    // when the server's play position has reached its end, and never before
    // the clip's own duration has passed.
    void Poll()
    {
        if (FSink->state() == QAudio::StoppedState) {
            Finish(); // the server went away
            return;
        }
        const std::int64_t Elapsed = FStarted.nsecsElapsed() / 1000;
        const std::int64_t Played = FSink->processedUSecs();
        if (Played >= FClipUSecs && Elapsed >= FClipUSecs) {
            Finish();
            return;
        }
        if (FDrainDeadlineUSecs < 0 && FBuffer.AllTaken())
            FDrainDeadlineUSecs = Elapsed + (FClipUSecs - Played) + StallGraceUSecs;
        if (FDrainDeadlineUSecs >= 0 && Elapsed > FDrainDeadlineUSecs)
            Finish();
    }

    // The sink goes before the notice: the buffer's owner may release the
    // buffer as soon as it has the notice.
    void Finish()
    {
        FPoll.stop();
        FSink.reset();
        TWaveHdr *Header = std::exchange(FHeader, nullptr);
        if (FCallback.isNull())
            return;
        try {
            QCoreApplication::postEvent(FCallback, new TWaveOutDoneEvent(FInstance, Header));
        } catch (...) {
            // No memory for the notice: nothing left to tell it with.
        }
    }

    const QAudioDevice FOutput;
    const QAudioFormat FAudioFormat;
    QPointer<QObject> FCallback;
    const std::uint64_t FInstance;
    const std::uint32_t FFrameBytes;
    const std::uint32_t FRate;
    QByteArray FBytes;
    TClipBuffer FBuffer;
    // Declared after the buffer it reads, so that it goes first.
    TSinkPtr FSink;
    QTimer FPoll;
    QElapsedTimer FStarted;
    TWaveHdr *FHeader = nullptr;
    std::int64_t FClipUSecs = 0;
    std::int64_t FDrainDeadlineUSecs = -1;
};

std::unique_ptr<TWaveOutDevice::TImpl> OpenSink(const void *FormatRecord, QObject *Callback, std::uint64_t Instance,
                                                std::string &ErrorText)
{
    const TFormat Format = ReadFormatRecord(FormatRecord);
    ErrorText = WhyUnplayable(Format);
    if (!ErrorText.empty())
        return nullptr;

    const QAudioDevice Output = QMediaDevices::defaultAudioOutput();
    if (Output.isNull()) {
        ErrorText = "No wave output device is available (no sound server could be reached).";
        return nullptr;
    }
    QAudioFormat AudioFormat;
    AudioFormat.setSampleRate(static_cast<int>(Format.Rate));
    AudioFormat.setChannelCount(Format.Channels);
    AudioFormat.setSampleFormat(Format.Bits == 8 ? QAudioFormat::UInt8 : QAudioFormat::Int16);
    if (!Output.isFormatSupported(AudioFormat)) {
        ErrorText = "The wave output device cannot play " + Describe(Format) + ".";
        return nullptr;
    }

    {
        // Opening a stream now makes a server that refuses it an open failure,
        // not a silent playback later. The trial stream carries no sound and
        // is closed again at once; each buffer gets a stream of its own.
        // It reads from an empty buffer that never reports its end, as
        // every sink here does, so it never asks for a drain (see TClipBuffer).
        static TClipBuffer Nothing;
        if (!Nothing.isOpen())
            Nothing.open(QIODevice::ReadOnly);
        const TSinkPtr Trial(new QAudioSink(Output, AudioFormat));
        Trial->start(&Nothing);
        const QAudio::Error Error = Trial->error();
        if (Error != QAudio::NoError || Trial->state() == QAudio::StoppedState) {
            ErrorText = Error == QAudio::FatalError
                ? "The sound server cannot be reached."
                : "The sound server refused to open an output for " + Describe(Format) + ".";
            return nullptr;
        }
    }
    return std::make_unique<TSinkOutput>(Format, Output, AudioFormat, Callback, Instance);
}

} // namespace

void InstallSystemAudioOutput()
{
    TWaveOutDevice::InstallOpener(OpenSink);
}
