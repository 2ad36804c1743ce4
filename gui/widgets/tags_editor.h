#pragma once

#include <QPlainTextEdit>

#include "core/files/line_list.h"

namespace tolvane {

// The box of additional tags. It wraps long lines at its width, but only where a word
// ends: a word wider than the box keeps its own row whole and the box scrolls sideways for it,
// so a long address or tag is never split by the build, which reads the rows as displayed.
class TagsEditor : public QPlainTextEdit {
  public:
    explicit TagsEditor(QWidget* parent = nullptr);

    // One line per displayed row, in order, as bytes. The empty row after a final line break
    // is no line, so an empty box has no lines.
    LineList DisplayedRows() const;

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    void LayOutForSize();

    QPlainTextDocumentLayout* layout_;  // the rows' own layout, owned by the document
};

}  // namespace tolvane
