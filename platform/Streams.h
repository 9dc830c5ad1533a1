#pragma once
// Byte streams with exact reads and writes, after the framework the wave
// library was written against: file streams shared by readers, kept by
// a writer to itself; memory
// streams serve tests and the fuzzer.
#include <cstdint>
#include <string>
#include <vector>

class TStream {
public:
    virtual ~TStream() = default;
    // Moves up to Count bytes; returns how many moved (0 at the end).
    virtual std::int64_t Read(void *Buffer, std::int64_t Count) = 0;
    virtual std::int64_t Write(const void *Buffer, std::int64_t Count) = 0;
    virtual std::int64_t Size() = 0;
    virtual std::int64_t Position() = 0;
    virtual void SetPosition(std::int64_t NewPosition) = 0;

    // Exact transfers: EReadError / EWriteError when fewer bytes move.
    void ReadBuffer(void *Buffer, std::int64_t Count);
    void WriteBuffer(const void *Buffer, std::int64_t Count);
};

class TFileStream final : public TStream {
public:
    enum class TMode { OpenRead, Create };
    // OpenRead: an existing file, read only. Create: create or truncate,
    // read and write. OpenRead holds a shared lock while open, Create an
    // exclusive one: readers read one file together, and nobody of this
    // program reads a file while it is written or writes one being read. Only
    // regular files: anything else is refused at once, without waiting.
    // Failures: EFOpenError / EFCreateError naming FileName (UTF-8).
    TFileStream(const std::string &FileName, TMode Mode);
    ~TFileStream() override;
    TFileStream(const TFileStream &) = delete;
    TFileStream &operator=(const TFileStream &) = delete;

    std::int64_t Read(void *Buffer, std::int64_t Count) override;
    std::int64_t Write(const void *Buffer, std::int64_t Count) override;
    std::int64_t Size() override;
    std::int64_t Position() override;
    void SetPosition(std::int64_t NewPosition) override;
    // The open file, for questions about it (which file it is).
    int Handle() const { return FHandle; }

private:
    int FHandle = -1;
};

class TMemoryStream final : public TStream {
public:
    TMemoryStream() = default;
    explicit TMemoryStream(std::vector<std::uint8_t> Bytes) : FBytes(std::move(Bytes)) {}

    std::int64_t Read(void *Buffer, std::int64_t Count) override;
    std::int64_t Write(const void *Buffer, std::int64_t Count) override;
    std::int64_t Size() override { return static_cast<std::int64_t>(FBytes.size()); }
    std::int64_t Position() override { return FPosition; }
    void SetPosition(std::int64_t NewPosition) override;

    const std::vector<std::uint8_t> &Bytes() const { return FBytes; }

private:
    std::vector<std::uint8_t> FBytes;
    std::int64_t FPosition = 0;
};
