#include "gui/widgets/tags_editor.h"

#include <QAbstractTextDocumentLayout>
#include <QFontMetricsF>
#include <QPlainTextDocumentLayout>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <algorithm>
#include <cmath>
#include <limits>

#include "gui/widgets/widget_text.h"

namespace tolvane {

namespace {

// A blank where a row may end: no-break spaces keep their words together.
bool IsBreakingBlank(QChar c) {
    return c.isSpace() && c != QChar::Nbsp && c != QChar(0x2007) && c != QChar(0x202F) &&
           c != QChar::LineSeparator;
}

// Where the row that starts at `start` ends: after the blanks that follow the last word that
// still fits in `width`, or after the first word when even that one is wider. A line
// separator (Shift+Enter) always ends a row. `span(a, b)` is the width of the text from a to b.
template <typename Span>
int RowEnd(const QString& text, int start, qreal width, const Span& span) {
    int limit = text.indexOf(QChar::LineSeparator, start);
    limit = limit < 0 ? static_cast<int>(text.size()) : limit + 1;
    int end = -1;
    int word_end = start;
    while (word_end < limit) {
        while (word_end < limit && IsBreakingBlank(text[word_end])) {
            ++word_end;  // blanks at the start of a row belong to it
        }
        while (word_end < limit && !IsBreakingBlank(text[word_end])) {
            ++word_end;
        }
        int next = word_end;
        while (next < limit && IsBreakingBlank(text[next])) {
            ++next;
        }
        if (end >= 0 && span(start, word_end) > width) {
            break;
        }
        end = next;
        word_end = next;
    }
    return std::max(end, start + 1);
}

// The layout of the tags editor's text: rows end only at blanks. Qt's own word wrap also breaks
// after
// "/", "-", "?" and other marks, which would cut an address or a tag in two, and the builds
// read the rows as lines. The rows are laid out by this class every time Qt's plain-text
// layout has laid out a block its own way, so what the box shows is what the builds read.
class WholeWordLayout : public QPlainTextDocumentLayout {
  public:
    explicit WholeWordLayout(QTextDocument* document) : QPlainTextDocumentLayout(document) {}

    // The width the box wraps at, from the viewport.
    void SetWrapWidth(int width) {
        if (width == wrap_width_) {
            return;
        }
        wrap_width_ = width;
        for (QTextBlock block = document()->firstBlock(); block.isValid(); block = block.next()) {
            LayOut(block);
        }
        emit documentSizeChanged(documentSize());
        emit update();
    }

    void EnsureRows(const QTextBlock& block) const {
        if (!HasOwnRows(block)) {
            const_cast<WholeWordLayout*>(this)->LayOut(block);
        }
    }

    QRectF blockBoundingRect(const QTextBlock& block) const override {
        if (block.isValid()) {
            EnsureRows(block);
        }
        return QPlainTextDocumentLayout::blockBoundingRect(block);
    }

    QSizeF documentSize() const override {
        QSizeF size = QPlainTextDocumentLayout::documentSize();
        size.setWidth(Widest());
        return size;
    }

  protected:
    void documentChanged(int from, int removed, int added) override {
        QPlainTextDocumentLayout::documentChanged(from, removed, added);
        const int lines_before = document()->lineCount();
        const qreal widest_before = Widest();
        QTextBlock block = document()->findBlock(from);
        const QTextBlock last = document()->findBlock(std::max(0, from + added));
        for (; block.isValid(); block = block.next()) {
            LayOut(block);
            if (block == last) {
                break;
            }
        }
        if (document()->lineCount() != lines_before || Widest() != widest_before) {
            emit documentSizeChanged(documentSize());
        }
        emit update();
    }

  private:
    static constexpr QTextOption::WrapMode kOwnRowsMode = QTextOption::WrapAnywhere;

    bool HasOwnRows(const QTextBlock& block) const {
        const QTextLayout* layout = block.layout();
        return layout->lineCount() > 0 && layout->textOption().wrapMode() == kOwnRowsMode;
    }

    qreal RowWidth() const {
        const qreal margin = document()->documentMargin();
        return wrap_width_ > 0 ? wrap_width_ - 2 * margin : std::numeric_limits<int>::max();
    }

