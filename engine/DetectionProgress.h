#pragma once
// Progress and stopping of a long detection: the caller is asked now and
// then how far the scan has come, and may stop it.
#include "platform/Exception.h"

#include <cstdint>
#include <functional>

// Asked about every 65536 level reads with the share of the recording
// the scan has reached (0..1, not always rising: the edge searches look
// back); false stops the detection.
using TDetectionProgress = std::function<bool(double Share)>;

// The detection stopped because its progress said so. The list it was
// building is left part-built: the caller throws it away.
class EDetectionStopped : public Exception {
public:
    EDetectionStopped() : Exception("detection stopped") {}
};

// Counts reads and asks the progress at every ReadsPerAsk-th.
class TDetectionTicks {
public:
    TDetectionTicks(const TDetectionProgress &Progress, std::int64_t Frames) : FProgress(Progress), FFrames(Frames) {}

    void Tick(std::int64_t Position)
    {
        if (++FReads % ReadsPerAsk != 0)
            return;
        if (!FProgress(FFrames > 0 ? double(Position) / double(FFrames) : 0.0))
            throw EDetectionStopped();
    }

private:
    // Often enough that a scan skipping blocks of silence, 64 frames a read,
    // is asked every few MiB; rarely enough to cost nothing.
    static constexpr std::int64_t ReadsPerAsk = std::int64_t(1) << 16;
    const TDetectionProgress &FProgress;
    std::int64_t FFrames;
    std::int64_t FReads = 0;
};
