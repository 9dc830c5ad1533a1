#pragma once
// An open file read through pread as a stream, so the container parser can
// walk a file without a stream of its own and without moving the
// descriptor's offset. Read only; the descriptor is not owned. A failing
// read raises ERecordingUnreadable with the system's reason.
#include "platform/Streams.h"

#include <cstdint>

class TDescriptorStream final : public TStream {
public:
    TDescriptorStream(int Handle, std::int64_t Size) : FHandle(Handle), FSize(Size) {}
    std::int64_t Read(void *Buffer, std::int64_t Count) override;
    std::int64_t Write(const void *, std::int64_t) override { return 0; }
    std::int64_t Size() override { return FSize; }
    std::int64_t Position() override { return FPosition; }
    void SetPosition(std::int64_t NewPosition) override { FPosition = NewPosition; }

private:
    int FHandle;
    std::int64_t FSize;
    std::int64_t FPosition = 0;
};
