#include "platform/Heap.h"

#include "platform/Exception.h"

#include <cstdlib>

namespace Heap {

std::uint8_t *AllocZero(std::size_t Bytes)
{
    void *Block = std::calloc(Bytes == 0 ? 1 : Bytes, 1);
    if (Block == nullptr)
        throw EOutOfMemory();
    return static_cast<std::uint8_t *>(Block);
}

void Free(void *Block) noexcept
{
    std::free(Block);
}

} // namespace Heap
