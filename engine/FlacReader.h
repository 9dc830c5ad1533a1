#pragma once
// One libFLAC decoder over a descriptor read with pread (so the caller's
// offset is untouched and several readers may share it), writing the frames
// it decodes as the little-endian interleaved PCM that WAV files hold into
// another descriptor. It reads to the stream's real end, whatever length the
// header states, and stops at the first sign of damage.
#include "engine/FlacCodec.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <vector>

#include <FLAC/stream_decoder.h>

class QCryptographicHash;

struct TFlacHeader {
    TFlacInfo Info;                         // Frames -1 when the header leaves the length open
    std::array<std::uint8_t, 16> Md5 = {}; // all zero when the encoder recorded none
};

// What one Decode did. Got frames were written, all sound.
struct TFlacRun {
    std::int64_t Got = 0;
    bool SeekFailed = false;
    bool Damaged = false; // a damaged frame, or one cut short, follows the Got frames
    int StoreErrno = 0;   // of a write to the output that failed
    bool Stopped = false; // the stop asked for came
};

// The refusal of a stream whose frame after the first Got is damaged.
[[noreturn]] void FlacDecodesOnlyTo(std::int64_t Got, std::uint32_t Rate);
// Refuses a stream that decoded whole to Got frames but holds fewer than its
// header states, or whose samples (taken by Hash) miss its checksum.
void CheckFlacEnd(const TFlacHeader &Header, std::int64_t Got, QCryptographicHash &Hash);
// Whether the header's length is one a file of this size can hold.
bool FlacLengthPlausible(int Handle, const TFlacInfo &Info);

class TFlacReader {
public:
    // Reads the stream's header. Raises EFlacError when the file is not FLAC
    // read here (8, 16 or 24-bit samples) or its header is damaged.
    explicit TFlacReader(int Handle);
    ~TFlacReader();
    TFlacReader(const TFlacReader &) = delete;
    TFlacReader &operator=(const TFlacReader &) = delete;

    const TFlacHeader &Header() const { return FHeader; }
    // Asked now and then while decoding (in the decoding thread): true
    // ends the run, Stopped.
    void StopWhen(std::function<bool()> Asked) { FStopAsked = std::move(Asked); }

    // Decodes from frame From (0, or where the header's length allows a seek
    // to) up to Limit frames (to the end when negative) and writes them to
    // Out at From's place; a limited run also checks the frame that holds
    // frame From + Limit, so that a run seeking there may trust it. Hash, when given, takes the samples in the form
    // the stream's checksum covers; Done counts the frames; Report is called
    // now and then in this thread.
    TFlacRun Decode(int Out, std::int64_t From, std::int64_t Limit, QCryptographicHash *Hash,
                    std::atomic<std::int64_t> &Done, const std::function<void()> &Report = {});
    // The same into memory: Block holds Capacity bytes, and what lies
    // beyond them is decoded and counted but not kept.
    TFlacRun Decode(std::uint8_t *Block, std::int64_t Capacity, std::int64_t From, std::int64_t Limit,
                    QCryptographicHash *Hash, std::atomic<std::int64_t> &Done);

private:
    friend struct TFlacCallbacks;
    TFlacRun Run(std::int64_t From, std::int64_t Limit, QCryptographicHash *Hash, std::atomic<std::int64_t> &Done,
                 const std::function<void()> &Report);
    FLAC__StreamDecoderWriteStatus Take(const FLAC__Frame &Frame, const FLAC__int32 *const Buffer[]);
    bool Flush();
    // After a loss of sync that no frame followed: were the last bytes a
    // frame cut short, or only something appended after the last frame?
    bool CutFrameAt(std::uint64_t Offset) const;

    int FHandle;
    std::uint64_t FOffset = 0; // where libFLAC reads next
    FLAC__StreamDecoder *FDecoder = nullptr;
    TFlacHeader FHeader;
    bool FHeaderSeen = false;
    bool FHeaderDamaged = false;
    // The run under way.
    int FOut = -1;
    std::uint8_t *FBlock = nullptr; // instead of FOut
    std::int64_t FCapacity = 0;
    std::int64_t FOutAt = 0; // byte offset in FOut of the first staged byte
    std::int64_t FLimit = -1;
    QCryptographicHash *FHash = nullptr;
    std::atomic<std::int64_t> *FDone = nullptr;
    const std::function<void()> *FReport = nullptr;
    std::function<bool()> FStopAsked;
    std::vector<std::uint8_t> FStaged;
    TFlacRun FRun;
    bool FLostSync = false;
    bool FStop = false;
    std::uint64_t FLastEnd = 0; // the byte after the last frame taken
};
