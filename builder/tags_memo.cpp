#include "builder/tags_memo.h"

#include <QAbstractTextDocumentLayout>
#include <QTextBlock>
#include <QTextLayout>

#include "app/widget_text.h"

namespace tolvane {

namespace {

// A row ended by a line separator (Shift+Enter) carries it as its last character; the row's
// text stops before it.
QString RowText(const QString& block_text, const QTextLine& line) {
    QString row = block_text.mid(line.textStart(), line.textLength());
    if (row.endsWith(QChar::LineSeparator)) {
        row.chop(1);
    }
    return row;
}

}  // namespace

TagsMemo::TagsMemo(QWidget* parent) : QPlainTextEdit(parent) {
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setWordWrapMode(QTextOption::WordWrap);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setTabChangesFocus(true);
}

LineList TagsMemo::DisplayedRows() const {
    LineList rows;
    QTextDocument* text = document();
    QTextBlock last = text->lastBlock();
    if (last.length() <= 1 && last.previous().isValid()) {
        last = last.previous();  // the empty row after a final line break
    } else if (last.length() <= 1) {
        return rows;  // an empty box
    }
    QAbstractTextDocumentLayout* layout = text->documentLayout();
    for (QTextBlock block = text->firstBlock(); block.isValid(); block = block.next()) {
        // Blocks that were never shown have no rows until they are laid out.
        layout->blockBoundingRect(block);
        const QTextLayout* rows_of_block = block.layout();
        const QString block_text = block.text();
        if (rows_of_block->lineCount() == 0) {
            rows.PushBack("");
        }
        for (int i = 0; i < rows_of_block->lineCount(); ++i) {
            rows.PushBack(FromWidgetText(RowText(block_text, rows_of_block->lineAt(i))));
        }
        if (block == last) {
            break;
        }
    }
    return rows;
}

}  // namespace tolvane
