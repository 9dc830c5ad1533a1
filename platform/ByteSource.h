#pragma once
// The bytes a container is parsed from, read by offset: an image held in
// memory or mapped in place, or a stream read through a small window so
// that walking chunk headers never reads the bodies between them.
#include <cstdint>
#include <vector>

class TStream;

// The unsigned number in Size (at most 8) little-endian bytes at At.
std::uint64_t LittleEndian(const std::uint8_t *At, int Size);

class TByteSource {
public:
    virtual ~TByteSource() = default;
    // The image's length in bytes; nothing at or past it is read.
    virtual std::int64_t Length() const = 0;
    // Copies up to Count bytes from Offset; fewer only where the image ends.
    virtual std::int64_t ReadAt(std::int64_t Offset, void *Buffer, std::int64_t Count) = 0;
    // The little-endian u32 at Offset; false when it does not lie in the image.
    bool ReadU32(std::int64_t Offset, std::uint32_t &Value);
};

// An image owned by the caller, which must outlive this object.
class TMemoryBytes final : public TByteSource {
public:
    TMemoryBytes(const std::uint8_t *Image, std::int64_t Length)
        : FImage(Image), FLength(Image ? Length : 0) {}
    std::int64_t Length() const override { return FLength; }
    std::int64_t ReadAt(std::int64_t Offset, void *Buffer, std::int64_t Count) override;

private:
    const std::uint8_t *FImage;
    std::int64_t FLength;
};

// The stream's Length bytes from its position when this object is made.
// A stream that turns out to hold fewer raises EReadError, as reading the
// image whole would. Stream stays owned by the caller.
class TStreamBytes final : public TByteSource {
public:
    TStreamBytes(TStream &Stream, std::int64_t Length);
    std::int64_t Length() const override { return FLength; }
    std::int64_t ReadAt(std::int64_t Offset, void *Buffer, std::int64_t Count) override;

private:
    TStream &FStream;
    std::int64_t FOrigin;
    std::int64_t FLength;
    // Image bytes from FWindowStart, read ahead for the next chunk headers.
    std::vector<std::uint8_t> FWindow;
    std::int64_t FWindowStart = 0;
};
