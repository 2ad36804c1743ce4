#pragma once

#include <cstddef>
#include <memory>
#include <string_view>

#include "core/files/byte_sink.h"

namespace tolvane {

// The size of the pieces in which a streamed write passes its bytes on to the file.
inline constexpr std::size_t kWriteChunkBytes = std::size_t{1} << 20;

class BackgroundWriter;

// Passes appended bytes on to an open file in pieces of kWriteChunkBytes. Appends are gathered
// in a piece-sized buffer; a full piece is written by a thread of its own while the next one
// fills, so that making a large text and writing it to disk overlap. A text smaller than a
// piece is written at Finish, without a thread.
//
// Errors: a write that stops short (a full disk) raises "Stream write error", at the next
// piece handed on or at Finish.
class FileSink final : public ByteSink {
  public:
    explicit FileSink(int fd);
    ~FileSink() override;
    FileSink(const FileSink&) = delete;
    FileSink& operator=(const FileSink&) = delete;

    // Writes what is left and waits until everything is written.
    void Finish();

  private:
    void Overflow(std::string_view bytes) override;
    // Hands the full current piece to the writer and goes on in the other buffer.
    void HandOver();
    char* Current() const { return buffers_[current_].get(); }
    std::size_t Gathered() const { return static_cast<std::size_t>(BufferNext() - Current()); }

    int fd_;
    // Two buffers: one filling while the writer writes the other (the second made only when a
    // text needs more than one piece).
    std::unique_ptr<char[]> buffers_[2];
    int current_ = 0;
    std::unique_ptr<BackgroundWriter> writer_;
};

// Raises "Stream write error", the error of a write that stops short.
[[noreturn]] void ThrowWriteError();

// Writes all of `bytes` to `fd`, going on after short writes and interruptions; false when the
// writing stopped short.
bool WriteAll(int fd, std::string_view bytes);

}  // namespace tolvane
