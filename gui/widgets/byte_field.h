#pragma once

#include <QLineEdit>
#include <QString>
#include <optional>
#include <string>
#include <string_view>

namespace tolvane {

// A one-line field for a text the program keeps as bytes (an item's link or caption). It shows
// the bytes as ToWidgetText reads them and gives back exactly those bytes while its text is
// unchanged, so that a text the user did not edit is written back as it was, in whatever
// encoding; once the user edits it (or the program gives it another text), its text comes back
// as UTF-8.
class ByteField : public QLineEdit {
    Q_OBJECT

  public:
    ByteField(const QString& text, QWidget* parent);

    void SetBytes(std::string_view bytes);
    std::string Bytes() const;

  private:
    // The text as the fill left it, and the bytes of the fill when they are not UTF-8 (UTF-8
    // bytes are the text's own).
    QString filled_text_;
    std::optional<std::string> filled_bytes_;
};

}  // namespace tolvane
