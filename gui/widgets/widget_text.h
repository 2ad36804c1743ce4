#pragma once

#include <QByteArray>
#include <QString>
#include <string>
#include <string_view>

namespace tolvane {

// The program keeps every text as bytes in the locale's encoding; only widgets hold QString.
// These two conversions are the only place where bytes meet widget text.
inline QString ToWidgetText(std::string_view bytes) {
    return QString::fromLocal8Bit(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

inline std::string FromWidgetText(const QString& text) {
    const QByteArray bytes = text.toLocal8Bit();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

}  // namespace tolvane
