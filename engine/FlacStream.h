#pragma once
// A FLAC recording's samples made a stretch at a time, as they are asked
// for, into a block as large as the decoded recording would be, of which
// only the stretches asked for lately hold memory: cutting hours of FLAC
// costs a few tens of MiB and no temporary file. The stream is decoded in
// order once, and checked as a whole (its length, its checksum) on the way;
// a stretch asked for again after it was let go is decoded afresh from a
// seek, which gives the same samples.
#include "engine/FlacCodec.h"
#include "engine/SampleView.h"

#include <QCryptographicHash>

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

class TFlacReader;

// The stream holds more frames than its header states: its length is
// known only once it is decoded whole.
class EFlacLongerThanStated : public EFlacError {
public:
    EFlacLongerThanStated() : EFlacError("the FLAC recording holds more than its header states") {}
};

class TFlacStream final : public TSampleSource {
public:
    // Null when the header leaves the length open, or states one the file
    // cannot hold, or the address space for it is refused: such a stream
    // is read whole instead. Raises EFlacError
    // for a file that is not FLAC read here (Handle: a readable regular
    // file, not closed, read with pread).
    static std::unique_ptr<TFlacStream> Open(int Handle);
    ~TFlacStream();
    TFlacStream(const TFlacStream &) = delete;
    TFlacStream &operator=(const TFlacStream &) = delete;

    const TFlacInfo &Info() const { return FInfo; }
    // The block: Info().Frames frames, of which those last asked for are made.
    const std::uint8_t *Data() const { return FData; }
    // Decodes what is left of the stream in order, letting it go, and
    // checks the whole: raises EFlacError as DecodeFlac refuses such a file
    // (EFlacLongerThanStated when it holds more than its header states).
    void Verify() const;

private:
    TFlacStream(int Handle, const TFlacInfo &Info);
    void Make(std::int64_t First, std::int64_t End) const override;
    // Frames First..End-1 into the block: from the stream in order where
    // it has not come yet, else from a seek.
    void Fill(std::int64_t First, std::int64_t End) const;
    // The stream in order up to frame To at least; frames before Keep are
    // let go as they come.
    void Advance(std::int64_t To, std::int64_t Keep) const;
    void FromSeek(std::int64_t First, std::int64_t End) const;
    // Gives back the memory of the whole pages within frames First..End-1,
    // which read as zeros until they are made again.
    void Drop(std::int64_t First, std::int64_t End) const;

    int FHandle;
    TFlacInfo FInfo;
    std::int64_t FFrameBytes = 0;
    std::uint8_t *FData = nullptr;
    std::int64_t FLength = 0; // bytes mapped
    std::unique_ptr<TFlacReader> FInOrder;
    mutable std::unique_ptr<TFlacReader> FSeeking;
    mutable std::int64_t FDecoded = 0; // frames the in-order reader has made
    mutable bool FEnded = false;       // it has read and checked the whole stream
    mutable std::string FFailure;      // the refusal it met, repeated to every later ask
    mutable QCryptographicHash FHash{QCryptographicHash::Md5};
    mutable std::atomic<std::int64_t> FDone{0};
};
