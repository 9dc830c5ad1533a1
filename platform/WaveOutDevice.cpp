#include "platform/WaveOutDevice.h"

#include <atomic>
#include <utility>

namespace {

std::atomic<TWaveOutDevice::TOpener> Installed = nullptr;

} // namespace

TWaveOutDoneEvent::TWaveOutDoneEvent(std::uint64_t Instance, TWaveHdr *Header)
    : QEvent(EventType()), Instance(Instance), Header(Header)
{
}

QEvent::Type TWaveOutDoneEvent::EventType()
{
    static const auto Type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return Type;
}

void TWaveOutDevice::InstallOpener(TOpener Opener)
{
    Installed = Opener;
}

std::unique_ptr<TWaveOutDevice> TWaveOutDevice::Open(const void *FormatRecord, QObject *Callback,
                                                     std::uint64_t Instance, std::string &ErrorText)
{
    const TOpener Opener = Installed;
    if (Opener == nullptr) {
        ErrorText = "No wave output device is available (this program has no audio output).";
        return nullptr;
    }
    std::unique_ptr<TImpl> Impl = Opener(FormatRecord, Callback, Instance, ErrorText);
    if (!Impl)
        return nullptr;
    return std::unique_ptr<TWaveOutDevice>(new TWaveOutDevice(std::move(Impl)));
}

TWaveOutDevice::TWaveOutDevice(std::unique_ptr<TImpl> Impl) : FImpl(std::move(Impl)) {}

TWaveOutDevice::~TWaveOutDevice() = default;

void TWaveOutDevice::Write(TWaveHdr *Header) noexcept
{
    FImpl->Write(Header);
}

void TWaveOutDevice::Reset() noexcept
{
    FImpl->Reset();
}
