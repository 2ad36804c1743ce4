#include "gui/widgets/byte_field.h"

#include "core/files/encodings.h"
#include "gui/widgets/widget_text.h"

namespace tolvane {

ByteField::ByteField(const QString& text, QWidget* parent) : QLineEdit(text, parent) {
    connect(this, &QLineEdit::textEdited, this, [this] { filled_bytes_.reset(); });
}

void ByteField::SetBytes(std::string_view bytes) {
    const bool is_utf8 = IsValidUtf8(bytes);
    setText(ToWidgetText(bytes, is_utf8));
    filled_text_ = text();
    filled_bytes_ = is_utf8 ? std::nullopt : std::optional<std::string>(bytes);
}

std::string ByteField::Bytes() const {
    const QString shown = text();
    if (filled_bytes_ && shown == filled_text_) {
        return *filled_bytes_;
    }
    return FromWidgetText(shown);
}

}  // namespace tolvane
