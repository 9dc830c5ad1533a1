#pragma once
// Zero-filled heap blocks for sample data. A failed allocation raises
// EOutOfMemory; the caller never sees a null block for a non-zero size.
#include <cstddef>
#include <cstdint>

namespace Heap {
// Size 0 yields a valid, freeable pointer (never null).
std::uint8_t *AllocZero(std::size_t Bytes);
void Free(void *Block) noexcept;
} // namespace Heap
