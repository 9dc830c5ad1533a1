// Playback of a whole wave through the wave output device.
#include "wave/ZuInternalWave.h"

#include "platform/Heap.h"
#include "platform/WaveOutDevice.h"

#include <QCoreApplication>
#include <QEvent>
#include <QtGlobal>

#include <exception>
#include <new>
#include <utility>

namespace {

// Stands in for the hidden window: device notices arrive here as events.
class TZuNotifyWindow final : public QObject {
public:
    explicit TZuNotifyWindow(TZuInternalWAVE *Wave) : FWave(Wave) {}
    bool event(QEvent *Message) override
    {
        return FWave->NotifyWndProc(Message) || QObject::event(Message);
    }

private:
    TZuInternalWAVE *FWave;
};

// Carries an exception into QCoreApplication::notify(), where the
// application's standard exception handling (its override of notify)
// catches it and shows it, as it does for any event handler.
class TRaiseEvent final : public QEvent {
public:
    explicit TRaiseEvent(std::exception_ptr Error) : QEvent(EventType()), Error(std::move(Error)) {}
    static QEvent::Type EventType()
    {
        static const auto Type = static_cast<QEvent::Type>(QEvent::registerEventType());
        return Type;
    }
    const std::exception_ptr Error;
};

class TRaiser final : public QObject {
public:
    bool event(QEvent *Message) override
    {
        if (Message->type() == TRaiseEvent::EventType())
            std::rethrow_exception(static_cast<TRaiseEvent *>(Message)->Error);
        return QObject::event(Message);
    }
};

void HandToApplication(std::exception_ptr Error) noexcept
{
    try {
        if (QCoreApplication::instance() != nullptr) {
            TRaiser Raiser;
            TRaiseEvent Raise(Error);
            QCoreApplication::sendEvent(&Raiser, &Raise);
            return;
        }
        std::rethrow_exception(Error);
    } catch (const std::exception &Unhandled) {
        // The application has no handling of its own: the message is not lost.
        qWarning("%s", Unhandled.what());
    } catch (...) {
        qWarning("OnNotify raised an exception that is not a std::exception");
    }
}

} // namespace

void TZuInternalWAVE::CreateNotifyWindow()
{
    FWindow = new TZuNotifyWindow(this);
}

void TZuInternalWAVE::DestroyNotifyWindow() noexcept
{
    // Notices still queued for the window go with it.
    delete FWindow;
    FWindow = nullptr;
}

void TZuInternalWAVE::Play()
{
    if (FState != 0)
        throw EZuWaveDeviceShared("TZuInternalWave.play:Device is recording or playing waveform now.");

    std::string DeviceText;
    const std::uint64_t Generation = ++FPlayGeneration;
    std::unique_ptr<TWaveOutDevice> Device = TWaveOutDevice::Open(&FFormat, FWindow, Generation, DeviceText);
    if (!Device)
        throw EZuWaveDeviceOpen("TZuInternalWave.Play:" + DeviceText);
    FWaveOut = Device.release();
    FState = 1;

    // On failure the device stays open and the wave playing until Stop.
    try {
        FHeader = new (Heap::AllocZero(sizeof(TWaveHdr))) TWaveHdr{};
    } catch (const EOutOfMemory &) {
        throw EZuWaveMemAlloc("TZuInternalWave.Play:Unable to allocate WAVEHDR.");
    } catch (const std::bad_alloc &) {
        throw EZuWaveMemAlloc("TZuInternalWave.Play:Unable to allocate WAVEHDR.");
    }
    FHeader->lpData = FData;
    FHeader->dwBufferLength = static_cast<std::uint32_t>(FDataSize);
    FHeader->dwFlags = 0;
    FHeader->dwLoops = 0;
    FWaveOut->Write(FHeader);
}

void TZuInternalWAVE::Stop() noexcept
{
    if (FState != 1)
        return;
    FState = 0;
    FWaveOut->Reset();
    Heap::Free(std::exchange(FHeader, nullptr));
    std::unique_ptr<TWaveOutDevice> Closing(std::exchange(FWaveOut, nullptr));
}

bool TZuInternalWAVE::NotifyWndProc(QEvent *Message)
{
    if (Message->type() != TWaveOutDoneEvent::EventType())
        return false;
    WaveDone(Message);
    if (FOnNotify) {
        // A copy: the handler may replace the handler, or even destroy this
        // wave, so nothing of it is touched after the call.
        const TNotifyEvent Handler = FOnNotify;
        try {
            Handler(this);
        } catch (...) {
            HandToApplication(std::current_exception());
        }
    }
    return true;
}

void TZuInternalWAVE::WaveDone(QEvent *Message)
{
    // A notice still queued from an earlier, stopped playback must not end
    // the one now running: "play this trim area" twice would end in silence.
    if (static_cast<const TWaveOutDoneEvent *>(Message)->Instance != FPlayGeneration)
        return;
    if (FState == 1)
        Stop();
    FState = 0;
}