    void LayOut(const QTextBlock& block) {
        const QString text = block.text();

        // Measured piece by piece, so a long block costs time in proportion to its length.
        const QFontMetricsF metrics(document()->defaultFont());
        const auto span = [&text, &metrics](int from, int to) {
            return metrics.horizontalAdvance(text.mid(from, to - from));
        };

        QTextLayout* layout = block.layout();
        QTextOption option = document()->defaultTextOption();
        option.setWrapMode(kOwnRowsMode);
        layout->setTextOption(option);
        const qreal margin = document()->documentMargin();
        qreal top = 0;
        layout->beginLayout();
        for (QTextLine row = layout->createLine(); row.isValid(); row = layout->createLine()) {
            row.setLeadingIncluded(true);
            const int start = row.textStart();
            FitRow(row, start, std::min<int>(RowEnd(text, start, RowWidth(), span), text.size()),
                   text, span);
            row.setPosition(QPointF(margin, top));
            top += row.height() + (row.leading() < 0 ? std::ceil(row.leading()) : 0);
        }
        layout->endLayout();
        const_cast<QTextBlock&>(block).setLineCount(block.isVisible() ? layout->lineCount() : 0);
    }

    // Lays `row` out to end exactly at `end`: as wide as its text up to its trailing blanks
    // (the blanks hang past the edge). Laid out as a row, the text may come out slightly wider
    // or narrower than measured (kerning, tab stops), so the width is corrected until the row
    // ends where it should.
    template <typename Span>
    static void FitRow(QTextLine& row, int start, int end, const QString& text, const Span& span) {
        int visible_end = end;
        while (visible_end > start + 1 && IsBreakingBlank(text[visible_end - 1])) {
            --visible_end;
        }
        qreal width = span(start, visible_end) + 0.5;
        for (int attempt = 0; attempt < 8; ++attempt) {
            row.setLineWidth(width);
            const int row_end = row.textStart() + row.textLength();
            if (row_end == end) {
                return;
            }
            width += row_end < end ? std::max<qreal>(1, span(row_end, end)) : -0.25;
        }
    }

    // The widest row with the margins: a word wider than the box makes it scroll sideways.
    qreal Widest() const {
        const qreal margin = document()->documentMargin();
        qreal widest = 0;
        for (QTextBlock block = document()->firstBlock(); block.isValid(); block = block.next()) {
            const QTextLayout* layout = block.layout();
            for (int i = 0; i < layout->lineCount(); ++i) {
                widest = std::max(widest, layout->lineAt(i).naturalTextWidth() + 2 * margin);
            }
        }
        return widest;
    }

    int wrap_width_ = 0;
};

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

TagsEditor::TagsEditor(QWidget* parent) : QPlainTextEdit(parent) {
    auto* text = new QTextDocument(this);
    layout_ = new WholeWordLayout(text);
    text->setDocumentLayout(layout_);
    setDocument(text);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setWordWrapMode(QTextOption::WordWrap);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setTabChangesFocus(true);
}

void TagsEditor::resizeEvent(QResizeEvent* event) {
    QPlainTextEdit::resizeEvent(event);
    static_cast<WholeWordLayout*>(layout_)->SetWrapWidth(viewport()->width());
}

void TagsEditor::LayOutForSize() {
    // A box that was never shown has not been told its size yet; the rows it would show need
    // the viewport's width.
    if (testAttribute(Qt::WA_PendingResizeEvent)) {
        setViewportMargins(viewportMargins());  // places the viewport inside the frame now
        static_cast<WholeWordLayout*>(layout_)->SetWrapWidth(viewport()->width());
    }
}

LineList TagsEditor::DisplayedRows() const {
    const_cast<TagsEditor*>(this)->LayOutForSize();
    LineList rows;
    const QTextDocument* text = document();
    QTextBlock last = text->lastBlock();
    if (last.length() <= 1 && last.previous().isValid()) {
        last = last.previous();  // the empty row after a final line break
    } else if (last.length() <= 1) {
        return rows;  // an empty box
    }
    const auto* layout = static_cast<const WholeWordLayout*>(layout_);
    for (QTextBlock block = text->firstBlock(); block.isValid(); block = block.next()) {
        layout->EnsureRows(block);
        const QTextLayout* rows_of_block = block.layout();
        const QString block_text = block.text();
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
