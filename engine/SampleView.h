#pragma once
// A recording's samples as the commands read them: its format record and
// data block, owned elsewhere (a wave component, a mapped file, or a block
// decoded from a compressed file).
#include "wave/ZuWAVE.h"

#include <cstdint>

// The kind of file a recording came from, which decides the kind of file
// its pieces are written as.
enum class TContainer : std::uint8_t { Wav, Flac };

// Samples made as they are asked for (a compressed recording decoded a
// stretch at a time) rather than all there: only frames asked for through
// Need are in the view's block, and only until the next Need. Reads that
// pass a view with a source ask first; one without is all there.
class TSampleSource {
public:
    // Frames First..End-1 (clamped to the recording) readable in the block
    // until the next call. Raises the recording's error when they cannot be
    // made.
    void Need(std::int64_t First, std::int64_t End) const
    {
        if (First < FReadyFirst || End > FReadyEnd)
            Make(First, End);
    }

protected:
    ~TSampleSource() = default;
    virtual void Make(std::int64_t First, std::int64_t End) const = 0;
    // What is in the block now.
    mutable std::int64_t FReadyFirst = 0;
    mutable std::int64_t FReadyEnd = 0;
};

struct TSampleView {
    // wFormatTag is 1 (integer PCM) or 3 (IEEE float) for every format the
    // engine reads; an extensible header's subformat is folded into it.
    // wBitsPerSample is the container size of one sample.
    TWaveFormatEx Format{};
    const std::uint8_t *Data = nullptr;
    std::int64_t DataSize = 0; // bytes
    // When the data block is a file's bytes, that open file and the offset
    // of the block in it, so pieces can be copied file to file by the
    // kernel. -1 when the block lives only in memory.
    int FileHandle = -1;
    std::int64_t FileOffset = 0;
    // From an extensible header: the bits that carry the signal (0: all of
    // the container) and the speaker positions (0: unspecified). Pieces
    // keep them.
    std::uint16_t ValidBits = 0;
    std::uint32_t ChannelMask = 0;
    TContainer Container = TContainer::Wav;
    // Null when every sample is in the block.
    const TSampleSource *Source = nullptr;
};

// Asks the view's source, if any, for frames First..End-1.
inline void NeedFrames(const TSampleView &View, std::int64_t First, std::int64_t End)
{
    if (View.Source)
        View.Source->Need(First, End);
}

// The view of a wave component's current buffer; valid until the wave's
// block is replaced.
TSampleView SampleViewOf(TZuWave &Wave);
