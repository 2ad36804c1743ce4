#pragma once

#include <QByteArray>
#include <QString>
#include <string>
#include <string_view>

#include "core/files/encodings.h"

namespace tolvane {

// The program keeps every text as bytes; only widgets hold QString. These conversions are the
// only place where bytes meet widget text.

// `bytes` as widget text: UTF-8 when `is_utf8`, else Windows-1252 (every byte a character, so
// text from a list saved on such a system shows its own characters and loses none).
inline QString ToWidgetText(std::string_view bytes, bool is_utf8) {
    if (is_utf8) {
        return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
    }
    QString text(static_cast<qsizetype>(bytes.size()), Qt::Uninitialized);
    QChar* next = text.data();
    for (const char byte : bytes) {
        *next++ = QChar(Windows1252Character(static_cast<unsigned char>(byte)));
    }
    return text;
}

// `bytes` as widget text, read as UTF-8 when they are valid UTF-8, else as Windows-1252.
inline QString ToWidgetText(std::string_view bytes) {
    return ToWidgetText(bytes, IsValidUtf8(bytes));
}

// Widget text as bytes: UTF-8.
inline std::string FromWidgetText(const QString& text) {
    const QByteArray bytes = text.toUtf8();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

}  // namespace tolvane
