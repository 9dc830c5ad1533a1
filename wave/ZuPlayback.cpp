// Playback of a whole wave through the wave output device.
#include "ZuInternalWave.h"

#include <QEvent>

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

} // namespace

void TZuInternalWAVE::CreateNotifyWindow()
{
    FWindow = new TZuNotifyWindow(this);
}

void TZuInternalWAVE::DestroyNotifyWindow() noexcept
{
    delete FWindow;
    FWindow = nullptr;
}

void TZuInternalWAVE::Play()
{
    if (FState != 0)
        throw EZuWaveDeviceShared("TZuInternalWave.play:Device is recording or playing waveform now.");
    throw EZuWaveDeviceOpen("TZuInternalWave.Play:no wave output device is available");
}

void TZuInternalWAVE::Stop() noexcept
{
    FState = 0;
}

bool TZuInternalWAVE::NotifyWndProc(QEvent *)
{
    return false;
}

void TZuInternalWAVE::WaveDone(QEvent *)
{
    if (FState == 1)
        Stop();
    FState = 0;
}
