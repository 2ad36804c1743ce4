#include "core/files/byte_block.h"

#include <sys/mman.h>

#include <algorithm>

namespace tolvane {

ByteBlock::ByteBlock(std::unique_ptr<char[]> bytes, std::size_t size)
    : bytes_(bytes.release(), std::default_delete<char[]>()), size_(size) {}

ByteBlock ByteBlock::MapReadOnly(int fd, std::size_t size) {
    ByteBlock block;
    if (size == 0) {
        return block;
    }
    void* mapped = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0);
    if (mapped == MAP_FAILED) {
        return block;
    }
    // The bytes are read from the first to the last, once.
    ::madvise(mapped, size, MADV_SEQUENTIAL);
    block.bytes_ = std::shared_ptr<const char>(
        static_cast<const char*>(mapped),
        [size](const char* bytes) { ::munmap(const_cast<char*>(bytes), size); });
    block.size_ = size;
    return block;
}

void ByteBlock::Shorten(std::size_t size) {
    size_ = std::min(size_, size);
}

}  // namespace tolvane
