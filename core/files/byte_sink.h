#pragma once

#include <string>
#include <string_view>

namespace tolvane {

// Where a text is written as it is made, piece by piece: the file a streamed write fills, or a
// string. A text made this way never needs to exist whole in memory.
class ByteSink {
  public:
    virtual ~ByteSink() = default;
    // Appends `bytes` after everything appended before; may raise the destination's errors.
    virtual void Append(std::string_view bytes) = 0;
};

// Appends to a string the caller owns.
class StringSink final : public ByteSink {
  public:
    explicit StringSink(std::string& text) : text_(text) {}
    void Append(std::string_view bytes) override { text_.append(bytes); }

  private:
    std::string& text_;
};

}  // namespace tolvane
