#pragma once

#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>

namespace tolvane {

// Where a text is written as it is made, piece by piece: the file a streamed write fills, or a
// string. A text made this way never needs to exist whole in memory.
//
// A script is a few million small pieces, so a sink may offer a buffer: a piece that fits is
// copied there at once, without a call; only a piece that does not fit goes to Overflow.
class ByteSink {
  public:
    virtual ~ByteSink() = default;

    // Appends `bytes` after everything appended before; may raise the destination's errors.
    void Append(std::string_view bytes) {
        if (bytes.size() <= BufferRoom()) {
            if (!bytes.empty()) {
                std::memcpy(next_, bytes.data(), bytes.size());
                next_ += bytes.size();
            }
            return;
        }
        Overflow(bytes);
    }

  protected:
    // Takes `bytes`, which are more than the buffer's room: passes the buffer on and starts
    // it anew, or takes the bytes some other way.
    virtual void Overflow(std::string_view bytes) = 0;

    // The room the next appends are copied into; none at first, so that every append goes to
    // Overflow.
    void SetBuffer(char* next, char* end) {
        next_ = next;
        end_ = end;
    }
    char* BufferNext() const { return next_; }
    std::size_t BufferRoom() const { return static_cast<std::size_t>(end_ - next_); }

  private:
    char* next_ = nullptr;
    char* end_ = nullptr;
};

// Appends to a string the caller owns.
class StringSink final : public ByteSink {
  public:
    explicit StringSink(std::string& text) : text_(text) {}

  private:
    void Overflow(std::string_view bytes) override { text_.append(bytes); }

    std::string& text_;
};

}  // namespace tolvane
