#pragma once

#include <QAbstractTextDocumentLayout>
#include <QSizeF>

class QRect;
class QTextBlock;
class QTextBlockFormat;
class QTextEdit;
class QTextLine;

// The first paragraph with a line in `area` of the edit's viewport, for the overlays that draw on the lines in view.
QTextBlock firstBlockShown(const QTextEdit& edit, const QRect& area);

// The reading area's layout while the reading aids space its lines. It places the blocks one under another as Qt's
// own layout does (margins, indents, alignment, lists, pictures) but gives every line `spacing` times its height,
// with the text in the middle, so a line of one long word and an empty line are spaced like every other. Only the
// drawing changes: the document, its text, formats and undo history are never touched. Frames (tables) are not
// laid out as such: their blocks come one under another.
class SpacedDocumentLayout : public QAbstractTextDocumentLayout
{
    Q_OBJECT
public:
    SpacedDocumentLayout(QTextDocument* document, qreal spacing);

    qreal spacing() const { return mSpacing; }
    // Lays the whole document out again with another spacing.
    void setSpacing(qreal spacing);

    void draw(QPainter* painter, const PaintContext& context) override;
    int hitTest(const QPointF& point, Qt::HitTestAccuracy accuracy) const override;
    int pageCount() const override { return 1; }
    QSizeF documentSize() const override { return mSize; }
    QRectF frameBoundingRect(QTextFrame* frame) const override;
    QRectF blockBoundingRect(const QTextBlock& block) const override;

protected:
    void documentChanged(int from, int charsRemoved, int charsAdded) override;

private:
    qreal slotHeight(const QTextLine& line, const QTextBlockFormat& format) const;
    qreal linesHeight(const QTextBlock& block) const;
    void layoutBlock(const QTextBlock& block);
    // Places the blocks from `first` on, one under another; past `last`, the last laid out again, a block already
    // in its place leaves the rest where they are. An invalid `last` places every block from `first`.
    void placeBlocks(const QTextBlock& first, const QTextBlock& last);
    QTextBlock blockAt(qreal y) const;
    void drawListMarker(QPainter* painter, const QTextBlock& block) const;

    qreal mSpacing;
    qreal mWidth = -2; // the page width the blocks were laid out for; -1 is no width (no wrapping)
    QSizeF mSize;
};
