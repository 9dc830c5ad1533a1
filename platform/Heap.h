#pragma once
// Zero-filled heap blocks for sample data. A failed allocation raises
// EOutOfMemory; the caller never sees a null block for a non-zero size.
#include <cstddef>
#include <cstdint>

namespace Heap {
// Size 0 yields a valid, freeable pointer (never null).
std::uint8_t *AllocZero(std::size_t Bytes);
void Free(void *Block) noexcept;
// Keeps the first Bytes (> 0) bytes of Block and returns the block, which may
// have moved; the original stays valid when it cannot be shrunk.
std::uint8_t *Shrink(std::uint8_t *Block, std::size_t Bytes) noexcept;
} // namespace Heap
