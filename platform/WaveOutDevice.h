#pragma once
// The wave output device: plays one buffer of PCM samples, in place, on the
// installed audio output (the system's: see audio/SystemAudioOutput.h), and
// posts a done notice to a callback object when the buffer has
// been played to its end or handed back early by Reset. Everything runs on
// the GUI thread; the notice is an event, so it is handled by the event loop
// after the running handler has returned, never inside a call made here.
#include <QEvent>

#include <cstdint>
#include <memory>
#include <string>

class QObject;

// One buffer handed to the device. The caller owns it; the device reads
// dwBufferLength bytes at lpData in place until it posts the done notice
// for it or is reset, so both must stay unchanged until then.
struct TWaveHdr {
    std::uint8_t *lpData;
    std::uint32_t dwBufferLength;
    std::uint32_t dwBytesRecorded;
    std::uintptr_t dwUser;
    std::uint32_t dwFlags;
    std::uint32_t dwLoops;
    TWaveHdr *lpNext;
    std::uintptr_t reserved;
};

// Posted to the callback object of a device once per written buffer.
class TWaveOutDoneEvent : public QEvent {
public:
    TWaveOutDoneEvent(std::uint64_t Instance, TWaveHdr *Header);
    static QEvent::Type EventType();

    // The value given to Open: tells the receiver which opening of a device
    // the notice belongs to, long after that device has gone.
    const std::uint64_t Instance;
    // Which buffer; its owner may have released it by the time the notice
    // is handled, so compare it, never read through it.
    TWaveHdr *const Header;
};

class TWaveOutDevice {
public:
    // Opens the default output for a wave format record: 18 bytes laid out
    // as the body of a WAV file's "fmt " chunk. Plays PCM with 8-bit unsigned
    // or 16-bit signed samples, 1 or 2 channels, at 100 Hz or more. Returns
    // null and a text that says why when there is no output device, no sound
    // server, or the format cannot be played. Notices for a Callback that
    // has been destroyed are dropped.
    static std::unique_ptr<TWaveOutDevice> Open(const void *FormatRecord, QObject *Callback,
                                                std::uint64_t Instance, std::string &ErrorText);
    // Closes: output stops, nothing more is posted.
    ~TWaveOutDevice();
    TWaveOutDevice(const TWaveOutDevice &) = delete;
    TWaveOutDevice &operator=(const TWaveOutDevice &) = delete;

    // Starts playing the header's buffer, whole frames only. One buffer at a
    // time: a second Write before the first one's notice is ignored. If the
    // output refuses to start, the buffer is handed back at once.
    void Write(TWaveHdr *Header) noexcept;
    // Stops output at once; a buffer still playing is handed back with its
    // done notice, posted.
    void Reset() noexcept;

    // What an open output does with its buffers, as Write and Reset say.
    class TImpl {
    public:
        virtual ~TImpl() = default;
        virtual void Write(TWaveHdr *Header) noexcept = 0;
        virtual void Reset() noexcept = 0;
    };
    // The audio output Open goes to, with Open's contract. A program that
    // plays installs one (InstallSystemAudioOutput); without one Open fails
    // saying so, and a program that never plays links no audio code.
    using TOpener = std::unique_ptr<TImpl> (*)(const void *FormatRecord, QObject *Callback, std::uint64_t Instance,
                                               std::string &ErrorText);
    static void InstallOpener(TOpener Opener);

private:
    explicit TWaveOutDevice(std::unique_ptr<TImpl> Impl);
    std::unique_ptr<TImpl> FImpl;
};
