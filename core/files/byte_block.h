#pragma once

#include <cstddef>
#include <memory>
#include <string_view>

namespace tolvane {

// A block of bytes that is filled once and then only read: a file's bytes read into memory that
// was never zero-filled first, or the file itself mapped read-only. Either way the bytes are the
// file's with no copy in between, which at a million lines is the larger part of a read's cost.
// Copies share the bytes: nothing ever writes to them after the block is made.
class ByteBlock {
  public:
    ByteBlock() = default;
    // Takes over the first `size` bytes of `bytes`, which the caller has filled.
    ByteBlock(std::unique_ptr<char[]> bytes, std::size_t size);
    // The first `size` bytes of the file open as `fd`, mapped read-only; an empty block when the
    // system cannot map it (the caller then reads the file instead).
    static ByteBlock MapReadOnly(int fd, std::size_t size);

    const char* data() const { return bytes_.get(); }
    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    std::string_view View() const { return {bytes_.get(), size_}; }
    // Keeps only the first `size` bytes in view; the memory itself goes with the block.
    void Shorten(std::size_t size);

  private:
    std::shared_ptr<const char> bytes_;
    std::size_t size_ = 0;
};

}  // namespace tolvane
